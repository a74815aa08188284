#!/usr/bin/env bash
# Players that keep the screen on without the compositor's idle-inhibit protocol keep the watcher
# (--idle 2) from starting the saver, and it starts once they let go; with real clients where
# Debian has them. $3 names the way they ask:
#   screensaver SESSION  our org.freedesktop.ScreenSaver on a private session bus, under sway or
#                        Xvfb: gdbus's Inhibit ends as gdbus leaves the bus; a player holding one
#                        keeps the saver off until it leaves; SimulateUserActivity ends a running
#                        saver, which comes again after the idle time; GetActive says whether it
#                        runs; a NameLost forged by a peer changes nothing; a service that asks to
#                        replace ours gets the name.
#   logind               systemd-inhibit --what=idle against a stand-in logind on a private system
#                        bus that, like logind, announces no change (Xvfb).
#   xdg_screensaver      xdg-screensaver suspend/resume outside a desktop (xset s off, xset s 600).
#   xset_off             the server's saver already off when the watcher starts: the saver comes.
#   plasma               a stand-in of Plasma's screen locker and power manager owns the name; an
#                        inhibition taken there keeps the saver off until UnInhibit (Xvfb).
#   plasma_late          the same, counted 5 s after it is taken, as PowerDevil does: a saver that
#                        came meanwhile ends.
#   plasma_locked        the stand-in's lock is up: no saver; its end starts the idle time again;
#                        a lock that comes up ends a running saver.
#   logind_locked        the stand-in logind's session LockedHint: no saver while it is true.
#   mute_system_bus      a system bus that accepts and never answers: the saver still comes, and
#                        SIGTERM still ends the watcher.
source "$(dirname "$0")/lib.sh"
HERE="$(dirname "$0")"
way="${3:?usage: $0 SAVER - screensaver sway|x11 | logind | xdg_screensaver | xset_off | plasma[_late|_locked] | logind_locked | mute_system_bus}"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus"

if [ "${4:-x11}" = sway ]; then start_sway 1 640x480; else start_xvfb; fi

# Nothing to poll for when the answer is "nothing starts": well past twice the idle time, the
# watcher has said it is held off, and no saver runs.
held_off_by() {
  sleep 5
  grep -q "held off by .*$1" "$WORK/saver.err" || fail "not held off by $1: $(cat "$WORK/saver.err")"
  saver_gone || fail "the saver runs although $1 holds it off"
}
comes_back() { poll 30 saver_runs || fail "the saver did not start: $(cat "$WORK/saver.err")"; }
screensaver() {
  gdbus call --session --dest org.freedesktop.ScreenSaver --object-path "${2:-/ScreenSaver}" \
    --method "org.freedesktop.ScreenSaver.$1" "${@:3}"
}

case "$way" in
screensaver)
  start_session_bus
  start_watcher 2
  poll 10 grep -q "serving org.freedesktop.ScreenSaver" "$WORK/saver.err" || fail "not served: $(cat "$WORK/saver.err")"
  screensaver Inhibit /org/freedesktop/ScreenSaver gdbus "leaves at once" >/dev/null
  poll 10 grep -q "left the bus; its inhibitions end" "$WORK/saver.err" || fail "gdbus's inhibition outlived it"
  start_player
  # NameLost sent to the watcher by a peer, not by the bus: it keeps the name and the inhibition.
  owner=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetNameOwner org.freedesktop.ScreenSaver | sed "s/^('\(.*\)',)$/\1/")
  gdbus emit --session --dest "$owner" --object-path /org/freedesktop/DBus \
    --signal org.freedesktop.DBus.NameLost org.freedesktop.ScreenSaver
  # The saver may have come before the player: simulated activity ends it and restarts the wait.
  screensaver SimulateUserActivity >/dev/null
  held_off_by "'player' (:1.[0-9]*): a film"
  [ "$(screensaver GetActive)" = "(false,)" ] || fail "GetActive says the saver runs"
  exec {PLAYER[1]}>&-
  comes_back
  [ "$(screensaver GetActive)" = "(true,)" ] || fail "GetActive says the saver does not run"
  running=$(saver_pid)
  screensaver SimulateUserActivity >/dev/null
  poll 10 gone "$running" || fail "simulated activity did not end the saver"
  comes_back
  # A desktop's own service, started later, takes the name over.
  /usr/bin/python3 -c 'from gi.repository import Gio, GLib
Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.ScreenSaver", Gio.BusNameOwnerFlags.REPLACE, None, None, None)
GLib.MainLoop().run()' &
  PIDS+=("$!")
  poll 10 grep -q "another service took org.freedesktop.ScreenSaver" "$WORK/saver.err" || fail "the name was not given up"
  ;;
logind)
  start_system_bus
  start_login1 --no-changed-signals
  systemd-inhibit --what=idle --who=player --why="a film" sleep 600 &
  inhibitor=$!
  PIDS+=("$inhibitor")
  poll 10 grep -q "^inhibit idle block player" "$WORK/login1.out" || fail "systemd-inhibit took no lock"
  start_watcher 2
  held_off_by "logind idle lock of 'player' (pid [0-9]*, uid 0): a film"
  pkill -TERM -P "$inhibitor" sleep
  poll 10 grep -q "^released idle block player" "$WORK/login1.out" || fail "the lock was not released"
  comes_back
  ;;
