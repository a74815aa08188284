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

# Black first and last rows across the full width; smoke in the middle row and in the middle of
# the columns right of the old width. Leaves the four brightest values (0..1) in MEASURED.
fills() {
  local file="$WORK/resized.png" width="$1" height="$2" oldWidth="$3"
  screenshot "$file" "$HOST_ID" || return 1
  MEASURED=$(convert "$file" \
    \( -clone 0 -crop "${width}x1+0+0" \) \( -clone 0 -crop "${width}x1+0+$((height - 1))" \) \
    \( -clone 0 -crop "${width}x1+0+$((height / 2))" \) \
    \( -clone 0 -crop "$((width - oldWidth))x$((height / 3))+$oldWidth+$((height / 3))" \) \
    -delete 0 +repage -format "%[fx:maxima.intensity] " info:)
  awk -v v="$MEASURED" 'BEGIN { split(v, x, " "); exit !(x[1] < 0.05 && x[2] < 0.05 && x[3] > 0.1 && x[4] > 0.1) }'
}

start_host_window 320x240
start_saver -window-id "$HOST_ID"
poll 30 preview_shown || fail "no preview window inside the host"
poll 30 draws_between_bands 320 240 "$HOST_ID" || fail "no smoke in the preview before the resize"

xdotool windowsize "$HOST_ID" 480 360
poll 30 preview_is 480 360 || fail "the preview did not take the host's new size: $(xwininfo -id "$(preview_id)")"
MEASURED=""
poll 10 fills 480 360 320 ||
  fail "the picture does not fill the new size (top, bottom, middle, right of the old width: $MEASURED)"
still_running || fail "the saver ended after the resize"
kill -TERM "$SAVER_PID"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output from the resized preview: $(cat "$WORK/saver.err")"
