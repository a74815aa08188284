#!/usr/bin/env bash
# A window mapped above the full-screen saver while it runs (a notification: override-redirect,
# so no window manager stacks it) does not stay above it: the saver raises itself over it.
source "$(dirname "$0")/lib.sh"
map_popup=${4:?usage: $0 smokedrift send_close swap_count.so map_popup}
start_xvfb 320x240

start_saver /s
wait_for_full_screen
poll 30 draws_between_bands 320 240 || fail "no smoke before the popup"

"$map_popup" 0 0 160 40 &
PIDS+=($!)
popup_mapped() { xwininfo -name smokedrift-e2e-popup | grep -q 'Map State: IsViewable'; }
poll 30 popup_mapped || fail "the popup was not mapped"
# The popup is white; where it is, the saver's top band must show, black.
band_shows() {
  screenshot "$WORK/popup.png" && [ "$(row_max "$WORK/popup.png" 160 0)" = 0 ]
}
poll 10 band_shows || fail "the popup stays above the saver: $(xwininfo -root -children | grep -E 'popup|Screen Saver')"
still_running || fail "the saver ended"
kill -TERM "$SAVER_PID"
expect_exit 0
echo "keep on top: ok"
