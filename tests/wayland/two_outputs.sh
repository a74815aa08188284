#!/usr/bin/env bash
# /s covers two outputs of different sizes, each with smoke between black bands, hides the
# pointer on its surfaces, and a key ends it with 0, its surfaces gone from both.
source "$(dirname "$0")/lib.sh"
start_sway 2 640x480 480x320
start_pointer
# In the top band, where the picture stays black: a cursor there would show.
cursor_to 320 8
poll 10 cursor_shows HEADLESS-1 320 8 || fail "the cursor does not show before the saver runs"

start_saver /s
wait_for_smoke HEADLESS-1 640x480
wait_for_smoke HEADLESS-2 480x320
poll 10 cursor_hidden HEADLESS-1 320 8 || fail "the pointer is drawn over the saver"
press_key Escape
expect_exit 0
poll 10 middle_row_black HEADLESS-1 640x480 || fail "a surface stayed on HEADLESS-1"
poll 10 middle_row_black HEADLESS-2 480x320 || fail "a surface stayed on HEADLESS-2"
[ ! -s "$WORK/saver.err" ] || fail "unexpected output: $(cat "$WORK/saver.err")"
echo "two outputs: ok"
