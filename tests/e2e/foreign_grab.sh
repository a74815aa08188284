#!/usr/bin/env bash
# Another client holds the keyboard and pointer grabs when the full-screen saver starts (an open
# menu, a virtual-machine viewer): a key still ends the saver and never reaches the grabbing
# client behind it, and a button held down or a mouse move still ends it. Previews grab nothing.
source "$(dirname "$0")/lib.sh"
GRAB="${5:?usage: $0 saver send_close swap_count map_popup grab_input}"
start_xvfb 320x240

start_grabber() {
  "$GRAB" hold >"$WORK/grab.out" 2>"$WORK/grab.err" &
  GRAB_PID=$!
  PIDS+=("$GRAB_PID")
  poll 30 grep -q grabbed "$WORK/grab.out" || fail "the grabbing client did not grab: $(cat "$WORK/grab.err")"
}

start_grabber
start_saver /s
wait_for_full_screen
# The saver takes the keyboard devices from under the grab (XInput 2 shows them floating): a key
# typed before it has would rightly go to the grabbing client. Only a wait: the key decides.
poll 10 "$GRAB" taken || true
xdotool key space
expect_exit 0
! grep -q key "$WORK/grab.out" || fail "the key typed at the saver reached the grabbing client"

# The pointer is read, not heard: a button held down, or travel, ends the saver.
for action in "mousedown 1" "mousemove_relative -- 30 0"; do
  kill "$GRAB_PID"
  start_grabber
  start_saver /s
  wait_for_full_screen
  read -r -a words <<<"$action"
  xdotool "${words[@]}"
  expect_exit 0
  if [ "$action" = "mousedown 1" ]; then xdotool mouseup 1; fi
done
kill "$GRAB_PID"

# Only the full-screen saver grabs: another client can still grab while a preview draws.
preview_mapped() {
  local id
  id=$(xwininfo -root -tree | grep '"Preview": ("smokedrift"' | awk '{print $1}' | head -n1)
  [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable'
}
start_host_window 100x80
for mode in "--window" "-root" "/p $HOST_ID"; do
  read -r -a words <<<"$mode"
  start_saver "${words[@]}"
  poll 30 preview_mapped || fail "$mode: no preview window"
  start_grabber
  kill "$GRAB_PID"
  kill -TERM "$SAVER_PID"
  expect_exit 0
done
echo "foreign grab: a key, a button and a move end the saver; the key stays with it; previews grab nothing"
