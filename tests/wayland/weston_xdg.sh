#!/usr/bin/env bash
# Under weston, which has no layer shell, /s covers the output with a full-screen xdg window
# (smoke between black bands where the panel was) and a key ends it with 0.
source "$(dirname "$0")/lib.sh"
start_weston 480x360
# The desktop shell's panel along the top: what the saver must cover.
top_row_lit() {
  weston_screenshot "$WORK/desktop.png" &&
    awk -v v="$(row_max "$WORK/desktop.png" 480 0)" 'BEGIN { exit !(v > 0.05) }'
}
poll 30 top_row_lit || fail "weston shows no panel: $(tail -n 20 "$WORK/weston.log")"
# On weston's window before the saver starts, so that the keys go there and later no move does.
DISPLAY="$WESTON_X" xdotool mousemove 240 180

start_saver /s
wait_for_smoke weston 480x360
DISPLAY="$WESTON_X" xdotool key Escape
expect_exit 0
[ ! -s "$WORK/saver.err" ] || fail "unexpected output: $(cat "$WORK/saver.err")"
echo "weston xdg: ok"
