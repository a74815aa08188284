#!/usr/bin/env bash
# Under a wlroots compositor of today ($3: sway or labwc, headless), the watcher (--idle 2) takes
# ext-idle-notify, the saver draws and a key ends it; an org.freedesktop.ScreenSaver inhibition held
# by a player keeps it off until the player lets go; a real player (mpv playing a clip, with the
# compositor's idle-inhibit protocol) keeps it off while it plays.
source "$(dirname "$0")/lib.sh"
compositor="${3:?usage: $0 SAVER - sway|labwc}"
command -v "$compositor" >/dev/null || skip "no $compositor"

case "$compositor" in
sway)
  start_sway 1 640x480
  output=HEADLESS-1 size=640x480
  ;;
labwc)
  # One output of labwc's own size; it wants a session bus of its own.
  make_runtime_dir
  mkdir -m 755 "$WORK/labwc"
  exec_as_compositor env HOME="$RUNTIME" XDG_RUNTIME_DIR="$RUNTIME" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 dbus-run-session -- labwc -C "$WORK/labwc" \
    >"$WORK/labwc.log" 2>&1 &
  COMPOSITOR_PID=$!
  poll 30 compgen -G "$RUNTIME/wayland-[0-9]" >/dev/null || fail "labwc did not come up: $(tail -n 20 "$WORK/labwc.log")"
  export XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY
  WAYLAND_DISPLAY=$(echo "$RUNTIME"/wayland-[0-9])
  output=HEADLESS-1 size=1280x720
  ;;
*) fail "no such compositor: $compositor" ;;
esac

# The middle row of the output shows smoke (the saver letterboxes, so only that row is sure).
draws() {
  local file="$WORK/shot.png"
  still_running || fail "the watcher ended: $(cat "$WORK/saver.err")"
  grim -o "$output" "$file" 2>/dev/null || return 1
  awk -v m="$(row_max "$file" "${size%x*}" $((${size#*x} / 2)))" 'BEGIN { exit !(m > 0.1) }'
}
ends() {
  local running
  running=$(saver_pid)
  [ -z "$running" ] && return 0
  for _ in 1 2 3 4 5; do
    wtype -s 300 -k Escape
    if poll 3 gone "$running"; then return 0; fi
  done
  fail "a key did not end the saver"
}

start_session_bus
start_watcher 2
poll 10 grep -q "idle source: Wayland ext_idle_notifier_v1" "$WORK/saver.err" ||
  fail "the watcher did not choose ext-idle-notify: $(cat "$WORK/saver.err")"
comes_back
poll 30 draws || fail "no smoke on $output"
ends
comes_back

# A player holding an inhibition on the session bus, which the watcher serves on this desktop.
hold_inhibition /org/freedesktop/ScreenSaver
ends
held_off "an org.freedesktop.ScreenSaver inhibition"
grep -q "held off by .*'player'" "$WORK/saver.err" || fail "not held off by the player: $(cat "$WORK/saver.err")"
release_inhibition
comes_back

# mpv playing a clip holds the compositor's idle inhibitor while its window shows.
start_mpv wlshm
sleep 2
ends
held_off mpv
stop_mpv
comes_back
stop_watcher
echo "$compositor: ok"
