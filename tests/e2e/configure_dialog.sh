#!/usr/bin/env bash
# /c shows the dialog with the keyboard focus: Enter (OK) gives 1, Escape, Cancel, the window
# manager's close request and SIGTERM give 0.
source "$(dirname "$0")/lib.sh"
send_close=${2:?usage: $0 path/to/smokedrift path/to/send_close}
start_xvfb 320x240

dialog_shown() { xdotool search --class '^SmokedriftSettings$'; }
dialog_focused() {
  local id
  id=$(dialog_shown | head -n1)
  [ -n "$id" ] && [ "$(xdotool getwindowfocus)" = "$id" ]
}

start_saver /c
poll 30 dialog_focused || fail "the dialog did not open with the focus"
xdotool key Return
expect_exit 1

start_saver /c
poll 30 dialog_focused || fail "the dialog did not open with the focus"
xdotool key Escape
expect_exit 0

start_saver /c
poll 30 dialog_focused || fail "the dialog did not open with the focus"
xdotool mousemove --window "$(dialog_shown | head -n1)" 266 93 click 1
expect_exit 0

start_saver /c
poll 30 dialog_focused || fail "the dialog did not open with the focus"
"$send_close" "$(dialog_shown | head -n1)" || fail "could not send the close request"
expect_exit 0

start_saver /c
poll 30 dialog_focused || fail "the dialog did not open with the focus"
kill -TERM "$SAVER_PID"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output from the dialog: $(cat "$WORK/saver.err")"
