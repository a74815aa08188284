#!/usr/bin/env bash
# The Windows 95 family's optional pieces missing or wrong, with Wine reporting that family:
# a PASSWORD.CPL without VerifyScreenSavePwd, and a ScreenSaveUsePassword of 8 bytes (REG_QWORD,
# REG_BINARY), each with the password otherwise set: the saver runs without a password, so a key
# ends it at once with 0 and no verifier is asked. /a without MPR.DLL, or with one that lacks
# PwdChangePasswordA: 0, and nothing is called.
source "$(dirname "$0")/lib.sh"
start_xvfb

app="$WORK/app"
mkdir -p "$app"
cp "$SCR" "$app/smokedrift.scr"

select_win9x

log="$WORK/calls.log"
echo refuse >"$WORK/answer"
use_verifier "$log" "$WORK/answer"

# runs_without_password NAME: a key ends the saver at once, and the verifier was never asked.
runs_without_password() {
  set_cursor 100 100
  start_wine "$1" "$app/smokedrift.scr" /s
  wait_saver_window
  wait_for_smoke
  xdotool key space
  [ "$(wait_exit "$1" 30)" = 0 ] || fail "$1: a key did not end the saver with 0 (got $(wait_exit "$1" 1))"
  [ ! -s "$log" ] || fail "$1: the verifier was asked: $(cat "$log")"
}

cp "$HELPERS/password_cpl_empty/PASSWORD.CPL" "$app/PASSWORD.CPL"
set_password REG_DWORD 1
runs_without_password no_export

# A real verifier from here on, which refuses: had it been asked, the key would not close.
cp "$HELPERS/password_cpl/PASSWORD.CPL" "$app/PASSWORD.CPL"
set_password REG_QWORD 1
runs_without_password qword
set_password REG_BINARY 0100000000000000
runs_without_password binary8
# The same verifier does refuse when the value is the 4 bytes it should be.
set_password REG_DWORD 1
set_cursor 100 100
start_wine control "$app/smokedrift.scr" /s
wait_saver_window
wait_for_smoke
xdotool key space
wait_for 30 grep -q "verify refused" "$log" || fail "control: the verifier was not asked for a 4-byte value"
sleep 2  # an observation window, not a timing assertion
finished control && fail "control: the saver closed although the password was refused"
echo accept >"$WORK/answer"
xdotool key space
[ "$(wait_exit control 30)" = 0 ] || fail "control: an accepted password did not end the saver"
rm -f "$log"

# /a with no MPR.DLL at all (Wine's own switched off), then with one lacking the export.
WINEDLLOVERRIDES=mpr=d start_wine no_mpr "$app/smokedrift.scr" /a 0
[ "$(wait_exit no_mpr 30)" = 0 ] || fail "/a without MPR.DLL: expected 0, got $(wait_exit no_mpr 1)"
cp "$HELPERS/password_cpl_empty/PASSWORD.CPL" "$app/mpr.dll"
WINEDLLOVERRIDES=mpr=n start_wine mpr_no_export "$app/smokedrift.scr" /a 0
[ "$(wait_exit mpr_no_export 30)" = 0 ] ||
  fail "/a with an MPR.DLL lacking the export: expected 0, got $(wait_exit mpr_no_export 1)"
# The stand-in that has the export is called: the two cases above were not simply never reached.
cp "$HELPERS/mpr_dll/mpr.dll" "$app/mpr.dll"
WINEDLLOVERRIDES=mpr=n start_wine mpr "$app/smokedrift.scr" /a 0
[ "$(wait_exit mpr 30)" = 0 ] || fail "/a with the stand-in MPR.DLL: expected 0"
[ "$(grep -c change "$log")" = 1 ] || fail "expected exactly one call of the changer: $(cat "$log" 2>/dev/null)"
echo "missing and wrong password pieces under Wine: ok"
