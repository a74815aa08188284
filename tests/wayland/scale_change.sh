#!/usr/bin/env bash
# An output's scale changed while /s runs: the saver follows it and draws at the output's full
# resolution, not at its logical size blown up (where every 2x2 block of pixels would be one).
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480
start_saver /s
wait_for_smoke HEADLESS-1 640x480

# The pixels that differ from the picture made of its own 2x2 blocks' first pixels.
off_block_pixels() {
  grim -o HEADLESS-1 "$WORK/shot.png" && convert "$WORK/shot.png" -sample 50% -sample 200% "$WORK/blocks.png" &&
    compare -metric AE "$WORK/shot.png" "$WORK/blocks.png" null: 2>&1 || true
}
full_resolution() { [ "$(off_block_pixels)" -gt 0 ] 2>/dev/null; }

full_resolution || fail "the saver does not draw at full resolution at scale 1"
swaymsg output HEADLESS-1 scale 2 >/dev/null || fail "sway did not take scale 2"
poll 10 smoke_while_running HEADLESS-1 640x480 || fail "no smoke after the scale changed"
poll 10 full_resolution || fail "at scale 2 the saver draws at half resolution ($(off_block_pixels) pixels off blocks)"
still_running || fail "the saver ended: $(cat "$WORK/saver.err")"
echo "scale change: ok"
