#!/usr/bin/env bash
# On a software renderer (llvmpipe here) the full-screen saver at 1920x1080 measures its frames,
# draws them smaller (render scale above 1), says so with --verbose, still covers the whole screen
# with smoke between the bands, and a key ends it. 1080p because that is the size the scale is for.
source "$(dirname "$0")/lib.sh"
start_xvfb 1920x1080
start_saver /s --verbose
wait_for_full_screen
chosen() { grep -q 'render scale' "$WORK/saver.err"; }
poll 30 chosen || fail "no render scale reported: $(cat "$WORK/saver.err")"
line=$(grep -m1 'render scale' "$WORK/saver.err")
grep -q "llvmpipe" <<<"$line" || fail "the report does not name the software renderer: $line"
k=$(sed -n 's/.*render scale \([0-9]\+\),.*/\1/p' <<<"$line")
[ -n "$k" ] && [ "$k" -gt 1 ] || fail "expected a render scale above 1 at 1920x1080: $line"
grep -q "1920x1080 drawn at $(((1920 + k - 1) / k))x$(((1080 + k - 1) / k))" <<<"$line" ||
  fail "the report does not give the drawn size: $line"
# Scaled up over the whole screen: black bands, smoke across the middle row to the right edge.
poll 30 draws_between_bands 1920 1080 || fail "no smoke between bands on screen"
right=$(convert "$WORK/shot.png" -crop "64x1+1856+540" +repage -format "%[fx:maxima.intensity]" info:)
awk -v r="$right" 'BEGIN { exit !(r > 0.05) }' || fail "the right edge of the middle row is black ($right)"
xdotool key a
expect_exit 0
