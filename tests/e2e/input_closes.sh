#!/usr/bin/env bash
# A key, a click of any button (the wheel and the side buttons too), a mouse move of 5 pixels and the keyboard focus going to another window each
# end the full-screen saver with 0; a move of 2 pixels does not.
source "$(dirname "$0")/lib.sh"
start_xvfb 320x240

run_until() {
  start_saver /s
  wait_for_full_screen
  "$@"
  expect_exit 0
}

run_until xdotool key space
run_until xdotool click 1
run_until xdotool click 3
# X buttons 4-7 are the wheel's two axes, 8 and 9 the side buttons.
for button in 4 5 6 7 8 9; do run_until xdotool click "$button"; done
run_until xdotool mousemove_relative -- 5 0

start_host_window 100x80
# The focus must leave the saver: wait until it has it, or the saver would take it back after.
focus_elsewhere() {
  poll 30 saver_has_focus || fail "the saver never took the keyboard focus"
  xdotool windowfocus "$HOST_ID"
}
run_until focus_elsewhere

start_saver /s
wait_for_full_screen
xdotool mousemove_relative -- 2 0
# Nothing to poll for when the answer is "nothing happens": give the saver time to react.
sleep 1
still_running || fail "a move of 2 pixels ended the saver"
xdotool key Escape
expect_exit 0
