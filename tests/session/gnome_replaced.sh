#!/bin/bash
# GNOME on X11: mutter replaced by a new one (mutter --replace, what Alt+F2 r and gnome-shell
# --replace do) while the saver runs. The watcher follows the new mutter's idle monitor: a key
# ends the saver, two idle seconds start it again, and SIGTERM still ends the watcher with 0.
source "$(dirname "$0")/gnome_lib.sh"

# A session bus of its own: dbus-run-session would end it with the first mutter.
make_runtime_dir
start_xvfb
exec_as_compositor dbus-daemon --session --nofork --address="unix:path=$RUNTIME/bus" >"$WORK/bus.log" 2>&1 &
PIDS+=($!)
export XDG_RUNTIME_DIR="$RUNTIME" DBUS_SESSION_BUS_ADDRESS="unix:path=$RUNTIME/bus"
poll 30 test -S "$RUNTIME/bus" || fail "the session bus did not start: $(cat "$WORK/bus.log")"

# A mutter that replaces the one managing the screen; its pid in MUTTER_PID.
replace_mutter() {
  exec_as_compositor env HOME="$RUNTIME" mutter --x11 --replace >>"$WORK/mutter.log" 2>&1 &
  MUTTER_PID=$!
  PIDS+=("$MUTTER_PID")
}
started() { [ "$(grep -c "the saver started" "$WORK/watcher.err")" -ge "$1" ]; }

replace_mutter
poll 30 name_owned org.gnome.Mutter.IdleMonitor || fail "mutter's idle monitor did not appear: $(tail "$WORK/mutter.log")"
first=$MUTTER_PID
start_watcher
poll 30 saver_runs || fail "the saver did not start: $(cat "$WORK/watcher.err")"
replace_mutter
poll 30 ended "$first" || fail "the first mutter was not replaced: $(tail "$WORK/mutter.log")"
poll 30 name_owned org.gnome.Mutter.IdleMonitor || fail "the new mutter's idle monitor did not appear"
xdotool key a
poll 30 started 2 || fail "the saver did not start again after the key: $(cat "$WORK/watcher.err")"
stop_watcher
echo "gnome replaced: ok"
