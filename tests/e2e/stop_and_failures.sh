#!/usr/bin/env bash
# SIGTERM and SIGINT end the saver cleanly with 0; without a display a mode fails with -1 and one
# line on stderr; an unknown switch or option, a bad value or a window that does not exist fails
# with -1 and one line saying so.
source "$(dirname "$0")/lib.sh"
start_xvfb 320x240

start_saver /s
wait_for_full_screen
kill -TERM "$SAVER_PID"
expect_exit 0

start_saver /s
wait_for_full_screen
kill -INT "$SAVER_PID"
expect_exit 0

# Each refused command line: 255 and one line saying what was wrong, and no window.
while IFS='|' read -r env words; do
  read -r -a argv <<<"$words"
  if [ -n "$env" ]; then export "${env?}"; fi
  start_saver "${argv[@]}"
  expect_exit 255
  if [ -n "$env" ]; then unset "${env%%=*}"; fi
  [ "$(wc -l <"$WORK/saver.err")" -eq 1 ] && grep -q '^smokedrift: ' "$WORK/saver.err" ||
    fail "'$env $words': expected one line, got: $(cat "$WORK/saver.err")"
  xwininfo -root -tree | grep -q '"Screen Saver"' && fail "'$words' opened a window"
done <<'CASES'
|hello
|-help
|--loud
|/s --render-scale 0
|/x
|/p
|/p 99999999
|/p 4294967297
|-window-id garbage
|-window-id 0x100000001
XSCREENSAVER_WINDOW=0x12zz|-root
|--size 320x180 /s
|/s --sprites 0
|/s --sprites 31
|--speed nan /s
|/s --speed -1
|/s --feedback bogus
|/s --sprites 3 --sprites 4
|/s --delay -5
|/s --delay 1e99
CASES

# Options before the mode are options: this renders, it does not start the saver.
"$SAVER" --size 32x18 --frames 3 --render "$WORK/early.png" || fail "options before --render: exit $?"
[ -s "$WORK/early.png" ] || fail "options before --render wrote nothing"

# Without a display, each mode that needs one says so in one line and nothing more.
for words in /s -root "/p 123" --window; do
  read -r -a argv <<<"$words"
  DISPLAY=:none start_saver "${argv[@]}"
  expect_exit 255
  [ "$(wc -l < "$WORK/saver.err")" -eq 1 ] && grep -q '^X11: cannot open display' "$WORK/saver.err" ||
    fail "'$words': expected one line about the display, got: $(cat "$WORK/saver.err")"
done
