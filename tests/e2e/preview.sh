#!/usr/bin/env bash
# /p ID draws into the given window, ignores input, and exits 0 without a word when that window
# is destroyed. xscreensaver's -root with XSCREENSAVER_WINDOW, XSCREENSAVER_WINDOW alone and
# --window-id do the same.
source "$(dirname "$0")/lib.sh"
start_xvfb 320x240

# Starts the preview (arguments after the host window exists; @ID@ becomes its id), checks it.
preview_runs() {
  start_host_window 200x150
  local args=() a
  for a in "$@"; do args+=("${a//@ID@/$HOST_ID}"); done
  start_saver "${args[@]}"
  poll 30 preview_shown || fail "no preview window inside the host ($*)"
  poll 30 draws_between_bands 200 150 "$HOST_ID" || fail "no smoke in the preview ($*)"
}

preview_runs /p @ID@
xdotool mousemove_relative -- 40 40 key a click 1
sleep 0.5  # nothing to poll for: input must change nothing
still_running || fail "input ended the preview"
kill "$HOST_PID"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output on the way out: $(cat "$WORK/saver.err")"

start_host_window 200x150
XSCREENSAVER_WINDOW=$(printf '0x%x' "$HOST_ID") start_saver -root
poll 30 preview_shown || fail "-root did not draw into XSCREENSAVER_WINDOW"
poll 30 draws_between_bands 200 150 "$HOST_ID" || fail "no smoke with -root"
kill "$HOST_PID"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output on the way out: $(cat "$WORK/saver.err")"

start_host_window 200x150
XSCREENSAVER_WINDOW=$(printf '0x%x' "$HOST_ID") start_saver --fps
poll 30 preview_shown || fail "XSCREENSAVER_WINDOW alone did not name the window to draw into"
kill "$HOST_PID"
expect_exit 0

preview_runs --window-id @ID@
kill -TERM "$SAVER_PID"
expect_exit 0

start_host_window 200x150
XSCREENSAVER_WINDOW=$HOST_ID start_saver --root
poll 30 preview_shown || fail "--root did not draw into a decimal XSCREENSAVER_WINDOW"
kill -TERM "$SAVER_PID"
expect_exit 0

# -root with no XSCREENSAVER_WINDOW: the root window itself, black before.
pkill -P $$ -x xmessage || true
poll 30 sh -c "! xdotool search --name '^smokedrift-e2e-host$'" || fail "a host window stayed"
draws_between_bands 320 240 && fail "something bright on the screen before -root"
unset XSCREENSAVER_WINDOW
start_saver -root
poll 30 draws_between_bands 320 240 || fail "-root did not draw into the root window"
kill -TERM "$SAVER_PID"
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "output from -root: $(cat "$WORK/saver.err")"
