#!/usr/bin/env bash
# The installer as an administrator runs it, silent: /S puts the .scr into the 64-bit system folder
# and the licence beside the uninstaller, registers the uninstaller with the installed size, and
# leaves the current saver alone; /S /SETSAVER also makes smokedrift the current saver. The
# uninstaller's quiet command, run in place, removes the files and the entries and gives the saver
# from before back.
# Everything runs in a copy of the shared prefix, so what a failed run leaves meets no other test.
source "$(dirname "$0")/lib.sh"

SETUP="$WINE_BUILD/smokedrift-setup-${SMOKEDRIFT_VERSION:?}.exe"
[ -f "$SETUP" ] || fail "$SETUP is missing: build the windows preset with nsis installed (make test does)"

cp -a "$WINEPREFIX" "$WORK/prefix" || fail "could not copy the Wine prefix"
export WINEPREFIX="$WORK/prefix"
start_xvfb

DRIVE_C="$WINEPREFIX/drive_c"
DESKTOP='HKCU\Control Panel\Desktop'
UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall\smokedrift'
SAVER='C:\windows\system32\smokedrift.scr'
PREVIOUS='C:\windows\system32\previous.scr'

# reg_value KEY NAME: prints the value's data; fails when the key or the value is missing.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -F '    ' -v name="$2" '$2 == name { print $4; found = 1 } END { exit !found }'
}

expect_value() {  # expect_value KEY NAME DATA
  local got
  got=$(reg_value "$1" "$2") || fail "$1 has no value $2"
  [ "$got" = "$3" ] || fail "$1 $2 is \"$got\", expected \"$3\""
}

run_setup() {  # run_setup NAME ARGS...
  local name=$1
  shift
  wine "$SETUP" "$@" >"$WORK/$name.out" 2>&1 || fail "$name: the installer exited with $?"
}

wine reg add "$DESKTOP" /v SCRNSAVE.EXE /d "$PREVIOUS" /f >/dev/null 2>&1 || fail "could not set a saver"

run_setup install /S
cmp -s "$SCR" "$DRIVE_C/windows/system32/smokedrift.scr" || fail "the .scr is not in system32 as built"
[ -e "$DRIVE_C/windows/syswow64/smokedrift.scr" ] && fail "the .scr went into the 32-bit system folder"
expect_value "$DESKTOP" SCRNSAVE.EXE "$PREVIOUS"
expect_value "HKLM\\$UNINSTALL" DisplayName "smokedrift screen saver"
expect_value "HKLM\\$UNINSTALL" DisplayVersion "$SMOKEDRIFT_VERSION"
expect_value "HKLM\\$UNINSTALL" Publisher "the smokedrift authors"
expect_value "HKLM\\$UNINSTALL" DisplayIcon "$SAVER"
expect_value "HKLM\\$UNINSTALL" NoModify 0x1
expect_value "HKLM\\$UNINSTALL" NoRepair 0x1
uninstaller='C:\Program Files\smokedrift\uninstall.exe'
expect_value "HKLM\\$UNINSTALL" UninstallString "\"$uninstaller\""
expect_value "HKLM\\$UNINSTALL" QuietUninstallString "\"$uninstaller\" /S"
[ -f "$(winepath -u "$uninstaller")" ] || fail "no uninstaller at $uninstaller"
cmp -s "$(dirname "$0")/../../LICENSE" "$DRIVE_C/Program Files/smokedrift/LICENSE.txt" || fail "no LICENSE.txt beside the uninstaller"
# Installed programs shows EstimatedSize (KiB): at least the saver's own size.
size=$(reg_value "HKLM\\$UNINSTALL" EstimatedSize) || fail "no EstimatedSize"
[ $((size)) -ge $(($(stat -c %s "$SCR") / 1024)) ] || fail "EstimatedSize $size KiB is less than the saver"
wine reg query "HKLM\\Software\\Wow6432Node\\${UNINSTALL#Software\\}" >/dev/null 2>&1 &&
  fail "the uninstall entries went into the 32-bit registry view"

run_setup install_setsaver /S /SETSAVER
expect_value "$DESKTOP" SCRNSAVE.EXE "$SAVER"

# Run in place (_?=), the uninstaller ends before its command returns; it takes the rest of the
# line unquoted, which wine's own argument quoting would spoil, so a batch file passes it.
quiet=$(reg_value "HKLM\\$UNINSTALL" QuietUninstallString)
printf '@%s _?=%s\r\n@exit /b %%errorlevel%%\r\n' "$quiet" 'C:\Program Files\smokedrift' \
  >"$DRIVE_C/uninstall.bat"
wine cmd /c 'C:\uninstall.bat' >"$WORK/uninstall.out" 2>&1 || fail "the uninstaller exited with $?"
[ -e "$DRIVE_C/windows/system32/smokedrift.scr" ] && fail "the uninstaller left the .scr"
wine reg query "HKLM\\$UNINSTALL" >/dev/null 2>&1 && fail "the uninstaller left its registry key"
expect_value "$DESKTOP" SCRNSAVE.EXE "$PREVIOUS"
# Only the uninstaller that ran in place may remain.
left=$(ls -A "$DRIVE_C/Program Files/smokedrift" 2>/dev/null | grep -vx uninstall.exe)
[ -z "$left" ] || fail "the uninstaller left $left"

# The quiet command as it stands (no _?=): the uninstaller works from a copy of itself in %TEMP%
# and, once it ends, none of it is left there. Windows takes the saver setting in any case and in
# the 8.3 short form: a reinstall keeps and the uninstall puts back the saver from before either way.
temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')")
for form in upper short; do
  run_setup "install_$form" /S /SETSAVER
  setting=${SAVER^^}
  if [ "$form" = short ]; then
    setting=$(winepath -s "$SAVER" | tr -d '\r')
    [ -n "$setting" ] && [ "$setting" != "$SAVER" ] || fail "no short form of $SAVER: \"$setting\""
  fi
  wine reg add "$DESKTOP" /v SCRNSAVE.EXE /d "$setting" /f >/dev/null 2>&1 || fail "could not set $setting"
  run_setup "reinstall_$form" /S /SETSAVER
  wine reg add "$DESKTOP" /v SCRNSAVE.EXE /d "$setting" /f >/dev/null 2>&1 || fail "could not set $setting"
  wine "$uninstaller" /S >"$WORK/uninstall_quiet.out" 2>&1 || fail "the quiet uninstall exited with $?"
  wineserver -w
  expect_value "$DESKTOP" SCRNSAVE.EXE "$PREVIOUS"
  left=$(ls -A "$temp" | grep -i '^~nsu')
  [ -z "$left" ] || fail "the quiet uninstall with $setting left $left in %TEMP%"
done
echo "silent install, set-saver, and uninstall: ok"
