#!/usr/bin/env bash
# An output added while /s runs gets covered with smoke too; when the compositor dies the saver
# ends with 255 and one line saying so.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480
start_saver /s
wait_for_smoke HEADLESS-1 640x480

swaymsg create_output >/dev/null || fail "sway made no second output"
place_output HEADLESS-2 480x320 640 0
wait_for_smoke HEADLESS-2 480x320
still_running || fail "the saver ended when an output came: $(cat "$WORK/saver.err")"

kill_sway
expect_exit 255
one_line_on_stderr
echo "outputs change: ok"
