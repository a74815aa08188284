#!/usr/bin/env bash
# /s covers the screen and draws smoke between black bands (which needs the alpha-channel pixel
# format); a key, a click, the wheel, a side button and mouse travel above 4 pixels each end it with code 0; 4 pixels do not.
source "$(dirname "$0")/lib.sh"
start_xvfb

run() {  # run NAME: starts a saver with the pointer at (100, 100) and waits for its picture
  set_cursor 100 100
  start_wine "$1" "$SCR" /s
  wait_saver_window
  wait_for_smoke
}

run travel
size=$(xwininfo -name "Screen Saver" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$size" = "${WIDTH}x${HEIGHT}" ] || fail "the saver window is $size, not the whole ${WIDTH}x${HEIGHT} screen"
xdotool mousemove 103 101   # travel 4: tolerated
sleep 3                     # an observation window, not a timing assertion
finished travel && fail "a travel of 4 pixels closed the saver"
xdotool mousemove 104 101   # travel 5 against the same reference
[ "$(wait_exit travel 30)" = 0 ] || fail "travel of 5 pixels: expected exit 0, got $(wait_exit travel 1)"

run key
xdotool key space
[ "$(wait_exit key 30)" = 0 ] || fail "a key: expected exit 0, got $(wait_exit key 1)"

run click
xdotool click 1
[ "$(wait_exit click 30)" = 0 ] || fail "a click: expected exit 0, got $(wait_exit click 1)"

# Wine turns X button 4 into WM_MOUSEWHEEL and button 8 into WM_XBUTTONDOWN.
for button in 4 8; do
  run "button$button"
  xdotool click "$button"
  [ "$(wait_exit "button$button" 30)" = 0 ] || fail "button $button: expected exit 0, got $(wait_exit "button$button" 1)"
done

echo "full screen under Wine: ok"
