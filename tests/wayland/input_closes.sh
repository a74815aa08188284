#!/usr/bin/env bash
# With the pointer on the saver's surface, a key, a click and a pointer travel of 5 pixels each
# end /s with 0; a travel of 4 does not.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480
start_pointer
# Before the saver starts, so that its surface sees the pointer arrive at once; off the middle row,
# which tells whether the output is black (sway draws the cursor into screenshots).
cursor_to 320 300

# The output shows the last saver's picture until sway draws it again: only a black output after
# a run says that the smoke seen next is the new saver's.
run_until() {
  echo "$*"
  poll 10 middle_row_black HEADLESS-1 640x480 || fail "the last saver's surface stayed"
  start_saver /s
  wait_for_smoke HEADLESS-1 640x480
  "$@"
  expect_exit 0
}

run_until press_key Escape
run_until pointer button 1
run_until pointer button 3
run_until pointer move 5 0

poll 10 middle_row_black HEADLESS-1 640x480 || fail "the last saver's surface stayed"
start_saver /s
wait_for_smoke HEADLESS-1 640x480
pointer move 4 0
# Nothing to poll for when the answer is "nothing happens": give the saver time to react.
sleep 1
still_running || fail "a travel of 4 pixels ended the saver"
press_key Escape
expect_exit 0
echo "input closes: ok"
