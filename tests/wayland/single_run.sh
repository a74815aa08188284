#!/usr/bin/env bash
# A second /s while one runs ends at once with 0 and leaves the first alone; SIGTERM ends the
# first with 0 and takes its surfaces with it.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480

start_saver /s
wait_for_smoke HEADLESS-1 640x480
first=$SAVER_PID
start_saver /s
expect_exit 0
SAVER_PID=$first
still_running || fail "the second /s ended the first"
output_draws_between_bands HEADLESS-1 640x480 || fail "the first saver stopped drawing"
kill -TERM "$SAVER_PID"
expect_exit 0
poll 10 middle_row_black HEADLESS-1 640x480 || fail "a surface stayed after SIGTERM"
echo "single run: ok"
