#!/usr/bin/env bash
# Every output is covered, past the number that get the scene too. With the scene limited to one
# output (SMOKEDRIFT_SCENE_OUTPUTS), seventeen outputs over a red background show the smoke on the
# first and black on the others, and a click on the seventeenth ends the run with 0.
source "$(dirname "$0")/lib.sh"
sizes=()
for _ in $(seq 1 17); do sizes+=(160x120); done
start_sway 17 "${sizes[@]}"
swaymsg output '*' bg '#ff0000' solid_color >/dev/null || fail "sway did not paint the background red"
start_pointer
# On the seventeenth output, below its middle row (sway draws the cursor into screenshots).
cursor_to $((16 * 160 + 80)) 100
! middle_row_black HEADLESS-17 160x120 || fail "the background is not red"

SMOKEDRIFT_SCENE_OUTPUTS=1 start_saver /s
wait_for_smoke HEADLESS-1 160x120
for i in 17 $(seq 2 16); do
  poll 30 middle_row_black "HEADLESS-$i" 160x120 || fail "HEADLESS-$i is not covered"
done
still_running || fail "the saver ended: $(cat "$WORK/saver.err")"
pointer button 1
expect_exit 0
echo "many outputs: ok"
