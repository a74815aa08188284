#!/usr/bin/env bash
# --window (xscreensaver's flag for a hack run on its own) opens a 640x480 window that keeps its
# size and draws the smoke; the window manager's close button, or another client destroying the
# window, ends the run with 0 and no output.
source "$(dirname "$0")/lib.sh"
send_close=${2:?usage: $0 path/to/smokedrift path/to/send_close}
start_xvfb 800x600

own_window() { xdotool search --name '^smokedrift$' | head -n1; }
shown() {
  HOST_ID=$(own_window)
  [ -n "$HOST_ID" ] && preview_shown
}

start_saver --window --fps --delay 20000
poll 30 shown || fail "no window of its own with the preview inside: $(cat "$WORK/saver.err")"
geometry=$(xwininfo -id "$HOST_ID")
grep -q 'Width: 640' <<<"$geometry" && grep -q 'Height: 480' <<<"$geometry" || fail "not 640x480: $geometry"
hints=$(xprop -id "$HOST_ID" WM_NORMAL_HINTS)
grep -q 'minimum size: 640 by 480' <<<"$hints" && grep -q 'maximum size: 640 by 480' <<<"$hints" ||
  fail "the window may be resized: $hints"
poll 30 draws_between_bands 640 480 "$HOST_ID" || fail "no smoke in the window"

"$send_close" "$HOST_ID" || fail "could not send the close request"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output on the way out: $(cat "$WORK/saver.err")"

# Destroyed by another client instead: the same quiet end.
start_saver --window
poll 30 shown || fail "no window of its own the second time"
xdotool windowclose "$HOST_ID"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output after the window was destroyed: $(cat "$WORK/saver.err")"
echo "own window: ok"
