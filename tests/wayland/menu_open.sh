#!/usr/bin/env bash
# An application's menu open when /s starts (an xdg_popup holding the grab) keeps every key and
# move from the saver under sway 1.7: the first click, which closes the menu, ends the saver.
source "$(dirname "$0")/lib.sh"
MENU_HELPER="${3:?usage: $0 smokedrift virtual_pointer popup_menu}"
start_sway 1 640x480
start_pointer
mkfifo "$WORK/menu.in"
"$MENU_HELPER" <"$WORK/menu.in" >"$WORK/menu.out" 2>"$WORK/menu.err" &
PIDS+=("$!")
# Its input open until the test ends: the application runs until then.
exec {MENU_INPUT}>"$WORK/menu.in"
menu_says() { grep -qx "$1" "$WORK/menu.out"; }
poll 10 menu_says mapped || fail "the application did not map: $(cat "$WORK/menu.err")"
cursor_to 320 240
pointer button 3
poll 10 menu_says popup || fail "the menu did not open: $(cat "$WORK/menu.err")"

start_saver /s
wait_for_smoke HEADLESS-1 640x480
pointer button 1
expect_exit 0
menu_says done || fail "the menu did not close"
echo "menu open: ok"
