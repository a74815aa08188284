#!/usr/bin/env bash
# A second /s finds the first, raises it and ends with 0 at once; the first keeps running.
source "$(dirname "$0")/lib.sh"
start_xvfb
set_cursor 100 100
start_wine first "$SCR" /s
wait_saver_window
wait_for_smoke
start_wine second "$SCR" /s
code=$(wait_exit second 60)
[ "$code" = 0 ] || fail "the second saver: expected exit 0, got $code"
finished first && fail "the first saver ended when the second started"
[ "$(xwininfo -root -tree | grep -c '"Screen Saver"')" = 1 ] || fail "more than one saver window"
xdotool key space
[ "$(wait_exit first 30)" = 0 ] || fail "the first saver did not end with 0"
echo "single instance under Wine: ok"
