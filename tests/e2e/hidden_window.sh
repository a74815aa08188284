#!/usr/bin/env bash
# --window draws nothing while it cannot be seen: unmapped (a window manager unmaps a minimised
# window) or entirely covered by another window; it draws again once it is seen.
source "$(dirname "$0")/lib.sh"
swap_count=${3:?usage: $0 path/to/smokedrift path/to/send_close path/to/swap_count.so}
start_xvfb 800x600

swaps() { cat "$WORK/swaps" 2>/dev/null || echo 0; }
more_than() { [ "$(swaps)" -gt "$1" ]; }
# Frames are being drawn: the count goes up.
drawing() { poll 10 more_than "$(swaps)"; }
# No frame for a second, once the frame under way when the window went is done. Nothing to poll
# for when the answer is "nothing happens".
not_drawing() {
  sleep 0.5
  local before
  before=$(swaps)
  sleep 1
  [ "$(swaps)" -eq "$before" ]
}

LD_PRELOAD="$swap_count" SMOKEDRIFT_SWAP_COUNT="$WORK/swaps" start_saver --window
poll 30 xdotool search --name '^smokedrift$' || fail "no window of its own: $(cat "$WORK/saver.err")"
HOST_ID=$(xdotool search --name '^smokedrift$' | head -n1)
poll 30 preview_shown || fail "no preview inside the window"
drawing || fail "no frames while shown"

xdotool windowunmap "$HOST_ID"
not_drawing || fail "frames go on while the window is unmapped"
xdotool windowmap "$HOST_ID"
drawing || fail "no frames once mapped again"

# A window over all of it: xmessage with no window manager goes where it is told.
xmessage -geometry 800x600+0+0 -title smokedrift-e2e-cover cover >/dev/null 2>&1 &
PIDS+=($!)
COVER_PID=$!
poll 30 xdotool search --name '^smokedrift-e2e-cover$' || fail "no covering window"
not_drawing || fail "frames go on while the window is covered"
kill "$COVER_PID"
drawing || fail "no frames once uncovered"

kill -TERM "$SAVER_PID"
expect_exit 0
echo "hidden window: ok"
