#!/usr/bin/env bash
# Under KWin 5.27 (ext_idle_notifier_v1, chosen over KDE's older protocol, which it also offers),
# a stand-in player's idle inhibitor holds the saver off; once the player is gone the watcher runs
# the saver after the idle time, the saver draws on its layer surface, and SIGTERM ends both. KWin headless has no virtual input and no screenshot: what the saver got and
# sent is read from the protocol log (WAYLAND_DEBUG).
source "$(dirname "$0")/lib.sh"
command -v kwin_wayland >/dev/null || skip "no kwin_wayland"

make_runtime_dir
# The installed binary carries a file capability that containers refuse; a copy has none.
cp /usr/bin/kwin_wayland "$WORK/kwin_wayland"
chmod 755 "$WORK/kwin_wayland"
exec_as_compositor env HOME="$RUNTIME" XDG_RUNTIME_DIR="$RUNTIME" QT_QPA_PLATFORM=offscreen KWIN_COMPOSE=Q \
  dbus-run-session -- "$WORK/kwin_wayland" --virtual --width 640 --height 480 --socket wayland-1 \
  --no-lockscreen --no-global-shortcuts --no-kactivities >"$WORK/kwin.log" 2>&1 &
COMPOSITOR_PID=$!
stop_compositor() { stop_compositor_tree; }
poll 60 test -S "$RUNTIME/wayland-1" || fail "KWin did not come up: $(tail -n 20 "$WORK/kwin.log")"
export XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY="$RUNTIME/wayland-1"

# A stand-in player's inhibitor holds the saver off; when the player goes, the saver runs.
coproc PLAYER { exec "$INHIBITOR" 2>"$WORK/player.err"; }
player=$PLAYER_PID  # bash unsets PLAYER_PID once the player ends
PIDS+=("$player")
read -r -t 20 -u "${PLAYER[0]}" ready || true
[ "$ready" = ready ] || fail "the stand-in player did not come up: $(cat "$WORK/player.err")"
WAYLAND_DEBUG=1 start_watcher 1
sleep 4
saver_gone || fail "the saver started while an inhibitor was held"
exec {PLAYER[1]}>&-
poll 10 gone "$player" || fail "the stand-in player did not end"
poll 20 grep -q "idle source: Wayland ext_idle_notifier_v1" "$WORK/saver.err" ||
  fail "the watcher did not choose ext_idle_notifier_v1: $(grep smokedrift "$WORK/saver.err")"
poll 30 saver_runs || fail "no saver after the idle time: $(grep smokedrift "$WORK/saver.err")"
# Object names in the log: interface@id before libwayland 1.23, interface#id from it (Debian 13).
grep -q "ext_idle_notification_v1[@#][0-9]*\.idled()" "$WORK/saver.err" || fail "the saver started without an idled event"
# Frames: the saver's surface configured, then buffers committed to it more than once.
drawn() { [ "$(grep -c "wl_surface[@#][0-9]*\.commit()" "$WORK/saver.err")" -ge 10 ]; }
poll 30 drawn || fail "the saver did not draw: $(grep -v '^\[' "$WORK/saver.err" | tail -n 5)"
grep -q "zwlr_layer_surface_v1[@#][0-9]*\.configure" "$WORK/saver.err" || fail "the saver's layer surface was never configured"
saver_runs || fail "the saver ended: $(grep -v '^\[' "$WORK/saver.err" | tail -n 5)"
stop_watcher
echo "kwin idle: ok"
