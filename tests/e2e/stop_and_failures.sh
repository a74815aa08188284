#!/usr/bin/env bash
# SIGTERM and SIGINT end the saver cleanly with 0; without a display a mode fails with -1 and one
# line on stderr; an unknown switch or a window that does not exist fail with -1.
source "$(dirname "$0")/lib.sh"
start_xvfb 320x240

start_saver /s
wait_for_full_screen
kill -TERM "$SAVER_PID"
expect_exit 0

start_saver /s
wait_for_full_screen
kill -INT "$SAVER_PID"
expect_exit 0

start_saver /x
expect_exit 255
start_saver /p 123456789
expect_exit 255
[ ! -s "$WORK/saver.err" ] || fail "a failed mode printed: $(cat "$WORK/saver.err")"

DISPLAY=:none start_saver /s
expect_exit 255
[ "$(wc -l < "$WORK/saver.err")" -eq 1 ] && grep -q '^X11: cannot open display' "$WORK/saver.err" ||
  fail "expected one line about the display, got: $(cat "$WORK/saver.err")"