xdg_screensaver)
  xset s 600
  xmessage -geometry 200x100 -title player "a film" &
  PIDS+=("$!")
  poll 10 xdotool search --name '^player$' || fail "no player window"
  window=$(xdotool search --name '^player$' | head -n1)
  start_watcher 2
  poll 10 grep -q "idle source: X11" "$WORK/saver.err" || fail "the X11 source was not chosen"
  xdg-screensaver suspend "$window"
  [ "$(xset q | awk '/timeout:/ {print $2}')" = 0 ] || fail "xdg-screensaver did not switch the server's saver off"
  xdotool key space  # the saver may have come before the player
  held_off_by "the X server's saver switched off"
  xdg-screensaver resume "$window"
  rm -f "/tmp/xdg-screensaver-${USER:-}-${DISPLAY//:/-}"*
  comes_back
  ;;
xset_off)
  xset s off
  start_watcher 2
  comes_back
  ;;
plasma)
  start_session_bus
  /usr/bin/python3 "$HERE/plasma_stand_in.py" >"$WORK/plasma.out" 2>"$WORK/plasma.err" &
  PIDS+=("$!")
  poll 30 grep -q ready "$WORK/plasma.out" || fail "the Plasma stand-in did not start: $(cat "$WORK/plasma.err")"
  cookie=$(screensaver Inhibit /ScreenSaver player "a film" | sed 's/^(uint32 \([0-9]*\),)$/\1/')
  start_watcher 2
  held_off_by "Plasma's power management: 'player': a film"
  grep -q "org.freedesktop.ScreenSaver not served by us" "$WORK/saver.err" || fail "the watcher took Plasma's name"
  screensaver UnInhibit /ScreenSaver "$cookie" >/dev/null
  comes_back
  ;;
plasma_late)
  start_session_bus
  /usr/bin/python3 "$HERE/plasma_stand_in.py" --delay >"$WORK/plasma.out" 2>"$WORK/plasma.err" &
  PIDS+=("$!")
  poll 30 grep -q ready "$WORK/plasma.out" || fail "the Plasma stand-in did not start: $(cat "$WORK/plasma.err")"
  cookie=$(screensaver Inhibit /ScreenSaver player "a film" | sed 's/^(uint32 \([0-9]*\),)$/\1/')
  start_watcher 2
  # Whether the saver came before the stand-in counted the inhibition or not, it is off after.
  poll 30 grep -q "held off by Plasma's power management: 'player': a film" "$WORK/saver.err" ||
    fail "not held off by the late inhibition: $(cat "$WORK/saver.err")"
  poll 10 saver_gone || fail "the saver covers the film"
  screensaver UnInhibit /ScreenSaver "$cookie" >/dev/null
  comes_back
  ;;
plasma_locked)
  start_session_bus
  coproc PLASMA { exec /usr/bin/python3 "$HERE/plasma_stand_in.py" 2>"$WORK/plasma.err"; }
  PIDS+=("$PLASMA_PID")
  read -r -t 30 -u "${PLASMA[0]}" ready || true
  [ "$ready" = ready ] || fail "the Plasma stand-in did not start: $(cat "$WORK/plasma.err")"
  echo lock >&"${PLASMA[1]}"
  lock_up() { [ "$(screensaver GetActive)" = "(true,)" ]; }
  poll 10 lock_up || fail "the stand-in's lock is not up"
  start_watcher 2
  held_off_by "Plasma's own screen lock"
  echo unlock >&"${PLASMA[1]}"
  poll 10 grep -q "held off by the desktop's own lock, which ended" "$WORK/saver.err" ||
    fail "the lock's end did not restart the idle time: $(cat "$WORK/saver.err")"
  comes_back
  echo lock >&"${PLASMA[1]}"
  poll 10 saver_gone || fail "the saver runs under the desktop's lock"
  ;;
logind_locked)
  start_system_bus
  start_login1
  set_hint() {
    gdbus call --system --dest org.freedesktop.login1 --object-path /org/freedesktop/login1/session/c1 \
      --method org.freedesktop.login1.Session.SetLockedHint "$1" >/dev/null
  }
  set_hint true
  start_watcher 2
  held_off_by "the session is locked (LockedHint)"
  set_hint false
  comes_back
  ;;
mute_system_bus)
  compositor_user
  mkdir -m 700 "$WORK/mute"
  if [ -n "$COMPOSITOR_USER" ]; then chown "$COMPOSITOR_USER" "$WORK/mute"; fi
  exec_as_compositor /usr/bin/python3 "$HERE/login1_stand_in.py" --mute "$WORK/mute/bus" >"$WORK/login1.out" 2>&1 &
  PIDS+=("$!")
  poll 30 grep -q '^ready$' "$WORK/login1.out" || fail "the mute bus did not start: $(cat "$WORK/login1.out")"
  export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/mute/bus"
  start_watcher 2
  comes_back
  ;;
*) fail "no such way: $way" ;;
esac
stop_watcher
echo "inhibit $way: ok"
