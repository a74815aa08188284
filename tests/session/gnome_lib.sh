# The GNOME session of the idle-watcher tests: mutter (headless on Wayland, or on a private Xvfb)
# under its own session bus (dbus-run-session), a stand-in session manager, keys through mutter's
# RemoteDesktop, and the watcher itself. Everything runs as the compositor's user, since a session bus admits only its
# own user. Sourced by the gnome_*.sh scripts with the saver as $1, after the Wayland helpers
# (private runtime folder, user, poll, fail, clean-up).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
HERE="$(dirname "${BASH_SOURCE[0]}")"
command -v mutter >/dev/null || skip "mutter is not installed"

MUTTER_PID=""
DAEMON_PID=""
MANAGER_PID=""
WATCHER_PID=""
KEYBOARD_HELPER=""
KEYBOARD_IN=""
KEYBOARD_OUT=""

# Runs the rest of the line as the compositor's user, in the session (exec_as_compositor for
# what runs in the background).
as_user() {
  if [ -n "$COMPOSITOR_USER" ]; then
    setpriv --reuid="$COMPOSITOR_USER" --regid="$COMPOSITOR_USER" --clear-groups -- "$@"
  else
    "$@"
  fi
}

# A process gone, or only a zombie its exited parent left to init.
ended() { ! kill -0 "$1" 2>/dev/null || [ "$(ps -o stat= -p "$1" 2>/dev/null | cut -c1)" = Z ]; }

# start_mutter [x11]: mutter with a 640x480 virtual monitor on Wayland, or as the window manager
# of a private Xvfb; exports the session's variables. mutter runs under dbus-run-session, which
# ends the bus when mutter ends.
start_mutter() {
  make_runtime_dir
  local session=(--headless --wayland --no-x11 --virtual-monitor 640x480 --wayland-display=wayland-1)
  if [ "${1:-}" = x11 ]; then
    start_xvfb
    session=(--x11 --replace)
  fi
  exec_as_compositor env HOME="$RUNTIME" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- sh -c \
    'echo "$DBUS_SESSION_BUS_ADDRESS" >"$0/bus.address"; echo $$ >"$0/mutter.pid"; exec mutter "$@"' \
    "$RUNTIME" "${session[@]}" >"$WORK/mutter.log" 2>&1 &
  COMPOSITOR_PID=$!
  poll 30 test -s "$RUNTIME/mutter.pid" || fail "mutter did not start: $(cat "$WORK/mutter.log")"
  MUTTER_PID=$(cat "$RUNTIME/mutter.pid")
  DAEMON_PID=$(pgrep -P "$COMPOSITOR_PID" dbus-daemon) || fail "no bus daemon under dbus-run-session"
  export XDG_RUNTIME_DIR="$RUNTIME"
  DBUS_SESSION_BUS_ADDRESS=$(cat "$RUNTIME/bus.address")
  export DBUS_SESSION_BUS_ADDRESS
  poll 30 name_owned org.gnome.Mutter.IdleMonitor || fail "mutter's idle monitor did not appear: $(tail "$WORK/mutter.log")"
  if [ "${1:-}" != x11 ]; then
    poll 30 test -S "$RUNTIME/wayland-1" || fail "mutter's Wayland socket did not appear"
    export WAYLAND_DISPLAY=wayland-1
  fi
}

