#!/usr/bin/env bash
# A preview follows the window it draws into: when that window grows, the preview grows with it
# and the picture fills the new size, bands across the full width and smoke where the old size
# did not reach.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480

preview_id() {
  xwininfo -children -id "$HOST_ID" | grep '"Preview": ("smokedrift" "WindowsScreenSaverClass")' | awk '{print $1}' |
    head -n1
}

preview_is() {
  local geometry
  geometry=$(xwininfo -id "$(preview_id)")
  grep -q "Width: $1\$" <<<"$geometry" && grep -q "Height: $2\$" <<<"$geometry"
}

start_host_window 320x240
start_saver -window-id "$HOST_ID"
poll 30 preview_shown || fail "no preview window inside the host"
poll 30 draws_between_bands 320 240 "$HOST_ID" || fail "no smoke in the preview before the resize"

xdotool windowsize "$HOST_ID" 480 360
poll 30 preview_is 480 360 || fail "the preview did not take the host's new size: $(xwininfo -id "$(preview_id)")"
MEASURED=""
poll 10 fills 480 360 320 "$HOST_ID" ||
  fail "the picture does not fill the new size (top, bottom, middle, right of the old width: $MEASURED)"
still_running || fail "the saver ended after the resize"
kill -TERM "$SAVER_PID"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output from the resized preview: $(cat "$WORK/saver.err")"
