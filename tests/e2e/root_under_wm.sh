#!/usr/bin/env bash
# -root with no XSCREENSAVER_WINDOW under a window manager (twm) draws into the root window: no
# framed "Preview" window for the manager to place, nothing drawn over the desktop's own windows;
# SIGTERM ends it with 0.
source "$(dirname "$0")/lib.sh"
start_xvfb 320x240
unset XSCREENSAVER_WINDOW

# Windows placed where they ask, or at random: a framed window would appear, not wait for a drag.
# The server has only its built-in font.
printf '%s\n' 'RandomPlacement' 'UsePPosition "on"' 'TitleFont "fixed"' 'ResizeFont "fixed"' 'MenuFont "fixed"' \
  'IconFont "fixed"' 'IconManagerFont "fixed"' >"$WORK/twmrc"
LC_ALL=C twm -f "$WORK/twmrc" >"$WORK/twm.log" 2>&1 &
PIDS+=($!)
# A desktop window, framed once the manager runs: twm puts a frame between it and the root.
xmessage -geometry 120x40+100+180 -title smokedrift-e2e-desktop "a window" >/dev/null 2>&1 &
PIDS+=($!)
framed() {
  local id
  id=$(xdotool search --name '^smokedrift-e2e-desktop$' | head -n1)
  [ -n "$id" ] && ! xwininfo -root -children | grep -q "^ *$(printf '0x%x' "$id") "
}
poll 30 framed || fail "twm did not frame a window: $(cat "$WORK/twm.log")"
sleep 0.5  # twm draws the frame after reparenting: nothing to poll for
screenshot "$WORK/before.png"

start_saver -root
# Smoke on the desktop above the window, from a window of ours directly on the root (checked once
# it draws: a window manager frames a new window only a moment after it is mapped).
poll 30 draws_between_bands 320 100 || fail "-root draws nothing on the desktop"
xwininfo -root -children | grep -q '"Preview": ("smokedrift" "WindowsScreenSaverClass")  320x240+0+0' ||
  fail "no preview directly on the root: $(xwininfo -root -tree | grep -B2 '"Preview"')"
# The desktop's window as it was.
unchanged() {
  screenshot "$WORK/after.png" || return 1
  local f
  for f in before after; do convert "$WORK/$f.png" -crop 120x60+100+180 +repage "$WORK/$f-window.png"; done
  [ "$(compare -metric AE "$WORK/before-window.png" "$WORK/after-window.png" null: 2>&1)" = 0 ]
}
unchanged || fail "-root drew over the desktop's window"
kill -TERM "$SAVER_PID"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output from -root: $(cat "$WORK/saver.err")"
echo "-root under a window manager: ok"
