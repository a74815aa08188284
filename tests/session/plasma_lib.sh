# The real Plasma services headless, for the session tests' Plasma cases (5.27 on Debian 12, 6.3 on
# Debian 13): KWin on a virtual output with its built-in locker (which owns
# org.freedesktop.ScreenSaver and hands inhibitions to PowerDevil), PowerDevil as KWin's client,
# the real upowerd as root on a private system bus beside the stand-in logind. The installed KWin
# and PowerDevil carry file capabilities that make exec fail in a container: plain copies run
# (KWin's must keep its name). Skips (77) where a part is missing.

# The first of these programs found on PATH or in a libexec folder.
find_program() {
  local name dir
  for name in "$@"; do
    command -v "$name" 2>/dev/null && return 0
    for dir in /usr/libexec /usr/lib/*/libexec /usr/lib/libexec; do
      [ -x "$dir/$name" ] && { echo "$dir/$name"; return 0; }
    done
  done
  return 1
}

# start_plasma: exports the session's DBUS_SESSION_BUS_ADDRESS, WAYLAND_DISPLAY, XDG_RUNTIME_DIR.
start_plasma() {
  local kwin powerdevil upowerd
  kwin=$(find_program kwin_wayland) || skip "no kwin_wayland"
  powerdevil=$(find_program org_kde_powerdevil) || skip "no org_kde_powerdevil"
  upowerd=$(find_program upowerd) || skip "no upowerd"
  make_runtime_dir
  start_system_bus
  start_login1
  "$upowerd" >"$WORK/upowerd.log" 2>&1 &
  PIDS+=("$!")
  mkdir "$WORK/plasma"
  cp "$kwin" "$WORK/plasma/kwin_wayland"
  cp "$powerdevil" "$WORK/plasma/org_kde_powerdevil"
  chmod 755 "$WORK/plasma" "$WORK/plasma/"*
  local session=(env HOME="$RUNTIME" XDG_RUNTIME_DIR="$RUNTIME" XDG_CURRENT_DESKTOP=KDE KWIN_COMPOSE=Q KDE_DEBUG=1
    DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SYSTEM_BUS_ADDRESS")
  exec_as_compositor "${session[@]}" QT_QPA_PLATFORM=offscreen dbus-run-session -- sh -c \
    'echo "$DBUS_SESSION_BUS_ADDRESS" >"$0/bus.address"; exec "$@"' "$RUNTIME" \
    "$WORK/plasma/kwin_wayland" --virtual --width 640 --height 480 --socket wayland-1 --no-global-shortcuts \
    --no-kactivities >"$WORK/kwin.log" 2>&1 &
  COMPOSITOR_PID=$!
  poll 60 test -S "$RUNTIME/wayland-1" || fail "KWin did not come up: $(tail -n 20 "$WORK/kwin.log")"
  poll 10 test -s "$RUNTIME/bus.address" || fail "KWin's session bus did not come up"
  DBUS_SESSION_BUS_ADDRESS=$(cat "$RUNTIME/bus.address")
  export XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY=wayland-1 DBUS_SESSION_BUS_ADDRESS
  exec_as_compositor "${session[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-1 \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" "$WORK/plasma/org_kde_powerdevil" \
    >"$WORK/powerdevil.log" 2>&1 &
  PIDS+=("$!")
  poll 60 plasma_name org.kde.Solid.PowerManagement.PolicyAgent ||
    fail "PowerDevil's policy agent did not appear: $(tail -n 20 "$WORK/powerdevil.log")"
  poll 30 plasma_name org.freedesktop.ScreenSaver || fail "KWin's locker did not take org.freedesktop.ScreenSaver"
}

# A session bus admits only its own user: the watcher and every call run as the compositor's.
as_user() {
  if [ -n "$COMPOSITOR_USER" ]; then
    setpriv --reuid="$COMPOSITOR_USER" --regid="$COMPOSITOR_USER" --clear-groups -- "$@"
  else
    "$@"
  fi
}
start_watcher() {
  exec_as_compositor "$SAVER" --idle "$@" --verbose >"$WORK/saver.out" 2>"$WORK/saver.err" &
  SAVER_PID=$!
  PIDS+=("$SAVER_PID")
}

plasma_name() {
  as_user gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
}

stop_compositor() { stop_compositor_tree; }
