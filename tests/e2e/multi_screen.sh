#!/usr/bin/env bash
# A display with two X screens: /s covers both (the smoke on the default screen, black on the
# other) and input with the pointer on the other screen ends it with 0 as on the first.
source "$(dirname "$0")/lib.sh"
# White roots, so that an uncovered screen shows in a screenshot.
start_xvfb 320x240 -screen 1 320x240x24 -wr

second_screen_black() {
  DISPLAY="$DISPLAY.1" screenshot "$WORK/second.png" &&
    [ "$(convert "$WORK/second.png" -format '%[fx:maxima.intensity]' info:)" = 0 ]
}

for action in "click 1" "click 4" "mousemove_relative -- 5 0" "key a"; do
  xdotool mousemove --screen 1 160 120
  start_saver /s
  wait_for_full_screen
  poll 30 draws_between_bands 320 240 || fail "no smoke on the default screen"
  poll 30 second_screen_black || fail "the second screen is not covered"
  echo "$action with the pointer on the second screen"
  xdotool $action
  expect_exit 0
done
[ ! -s "$WORK/saver.err" ] || fail "output: $(cat "$WORK/saver.err")"
echo "multi screen: ok"
