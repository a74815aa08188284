#!/usr/bin/env bash
# The watcher's control interface through the commands a user types, on a private session bus.
# $3 names the session:
#   sway  every command without a watcher: one line, exit 1; then with --idle 1: --pause 3 keeps
#         the saver off past the idle time and it comes after; a browser-style inhibition (a
#         process that stays on the bus) shows in --status with its holder, path and reason, and
#         the saver comes when it goes; --watch --json gives lines that parse and follow it all,
#         and ends with one line when the watcher does. The interface matches the installed XML.
#   x11   (Xvfb) --activate starts the saver long before the idle time and a key ends it;
#         xdg-screensaver suspend shows in --status.
source "$(dirname "$0")/lib.sh"
HERE="$(dirname "$0")"
session="${3:?usage: $0 SAVER - sway|x11}"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID

status() { "$SAVER" --status "$@" 2>"$WORK/status.err"; }
status_says() { status >"$WORK/status.out" && grep -qF -- "$1" "$WORK/status.out"; }
json_state() { status --json | python3 -c 'import json, sys; print(json.load(sys.stdin)["state"])'; }
# A key ends the saver: typed again while it runs (the saver may take the keyboard late).
key_ends_saver() {
  for _ in 1 2 3 4 5; do
    if [ "$session" = sway ]; then wtype -s 300 -k space; else xdotool key space; fi
    if poll 3 saver_gone; then return 0; fi
  done
  fail "a key did not end the saver: $(cat "$WORK/saver.err")"
}
wait_serving() {
  poll 10 grep -q "serving org.example.smokedrift.Watcher" "$WORK/saver.err" ||
    fail "the control interface is not served: $(cat "$WORK/saver.err")"
}

