#!/usr/bin/env bash
# Nothing the saver does writes to the registry or the file system: the Wine prefix (every file's
# name, type, size and time, and the contents of the registry files), the program's folder and the
# working directory are compared before and after a full-screen run on the Windows 95 family with
# a password set, ended by input through a refused and then an accepted check.
# Wine itself rewrites a few things whenever it starts: the registry files (so their times and the
# prefix folder's), the dosdevices links, each key's time stamp and the display driver's date
# (DriverDateData). A Wine program run just before the first snapshot settles what depends on the
# display; those pieces are then left out of the comparison.
source "$(dirname "$0")/lib.sh"
start_xvfb

app="$WORK/app"
cwd="$WORK/cwd"
mkdir -p "$app" "$cwd"
cp "$SCR" "$app/smokedrift.scr"
cp "$HELPERS/password_cpl/PASSWORD.CPL" "$app/PASSWORD.CPL"

forget_probe() {
  wine reg delete 'HKCU\Software\smokedrift-probe' /f >/dev/null 2>&1
  rm -f "$WINEPREFIX/drive_c/smokedrift-probe"
}
trap 'forget_probe; cleanup' EXIT
select_win9x
set_password

log="$WORK/calls.log"
answer="$WORK/answer"
echo refuse >"$answer"
use_verifier "$log" "$answer"

# snapshot FILE: the state of everything compared, in one text file.
snapshot() {
  {
    (cd "$WINEPREFIX" && find . \( -path ./dosdevices -prune \) -o \
      \( -path . -o -name '*.reg' \) -printf '%p %y %s\n' -o -printf '%p %y %s %T@\n' | sort)
    local r
    for r in system user userdef; do
      echo "== $r.reg"
      sed -e '/^#time=/d' -e 's/^\(\[.*\]\) [0-9]*$/\1/' -e '/^"DriverDateData"=/d' "$WINEPREFIX/$r.reg"
    done
    echo "== program folder"
    (cd "$app" && find . -printf '%p %y %s %T@\n' | sort)
    echo "== working directory"
    (cd "$cwd" && find . -printf '%p %y %s %T@\n' | sort)
  } >"$1"
}

# The registry reaches its files when the Wine server ends.
settle() { wineserver -w; }

set_cursor 100 100
settle
snapshot "$WORK/before"

(cd "$cwd" && start_wine saver "$app/smokedrift.scr" /s && echo "${BACKGROUND[-1]}" >"$WORK/saver.pid")
BACKGROUND+=("$(cat "$WORK/saver.pid")")
wait_saver_window
wait_for_smoke
xdotool mousemove 300 300
wait_for 30 grep -q "verify refused" "$log" || fail "mouse travel did not ask the verifier"
xdotool key space click 1
sleep 2  # an observation window, not a timing assertion
finished saver && fail "the saver ended although the password was refused"
echo accept >"$answer"
xdotool key space
[ "$(wait_exit saver 30)" = 0 ] || fail "an accepted password: expected exit 0, got $(wait_exit saver 1)"
settle
snapshot "$WORK/after"
diff "$WORK/before" "$WORK/after" >"$WORK/diff" || fail "the run wrote something: $(head -n 40 "$WORK/diff")"

# The comparison sees a registry value and a file where they are written.
wine reg add 'HKCU\Software\smokedrift-probe' /v written /d 1 /f >/dev/null 2>&1 || fail "could not write the probe value"
touch "$WINEPREFIX/drive_c/smokedrift-probe"
settle
snapshot "$WORK/probe"
diff "$WORK/before" "$WORK/probe" >"$WORK/diff"
grep -q 'smokedrift-probe\]' "$WORK/diff" || fail "the snapshot missed a new registry key: $(cat "$WORK/diff")"
grep -q 'drive_c/smokedrift-probe ' "$WORK/diff" || fail "the snapshot missed a new file: $(cat "$WORK/diff")"
echo "no writes to the registry, the prefix, the program folder or the working directory: ok"
