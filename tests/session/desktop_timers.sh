#!/bin/bash
# The desktop's own timers, read when the watcher starts: one that comes no later than the
# watcher's five seconds is named in one line, once; one that never comes, in none. GNOME's
# idle-delay through a keyfile GSettings backend in the test's folder, under mutter; the X
# server's saver timeout (xset s) under Xvfb; Plasma 6's screen-off time (powerdevilrc, in an
# account PowerDevil migrated from Plasma 5) under Xvfb.
# gnome_mute_x: GNOME's, with DISPLAY naming an X server that accepts and never answers: the read
# of the X server's timers gives up, and GNOME's are still said.
# Arguments after the program and "-": gnome|gnome_mute_x|x11|kde, the timer's value, the lines
# expected.
source "$(dirname "$0")/gnome_lib.sh"
desktop="$3" value="$4" expected="$5"

if [ "${desktop%_mute_x}" = gnome ]; then
  start_mutter
  mkdir "$WORK/config"
  if [ -n "$COMPOSITOR_USER" ]; then chown "$COMPOSITOR_USER" "$WORK/config"; fi
  export GSETTINGS_BACKEND=keyfile XDG_CONFIG_HOME="$WORK/config" XDG_CURRENT_DESKTOP=GNOME
  as_user gsettings set org.gnome.desktop.session idle-delay "$value"
  timers="desktop timer: GNOME"
  if [ "$desktop" = gnome_mute_x ]; then
    display=77
    while grep -q "@/tmp/.X11-unix/X$display\$" /proc/net/unix; do display=$((display + 1)); done
    /usr/bin/python3 "$(dirname "$0")/login1_stand_in.py" --mute "@/tmp/.X11-unix/X$display" >"$WORK/mute.out" 2>&1 &
    PIDS+=("$!")
    poll 30 grep -q '^ready$' "$WORK/mute.out" || fail "the mute X server did not start: $(cat "$WORK/mute.out")"
    unset WAYLAND_DISPLAY
    export DISPLAY=":$display"
  fi
elif [ "$desktop" = kde ]; then
  start_xvfb
  mkdir "$WORK/config"
  printf '[AC][DPMSControl]\nidleTime=600\n[Migration]\nMigratedProfilesToPlasma6=powerdevilrc\n' \
    >"$WORK/config/powermanagementprofilesrc"
  printf '[AC][Display]\nTurnOffDisplayIdleTimeoutSec=%s\n' "$value" >"$WORK/config/powerdevilrc"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus" XDG_CONFIG_HOME="$WORK/config" XDG_CURRENT_DESKTOP=KDE
  timers="desktop timer: KDE Plasma switches"
else
  start_xvfb
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus"
  xset s "$value"
  timers="desktop timer: the X server"
fi

exec_as_compositor "$SAVER" --idle 5 --verbose >"$WORK/watcher.out" 2>"$WORK/watcher.err" &
WATCHER_PID=$!
PIDS+=("$WATCHER_PID")
poll 30 grep -q "$timers" "$WORK/watcher.err" || fail "no timer of the desktop was read: $(cat "$WORK/watcher.err")"
stop_watcher
lines=$(grep -c "the saver will not be seen" "$WORK/watcher.err" || true)
[ "$lines" -eq "$expected" ] || fail "$lines lines about the desktop's timer, not $expected: $(cat "$WORK/watcher.err")"
nothing_left
