#!/usr/bin/env bash
# KDE Plasma's real services headless: KWin (--virtual, its lock screen on, so its locker serves
# org.freedesktop.ScreenSaver), PowerDevil as a client of it, upowerd on a private system bus
# beside the stand-in logind. A player's inhibition through KWin's org.freedesktop.ScreenSaver
# reaches PowerDevil, and the watcher (--idle 2) stays off while it is held, then runs the saver
# once the player has gone; mpv playing a clip holds KWin's idle inhibitor with the same effect.
source "$(dirname "$0")/lib.sh"
command -v kwin_wayland >/dev/null || skip "no kwin_wayland"
powerdevil=$(find /usr/lib /usr/libexec -name org_kde_powerdevil -type f 2>/dev/null | head -n1)
[ -n "$powerdevil" ] || skip "no PowerDevil"
upowerd=$(find /usr/lib /usr/libexec -name upowerd -type f 2>/dev/null | head -n1)
[ -n "$upowerd" ] || skip "no upowerd"
unset XDG_CURRENT_DESKTOP KDE_FULL_SESSION

start_system_bus
start_login1
"$upowerd" >"$WORK/upower.log" 2>&1 &
PIDS+=("$!")

# The session bus runs as the desktop's user; the watcher, as root here, must reach it too.
make_runtime_dir
sed -e 's|<type>system</type>|<type>session</type>|' -e "s|$WORK/system-bus/socket|$RUNTIME/bus|" \
  "$WORK/system-bus/bus.conf" >"$WORK/session-bus.conf"
exec_as_compositor dbus-daemon --config-file="$WORK/session-bus.conf" --nofork --print-address \
  >"$WORK/session-bus.address" 2>"$WORK/session-bus.log" &
PIDS+=("$!")
poll 30 test -s "$WORK/session-bus.address" || fail "the session bus did not start: $(cat "$WORK/session-bus.log")"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$RUNTIME/bus"
desktop_env=(HOME="$RUNTIME" XDG_RUNTIME_DIR="$RUNTIME" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS"
  DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SYSTEM_BUS_ADDRESS" XDG_SESSION_ID=c1 XDG_CURRENT_DESKTOP=KDE)
exec_as_compositor env "${desktop_env[@]}" QT_QPA_PLATFORM=offscreen KWIN_COMPOSE=Q \
  kwin_wayland --virtual --width 640 --height 480 --socket wayland-1 --no-global-shortcuts \
  --no-kactivities >"$WORK/kwin.log" 2>&1 &
COMPOSITOR_PID=$!
poll 60 test -S "$RUNTIME/wayland-1" || fail "KWin did not come up: $(tail -n 20 "$WORK/kwin.log")"
export XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY="$RUNTIME/wayland-1"
exec_as_compositor env "${desktop_env[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-1 \
  "$powerdevil" >"$WORK/powerdevil.log" 2>&1 &
PIDS+=("$!")

owned() {
  [ "$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner "$1")" = "(true,)" ]
}
poll 60 owned org.kde.Solid.PowerManagement.PolicyAgent ||
  fail "PowerDevil did not come up: $(tail -n 20 "$WORK/powerdevil.log")"
poll 30 owned org.freedesktop.ScreenSaver || fail "KWin's locker does not serve org.freedesktop.ScreenSaver"
has_inhibition() {
  [ "$(gdbus call --session --dest org.kde.Solid.PowerManagement.PolicyAgent \
        --object-path /org/kde/Solid/PowerManagement/PolicyAgent \
        --method org.kde.Solid.PowerManagement.PolicyAgent.HasInhibition 4)" = "(true,)" ]
}

# The player asks KWin's locker, which hands the inhibition to PowerDevil (which counts it only
# some seconds later).
hold_inhibition /ScreenSaver
poll 30 has_inhibition || fail "PowerDevil never counted the player's inhibition"

start_watcher 2
poll 20 grep -q "idle source: Wayland ext_idle_notifier_v1" "$WORK/saver.err" ||
  fail "the watcher did not choose ext_idle_notifier_v1: $(cat "$WORK/saver.err")"
held_off "the player"
grep -q "held off by Plasma's power management" "$WORK/saver.err" ||
  fail "not held off by PowerDevil: $(cat "$WORK/saver.err")"
release_inhibition
comes_back
stop_watcher

# mpv holds KWin's idle inhibitor while it plays.
start_mpv wlshm
sleep 2
start_watcher 2
held_off mpv
stop_mpv
comes_back
stop_watcher
echo "plasma: ok"
