#!/usr/bin/env bash
# A second /s raises the first one and exits 0; the first keeps running.
source "$(dirname "$0")/lib.sh"
start_xvfb 320x240
start_saver /s
first=$SAVER_PID
wait_for_full_screen
start_saver /s
expect_exit 0
SAVER_PID=$first
still_running || fail "the first saver ended"
[ "$(xwininfo -root -tree | grep -c '"Screen Saver"')" -eq 1 ] || fail "more than one saver window"
xdotool key a
expect_exit 0
