#!/usr/bin/env bash
# The Windows 95 family, with Wine reporting that family for the saver: with a password set, every
# kind of input asks the verifier; a refused password always keeps the saver running, and input
# during the check closes nothing and opens no second dialog; an accepted one ends it with 0. /a calls the password changer with "SCRSAVE"; on the NT
# family /a ends with -1.
source "$(dirname "$0")/lib.sh"
start_xvfb

app="$WORK/app"
mkdir -p "$app"
cp "$SCR" "$app/smokedrift.scr"
cp "$HELPERS/password_cpl/PASSWORD.CPL" "$app/PASSWORD.CPL"
cp "$HELPERS/mpr_dll/mpr.dll" "$app/mpr.dll"


# On the NT family (Wine's default) /a is not a mode.
start_wine nt "$app/smokedrift.scr" /a 0
[ "$(wait_exit nt 30)" = 255 ] || fail "/a on the NT family: expected -1 (255), got $(wait_exit nt 1)"

select_win9x
set_password

log="$WORK/calls.log"
answer="$WORK/answer"
echo refuse >"$answer"
use_verifier "$log" "$answer"

set_cursor 100 100
start_wine saver "$app/smokedrift.scr" /s
wait_saver_window
wait_for_smoke
# Counts of log lines (the helper writes CRLF line ends; no log yet counts 0).
count_lines() { local n; n=$(grep -cE "$1" "$log" 2>/dev/null); echo "${n:-0}"; }
checks() { count_lines '^verify (accepted|refused)'; }
done_checks() { count_lines '^verify done'; }
more_checks_than() { [ "$(checks)" -gt "$1" ]; }
all_checks_done() { [ "$(done_checks)" -eq "$(checks)" ]; }
# Every kind of input asks the verifier; input while its dialog runs (the verifier dispatches it)
# opens no second dialog and closes nothing, and after each refusal the saver keeps running.
x=100
for trigger in "key space" "click 1" "mousemove" "key alt+x" "click 3"; do
  before=$(checks)
  if [ "$trigger" = mousemove ]; then
    x=$((x + 60))
    xdotool mousemove "$x" 200
  else
    xdotool $trigger
  fi
  wait_for 30 more_checks_than "$before" || fail "$trigger did not ask the verifier: $(cat "$log")"
  xdotool key space click 1 mousemove_relative -- 40 40 key Escape click 3
  wait_for 30 all_checks_done || fail "the verifier did not return: $(cat "$log"); saver: $(finished saver && cat "$WORK/saver.rc") $(tail -5 "$WORK/saver.out")"
  sleep 1  # an observation window, not a timing assertion
  finished saver && fail "the saver ended after a refused password ($trigger): $(cat "$log")"
  grep -q nested "$log" && fail "a second dialog opened while one was running: $(cat "$log")"
done

echo accept >"$answer"
xdotool key space
wait_for 30 grep -q "verify accepted" "$log" || fail "the last key did not ask the verifier: $(cat "$log")"
[ "$(wait_exit saver 30)" = 0 ] || fail "an accepted password: expected exit 0, got $(wait_exit saver 1)"

# /a HWND: the changer of MPR.DLL (our stand-in, loaded as native) is called for "SCRSAVE".
WINEDLLOVERRIDES=mpr=n start_wine change "$app/smokedrift.scr" /a 0
[ "$(wait_exit change 30)" = 0 ] || fail "/a on the 95 family: expected exit 0, got $(wait_exit change 1)"
grep -q "change SCRSAVE" "$log" || fail "/a did not call PwdChangePasswordA with SCRSAVE: $(cat "$log")"
echo "Windows 95-family password path under Wine: ok"