# start_gnome_shell: GNOME Shell headless on a 640x480 virtual monitor, as the one required
# component of a session of our own under gnome-session (which brings the session
# manager and gnome-settings-daemon's plugins, among them the org.freedesktop.ScreenSaver proxy),
# with a private system bus holding the stand-in logind and display manager that its lock screen
# needs. Exports the session's variables.
start_gnome_shell() {
  command -v gnome-shell >/dev/null || skip "gnome-shell is not installed"
  command -v gnome-session >/dev/null || skip "gnome-session is not installed"
  start_system_bus
  start_login1 --display-manager
  make_runtime_dir
  local data="$WORK/data"
  mkdir -p "$data/gnome-session/sessions" "$data/applications"
  printf '[GNOME Session]\nName=smokedrift test\nRequiredComponents=smokedrift-test-shell;\n' \
    >"$data/gnome-session/sessions/smokedrift-test.session"
  printf '%s\n' '[Desktop Entry]' Type=Application Name=shell X-GNOME-Autostart-Phase=DisplayServer \
    X-GNOME-Autostart-Notify=true X-GNOME-AutoRestart=false X-GNOME-Provides='panel;windowmanager;' \
    'Exec=gnome-shell --headless --wayland --no-x11 --virtual-monitor 640x480 --wayland-display=wayland-1' \
    >"$data/applications/smokedrift-test-shell.desktop"
  chmod -R a+rX "$data"
  # gnome-session 48 (Debian 13) has no --builtin: started without it and without systemd, it fails
  # to start its systemd target and then starts the session itself.
  # (Read whole: grep -q would leave at the match, and a pipe whose writer then dies of SIGPIPE
  # fails under pipefail, which would drop --builtin where it exists.)
  local builtin=--builtin help
  help=$(/usr/libexec/gnome-session-binary --help 2>/dev/null) || true
  [[ $help == *--builtin* ]] || builtin=
  exec_as_compositor env HOME="$RUNTIME" XDG_RUNTIME_DIR="$RUNTIME" XDG_SESSION_TYPE=wayland \
    XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_ID=c1 XDG_DATA_DIRS="$data:/usr/share" dbus-run-session -- sh -c \
    'echo "$DBUS_SESSION_BUS_ADDRESS" >"$0/bus.address"; echo $$ >"$0/mutter.pid"
     exec gnome-session $1 --session=smokedrift-test --disable-acceleration-check' \
    "$RUNTIME" "$builtin" >"$WORK/mutter.log" 2>&1 &
  COMPOSITOR_PID=$!
  poll 30 test -s "$RUNTIME/mutter.pid" || fail "gnome-session did not start: $(cat "$WORK/mutter.log")"
  MUTTER_PID=$(cat "$RUNTIME/mutter.pid")
  export XDG_RUNTIME_DIR="$RUNTIME"
  DBUS_SESSION_BUS_ADDRESS=$(cat "$RUNTIME/bus.address")
  export DBUS_SESSION_BUS_ADDRESS
  if ! poll 60 name_owned org.freedesktop.ScreenSaver; then
    local log
    log=$(grep -v -e '^\s*$' "$WORK/mutter.log" | tail -n 20)
    gone "$COMPOSITOR_PID" && skip "GNOME Shell cannot run here: $log"
    fail "the session did not come up: $log"
  fi
  poll 30 test -S "$RUNTIME/wayland-1" || fail "GNOME Shell's Wayland socket did not appear"
  export WAYLAND_DISPLAY=wayland-1
}

# Mutter (or gnome-session) ends; dbus-run-session then ends the bus and itself. What the
# session started (gnome-session leaves its children running) ends with it.
SESSION_TREE=""
stop_compositor() {
  if [ -z "$COMPOSITOR_PID" ]; then return 0; fi
  SESSION_TREE=$(process_tree "$COMPOSITOR_PID")
  if [ -n "$MUTTER_PID" ]; then kill -TERM "$MUTTER_PID" 2>/dev/null || true; fi
  poll 10 gone "$COMPOSITOR_PID" || kill -KILL "$MUTTER_PID" "$COMPOSITOR_PID" 2>/dev/null || true
  wait "$COMPOSITOR_PID" 2>/dev/null || true
  local pid
  for pid in $SESSION_TREE; do kill -TERM "$pid" 2>/dev/null || true; done
  for pid in $SESSION_TREE; do poll 5 ended "$pid" || kill -KILL "$pid" 2>/dev/null || true; done
  COMPOSITOR_PID=""
}

# shell_property NAME: org.gnome.Shell's property, as gdbus prints it.
shell_property() {
  as_user gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
    --method org.freedesktop.DBus.Properties.Get org.gnome.Shell "$1"
}

# shell_screenshot FILE: the whole screen through GNOME Shell, which answers only names on its
# list: the caller takes org.gnome.Screenshot first. FILE must be the compositor user's to write.
shell_screenshot() {
  as_user /usr/bin/python3 -c 'import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
              GLib.Variant("(su)", ("org.gnome.Screenshot", 4)), None, 0, -1, None)
ok = bus.call_sync("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot",
                   "Screenshot", GLib.Variant("(bbs)", (False, False, sys.argv[1])), None, 0, 10000, None)[0]
sys.exit(0 if ok else 1)' "$1"
}

name_owned() {
  as_user gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$1" | grep -q true
}

# mutter's idle time in milliseconds.
idletime() {
  as_user gdbus call --session --dest org.gnome.Mutter.IdleMonitor --object-path /org/gnome/Mutter/IdleMonitor/Core \
    --method org.gnome.Mutter.IdleMonitor.GetIdletime | sed 's/^(uint64 \([0-9]*\),)$/\1/'
}
idle_for_at_least() { [ "$(idletime)" -ge "$1" ]; }