case "$session" in
sway)
  start_sway 1 320x240
  # No session bus, then a bus without a watcher: each command says so in one line, exit 1.
  for bus in "unix:path=$WORK/no-bus" ""; do
    if [ -n "$bus" ]; then export DBUS_SESSION_BUS_ADDRESS="$bus"; else start_session_bus; fi
    for words in "--status" "--status --json" "--activate" "--pause 3" "--resume" "--watch" "--watch --json"; do
      code=0
      # shellcheck disable=SC2086 # the words are the arguments
      "$SAVER" $words >"$WORK/out" 2>"$WORK/err" || code=$?
      [ "$code" -eq 1 ] && [ ! -s "$WORK/out" ] && [ "$(wc -l <"$WORK/err")" -eq 1 ] ||
        fail "'$words' without a watcher exited with $code and said: $(cat "$WORK/out" "$WORK/err")"
    done
  done
  grep -q "no watcher runs in this session" "$WORK/err" || fail "a bus without a watcher: $(cat "$WORK/err")"

  start_watcher 1
  wait_serving
  "$SAVER" --watch --json >"$WORK/watch.out" 2>"$WORK/watch.err" &
  watch=$!
  PIDS+=("$watch")
  poll 10 test -s "$WORK/watch.out" || fail "--watch printed nothing: $(cat "$WORK/watch.err")"

  # Paused: idle and still no saver, which comes when the pause ends.
  "$SAVER" --pause 3 || fail "--pause 3 exited with $?"
  if saver_runs; then key_ends_saver; fi  # it came before the pause; the pause keeps it away now
  poll 10 status_says "idle for" || fail "the session did not go idle while paused: $(cat "$WORK/status.out")"
  grep -q "^smokedrift watcher: paused" "$WORK/status.out" || fail "not paused: $(cat "$WORK/status.out")"
  saver_gone || fail "the saver runs while paused"
  poll 30 saver_runs || fail "the saver did not come after the pause"
  key_ends_saver

  # A browser's inhibition, held by a process that stays on the bus.
  coproc BROWSER { exec /usr/bin/python3 -c 'import sys; from gi.repository import Gio, GLib
c = Gio.bus_get_sync(Gio.BusType.SESSION, None)
c.call_sync("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "Inhibit",
            GLib.Variant("(ss)", ("firefox", "video-playing")), None, 0, -1, None)
print("held", flush=True)
sys.stdin.read()'; }
  PIDS+=("$BROWSER_PID")
  read -r -t 20 -u "${BROWSER[0]}" _ || fail "the browser could not inhibit"
  if saver_runs; then key_ends_saver; fi
  poll 10 status_says "held off by firefox (org.freedesktop.ScreenSaver): video-playing, since " ||
    fail "--status does not name the browser: $(cat "$WORK/status.out")"
  poll 10 status_says "smokedrift watcher: idle, but held off" || fail "not held off: $(cat "$WORK/status.out")"
  cat "$WORK/status.out"
  exec {BROWSER[1]}>&-
  poll 30 saver_runs || fail "the saver did not come after the browser let go"
  [ "$(json_state)" = saver-running ] || fail "--status --json does not say the saver runs"
  key_ends_saver

  # Every line parses, and the states follow the cycle in order.
  cat >"$WORK/cycle.py" <<'PY'
import json, sys
states = [json.loads(line)["state"] for line in open(sys.argv[1])]
cycle = ["waiting", "paused", "saver-running", "waiting", "held-off", "saver-running", "waiting"]
it = iter(states)
missing = [s for s in cycle if s not in it]
sys.exit("missing %s in %s" % (missing, states) if missing else 0)
PY
  poll 10 python3 "$WORK/cycle.py" "$WORK/watch.out" ||
    fail "--watch --json: $(python3 "$WORK/cycle.py" "$WORK/watch.out" 2>&1)"

  # The interface served is the one installed for introspection tools.
  gdbus introspect --session --dest org.example.smokedrift.Watcher --object-path /org/example/smokedrift/Watcher \
    --xml >"$WORK/served.xml" || fail "gdbus introspect failed"
  python3 - "$WORK/served.xml" "$HERE/../../res/org.example.smokedrift.Watcher.xml" <<'PY' || fail "the XML differs"
import sys, xml.etree.ElementTree as ET
def members(path):
    i = [e for e in ET.parse(path).getroot() if e.get("name") == "org.example.smokedrift.Watcher"][0]
    return sorted((e.tag, e.get("name"), e.get("type"), tuple(a.get("type") for a in e.iter("arg"))) for e in i)
served, installed = members(sys.argv[1]), members(sys.argv[2])
sys.exit(None if served == installed else "served %s\ninstalled %s" % (served, installed))
PY

  stop_watcher
  code=0
  poll 10 gone "$watch" || fail "--watch outlived the watcher"
  wait "$watch" || code=$?
  reaped "$watch"
  [ "$code" -eq 1 ] && [ "$(wc -l <"$WORK/watch.err")" -eq 1 ] ||
    fail "--watch ended with $code: $(cat "$WORK/watch.err")"
  ;;
x11)
  start_xvfb
  start_session_bus
  xset s 600
  start_watcher 600
  wait_serving
  "$SAVER" --activate || fail "--activate exited with $?"
  poll 30 saver_runs || fail "--activate did not start the saver: $(cat "$WORK/saver.err")"
  key_ends_saver
  poll 10 status_says "smokedrift watcher: waiting" || fail "not waiting again: $(cat "$WORK/status.out")"
  xmessage -geometry 200x100 -title player "a film" &
  PIDS+=("$!")
  poll 10 xdotool search --name '^player$' || fail "no player window"
  window=$(xdotool search --name '^player$' | head -n1)
  xdg-screensaver suspend "$window"
  [ "$(xset q | awk '/timeout:/ {print $2}')" = 0 ] || fail "xdg-screensaver did not switch the server's saver off"
  poll 10 status_says "held off by xset s off (the X server's saver)" ||
    fail "--status does not name xdg-screensaver's suspension: $(cat "$WORK/status.out")"
  xdg-screensaver resume "$window"
  rm -f "/tmp/xdg-screensaver-${USER:-}-${DISPLAY//:/-}"*
  stop_watcher
  ;;
*) fail "no such session: $session" ;;
esac
echo "control $session: ok"
