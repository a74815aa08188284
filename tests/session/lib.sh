# Helpers of the idle watcher's tests, over the Wayland level's (a private compositor per test,
# screenshots, keys, clean-up). Arguments: the program, "-" (no pointer here), the stand-in player.
source "$(dirname "${BASH_SOURCE[0]}")/../wayland/lib.sh"
INHIBITOR="${3:-}"

# The watcher is started with start_saver, so SAVER_PID is the watcher's pid.
start_watcher() { start_saver --idle "$@" --verbose; }

# The idle protocol the watcher takes under the sway installed: KDE's on sway 1.7 (Debian 12), which
# has no ext-idle-notify; ext-idle-notify from 1.8 on (Debian 13's 1.10).
sway_idle_protocol() {
  case "$(sway --version)" in *" 1.7"*) echo org_kde_kwin_idle ;; *) echo ext_idle_notifier_v1 ;; esac
}

# The saver the watcher runs now (its child), or nothing.
saver_pid() { pgrep -P "$SAVER_PID" || true; }

saver_runs() { [ -n "$(saver_pid)" ]; }
saver_gone() { [ -z "$(saver_pid)" ]; }

# start_session_bus: a private session bus for the test's processes, its socket under $WORK;
# exports DBUS_SESSION_BUS_ADDRESS.
start_session_bus() {
  dbus-daemon --session --nofork --address="unix:path=$WORK/session-bus" --print-address \
    >"$WORK/session-bus.address" 2>"$WORK/session-bus.log" &
  PIDS+=("$!")
  poll 30 test -s "$WORK/session-bus.address" || fail "the session bus did not start: $(cat "$WORK/session-bus.log")"
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$WORK/session-bus.address")
  export DBUS_SESSION_BUS_ADDRESS
}

# The process and every process under it.
process_tree() {
  local child
  echo "$1"
  for child in $(pgrep -P "$1" || true); do process_tree "$child"; done
}

# times_started: how often the watcher said it started the saver.
times_started() { grep -c "the saver started" "$WORK/saver.err" || true; }
started_at_least() { [ "$(times_started)" -ge "$1" ]; }

# stop_watcher: SIGTERM ends the watcher with 0, and nothing it started is left.
stop_watcher() {
  local tree
  tree=$(process_tree "$SAVER_PID")
  kill -TERM "$SAVER_PID"
  expect_exit 0
  for pid in $tree; do
    poll 5 gone "$pid" || fail "process $pid ($(cat /proc/"$pid"/cmdline 2>/dev/null | tr '\0' ' ')) outlived the watcher"
  done
}

# start_system_bus: a private system bus (no real one runs here) for the session's user, its
# socket in a folder only that user (and root) can enter; exports DBUS_SYSTEM_BUS_ADDRESS. Ended
# by stop_system_bus, or with the test's other processes.
SYSTEM_BUS_PID=""
start_system_bus() {
  local dir="$WORK/system-bus"
  mkdir -m 700 "$dir"
  compositor_user
  cat >"$dir/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$dir/socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
  </policy>
</busconfig>
CONF
  if [ -n "$COMPOSITOR_USER" ]; then chown -R "$COMPOSITOR_USER" "$dir"; fi
  exec_as_compositor dbus-daemon --config-file="$dir/bus.conf" --nofork --print-address \
    >"$dir/address" 2>"$WORK/system-bus.log" &
  SYSTEM_BUS_PID=$!
  PIDS+=("$SYSTEM_BUS_PID")
  poll 30 test -s "$dir/address" || fail "the private system bus did not start: $(cat "$WORK/system-bus.log")"
  DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$dir/address")
  export DBUS_SYSTEM_BUS_ADDRESS
}

stop_system_bus() {
  if [ -z "$SYSTEM_BUS_PID" ]; then return 0; fi
  kill -TERM "$SYSTEM_BUS_PID" 2>/dev/null || true
  poll 10 gone "$SYSTEM_BUS_PID" || fail "the private system bus did not end"
  wait "$SYSTEM_BUS_PID" 2>/dev/null || true
  reaped "$SYSTEM_BUS_PID"
  SYSTEM_BUS_PID=""
  unset DBUS_SYSTEM_BUS_ADDRESS
}

# start_login1 [--display-manager] [--no-changed-signals]: the stand-in logind
# (login1_stand_in.py) on the private system bus, as the session's user; what it reports goes to
# login1.out. Needs start_system_bus first.
LOGIN1_PID=""
start_login1() {
  exec_as_compositor /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/login1_stand_in.py" "$@" \
    >"$WORK/login1.out" 2>"$WORK/login1.err" &
  LOGIN1_PID=$!
  PIDS+=("$LOGIN1_PID")
  poll 30 grep -q '^ready$' "$WORK/login1.out" || fail "the stand-in logind did not start: $(cat "$WORK/login1.err")"
}

# start_player [exec_as_compositor]: a player that takes an org.freedesktop.ScreenSaver inhibition
# ("player", "a film") and holds it while it stays on the bus, until its input closes
# (exec {PLAYER[1]}>&-); its cookie in `cookie`, its pid in `player`.
start_player() {
  coproc PLAYER { "${@:-exec}" /usr/bin/python3 -c 'import sys; from gi.repository import Gio, GLib
c = Gio.bus_get_sync(Gio.BusType.SESSION, None)
print(c.call_sync("org.freedesktop.ScreenSaver", "/ScreenSaver", "org.freedesktop.ScreenSaver", "Inhibit",
                  GLib.Variant("(ss)", ("player", "a film")), None, 0, -1, None)[0], flush=True)
sys.stdin.read()'; }
  player=$PLAYER_PID  # bash unsets PLAYER_PID once the player ends
  PIDS+=("$player")
  read -r -t 20 -u "${PLAYER[0]}" cookie || fail "the player got no cookie"
}

# stop_compositor for a compositor under dbus-run-session, which does not pass SIGTERM on: the
# whole tree, the compositor and its bus.
stop_compositor_tree() {
  [ -n "$COMPOSITOR_PID" ] || return 0
  local tree pid
  tree=$(process_tree "$COMPOSITOR_PID")
  for pid in $tree; do kill -TERM "$pid" 2>/dev/null || true; done
  for pid in $tree; do poll 10 gone "$pid" || kill -KILL "$pid" 2>/dev/null || true; done
  COMPOSITOR_PID=""
}
