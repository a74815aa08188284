#!/usr/bin/env bash
# /s covers the whole screen, draws smoke between black bands, and a key ends it with 0.
source "$(dirname "$0")/lib.sh"
start_xvfb 320x240
start_saver /s
wait_for_full_screen
xwininfo -root -tree | grep '"Screen Saver"' | grep -q '320x240+0+0' || fail "window does not cover the screen"
poll 30 draws_between_bands 320 240 || fail "no smoke between bands on screen"
xdotool key a
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "unexpected output: $(cat "$WORK/saver.err")"
