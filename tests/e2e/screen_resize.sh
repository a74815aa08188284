#!/usr/bin/env bash
# A screen that changes size (RandR, as `xrandr -s` does): the full-screen saver, and -root
# drawing into the root window, follow it: the window takes the new size, covers all of it and
# draws at that size. Xvfb cannot change its size: this runs Xorg with the dummy video driver.
source "$(dirname "$0")/lib.sh"
start_xorg '
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 16384
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "640x480" 25.18 640 656 752 800 480 490 492 525
  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "640x480" "800x600"
    Virtual 800 600
  EndSubSection
EndSection'

# covers TITLE GEOMETRY: the saver's window of that title, directly under the root, is that size.
covers() { xwininfo -root -tree | grep "\"$1\": (\"smokedrift\" \"WindowsScreenSaverClass\")" | grep -q " $2 "; }

for row in "/s Screen Saver" "-root Preview"; do
  read -r mode title <<<"$row"
  xrandr -s 640x480
  start_saver "$mode"
  poll 30 draws_between_bands 640 480 || fail "$mode: no smoke at 640x480: $(cat "$WORK/saver.err")"
  xrandr -s 800x600
  poll 30 covers "$title" 800x600+0+0 ||
    fail "$mode: the window did not take the screen's new size: $(xwininfo -root -tree | grep '"smokedrift"')"
  MEASURED=""
  poll 10 fills 800 600 640 ||
    fail "$mode: the picture does not fill the new size (top, bottom, middle, right of the old width: $MEASURED)"
  kill -TERM "$SAVER_PID"
  expect_exit 0
  [ ! -s "$WORK/saver.err" ] || fail "$mode: output: $(cat "$WORK/saver.err")"
done
echo "screen resize: ok"
