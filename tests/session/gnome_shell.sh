#!/bin/bash
# A real GNOME Shell session (gnome-session, gnome-settings-daemon, the shell's lock screen), started
# once for these cases in turn, as the compositor's user:
# - the watcher picks mutter's idle monitor, and the saver covers the screen, top bar included,
#   although the shell opened its Activities overview at login (which the watcher closes);
# - a key ends the saver;
# - gnome-session-inhibit and an org.freedesktop.ScreenSaver inhibition (gnome-settings-daemon's
#   proxy) keep it away until they end;
# - the shell's shield, brought on by logind's LockSession and by the idle delay, shows above the
#   saver, and once the session is unlocked the saver has ended;
# - the watcher starts no saver under the shield, and starts it once the shield is gone.
source "$(dirname "$0")/gnome_lib.sh"

start_gnome_shell
poll 30 eval 'shell_property OverviewActive | grep -q true' ||
  fail "the shell did not open its overview at login: nothing to close"
start_keyboard
start_watcher
poll 30 grep -q '^smokedrift: idle source: .*org\.gnome\.Mutter\.IdleMonitor' "$WORK/watcher.err" ||
  fail "the watcher did not choose mutter's idle monitor: $(grep -v '^\[' "$WORK/watcher.err")"

# Polled with few tries: poll sleeps a tenth of a second between them, and a screenshot takes more.
SHOT="$RUNTIME/shot.png"
brightest() { brightest_in "$SHOT" "$1"; }
# The saver's picture on the whole screen: black bands where the top bar would be and at the
# bottom, smoke in the middle.
shows_saver() {
  awk -v t="$(brightest 640x30+0+0)" -v b="$(brightest 640x1+0+479)" -v m="$(brightest 640x1+0+240)" \
    'BEGIN { exit !(t < 0.05 && b < 0.05 && m > 0.1) }'
}
saver_covers_screen() { shell_screenshot "$SHOT" && shows_saver; }
saver_hidden() { shell_screenshot "$SHOT" && ! shows_saver; }
shield_active() {
  as_user gdbus call --session --dest org.gnome.ScreenSaver --object-path /org/gnome/ScreenSaver \
    --method org.gnome.ScreenSaver.GetActive | grep -q "$1"
}
idle_inhibited() { manager IsInhibited 8 | grep -q true; }
logind() {
  as_user gdbus call --system --dest org.freedesktop.login1 --object-path /org/freedesktop/login1 \
    --method "org.freedesktop.login1.Manager.$1" c1 >/dev/null
}

wait_for_saver
poll 3 saver_covers_screen || fail "the saver does not cover the screen (the overview or the top bar shows)"
poll 10 eval 'shell_property OverviewActive | grep -q false' || fail "the overview is still open"
saver=$(saver_pid)
press_key
poll 30 ended "$saver" || fail "the key did not end the saver"

# Each holds idle back for as long as its input stays open.
for inhibitor in "gnome-session-inhibit --inhibit idle cat" \
  "/usr/bin/python3 -c 'import sys; from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)  # kept: the proxy ends the inhibition when we leave
bus.call_sync(\"org.freedesktop.ScreenSaver\", \"/org/freedesktop/ScreenSaver\", \"org.freedesktop.ScreenSaver\",
              \"Inhibit\", GLib.Variant(\"(ss)\", (\"player\", \"a video\")), None, 0, -1)
sys.stdin.read()'"; do
  poll 30 saver_runs || fail "the saver did not start again after a key and two idle seconds"
  exec {holder}> >(exec_as_compositor sh -c "$inhibitor")
  holder_pid=$!
  poll 10 idle_inhibited || fail "$inhibitor: the session manager does not say idle is inhibited"
  # Announced within seconds of the saver's start, the inhibition counts as taken before it, and
  # the watcher may already have ended the saver; otherwise the key ends it.
  saver=$(saver_pid || true)
  press_key
  [ -z "$saver" ] || poll 30 ended "$saver" || fail "the key did not end the saver"
  poll 30 idle_for_at_least 4000 || fail "mutter's idle time did not reach 4 s"
  saver_runs && fail "$inhibitor: the saver started while idle was inhibited"
  exec {holder}>&-
  poll 10 gone "$holder_pid" || fail "$inhibitor: did not end with its input"
  poll 30 saver_runs || fail "$inhibitor: the saver did not start once the inhibition ended"
done

# The shield, brought on by logind or by the shell's own idle delay (seconds, with the saver's
# two), shows above the saver, which has ended once logind unlocks the session.
for shield in "logind LockSession" "as_user gsettings set org.gnome.desktop.session idle-delay 5"; do
  wait_for_saver
  poll 3 saver_covers_screen || fail "the saver does not cover the screen"
  $shield
  poll 30 shield_active true || fail "$shield: the shell's shield did not come on"
  poll 3 saver_hidden || fail "$shield: the saver shows above the shell's shield"
  as_user gsettings set org.gnome.desktop.session idle-delay 0
  logind UnlockSession
  poll 30 shield_active false || fail "$shield: the shell's shield did not go away on unlocking"
  poll 10 eval '! saver_runs' || fail "$shield: the saver still runs once the session is unlocked"
  press_key
done
# The shield up when the idle time comes: no saver under it; its end starts the idle time again.
logind LockSession
poll 30 shield_active true || fail "the shell's shield did not come on"
poll 30 grep -q "held off by GNOME's own screen lock" "$WORK/watcher.err" ||
  fail "not held off by the shell's shield: $(grep -v '^\[' "$WORK/watcher.err" | tail -n 5)"
saver_runs && fail "the saver runs under the shell's shield"
logind UnlockSession
poll 30 saver_runs || fail "the saver did not come after the shield went"
stop_watcher
nothing_left