# start_manager [--hide-actions]: the stand-in session manager; its answers go to manager.out.
start_manager() {
  exec_as_compositor /usr/bin/python3 "$HERE/session_manager.py" "$@" >"$WORK/manager.out" 2>"$WORK/manager.err" &
  MANAGER_PID=$!
  PIDS+=("$MANAGER_PID")
  poll 30 grep -q ready "$WORK/manager.out" || fail "the stand-in session manager did not start: $(cat "$WORK/manager.err")"
}

manager() {
  as_user gdbus call --session --dest org.gnome.SessionManager --object-path /org/gnome/SessionManager \
    --method "org.gnome.SessionManager.$1" "${@:2}"
}

# An idle inhibition as a video player takes it (flag 8); its cookie in COOKIE.
inhibit_idle() {
  COOKIE=$(manager Inhibit player 0 "playing a video" 8 | sed 's/^(uint32 \([0-9]*\),)$/\1/')
  [ -n "$COOKIE" ] || fail "the stand-in session manager gave no cookie"
}

# The watcher with --idle 2 --verbose; the saver it starts reports its Wayland requests on stderr,
# which shows whether it drew.
start_watcher() {
  exec_as_compositor env WAYLAND_DEBUG=client "$SAVER" --idle 2 --verbose >"$WORK/watcher.out" 2>"$WORK/watcher.err" &
  WATCHER_PID=$!
  PIDS+=("$WATCHER_PID")
}

# The saver the watcher runs: its only child.
saver_pid() { pgrep -P "$WATCHER_PID"; }
saver_runs() { [ -n "$(saver_pid)" ]; }
saver_drew() { grep -q 'wl_surface[@#][0-9]*\.attach(wl_buffer[@#]' "$WORK/watcher.err"; }

wait_for_saver() {
  poll 30 saver_runs || fail "the saver did not start: $(grep -v '^\[' "$WORK/watcher.err" | tail)"
  poll 30 saver_drew || fail "the saver drew nothing"
}

# The RemoteDesktop keyboard (remote_keyboard.py), up before the saver so that the saver finds
# the keyboard on the seat when it starts.
start_keyboard() {
  coproc KEYBOARD { exec_as_compositor /usr/bin/python3 "$HERE/remote_keyboard.py" 2>"$WORK/keyboard.err"; }
  # Bash forgets the coprocess's variables once it ends: keep them.
  KEYBOARD_HELPER=$KEYBOARD_PID KEYBOARD_IN=${KEYBOARD[1]} KEYBOARD_OUT=${KEYBOARD[0]}
  PIDS+=("$KEYBOARD_HELPER")
  keyboard_answers || fail "mutter's RemoteDesktop gave no keyboard: $(cat "$WORK/keyboard.err")"
  # Mutter 43 delivers no client the first key of a new remote-desktop keyboard: spend it here.
  press_key
}

keyboard_answers() {
  local reply=""
  read -r -t 10 -u "$KEYBOARD_OUT" reply || true
  [ "$reply" = ok ]
}

press_key() {
  echo key >&"$KEYBOARD_IN" && keyboard_answers || fail "the keyboard helper failed: $(cat "$WORK/keyboard.err")"
}

# SIGTERM ends the watcher with 0 and the saver with it.
stop_watcher() {
  local saver
  saver=$(saver_pid || true)
  kill -TERM "$WATCHER_PID"
  poll 30 gone "$WATCHER_PID" || fail "the watcher did not end on SIGTERM"
  local code=0
  wait "$WATCHER_PID" || code=$?
  reaped "$WATCHER_PID"
  [ "$code" -eq 0 ] || fail "the watcher ended with $code on SIGTERM: $(grep -v '^\[' "$WORK/watcher.err" | tail)"
  if [ -n "$saver" ]; then poll 10 ended "$saver" || fail "the saver outlived its watcher"; fi
}

# After the test: mutter, the bus, the stand-in, the watcher and its saver all ended.
nothing_left() {
  local saver
  saver=$(saver_pid || true)
  if [ -n "$MANAGER_PID" ]; then kill -TERM "$MANAGER_PID" 2>/dev/null || true; fi
  if [ -n "$KEYBOARD_IN" ]; then exec {KEYBOARD_IN}>&-; fi
  poll 10 ended "$KEYBOARD_HELPER" || true
  stop_compositor
  local pid
  for pid in $WATCHER_PID $saver $MANAGER_PID $KEYBOARD_HELPER $MUTTER_PID $DAEMON_PID $SESSION_TREE; do
    poll 10 ended "$pid" || fail "process $pid ($(ps -o args= -p "$pid")) was left behind"
  done
}
