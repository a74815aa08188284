#!/usr/bin/env bash
# The idle watcher on a bare X server (no Wayland, no session bus): it says it listens to the
# server's idle time, starts the saver after two idle seconds and a key ends it. A player holding
# the server's saver suspended keeps the saver from starting until that player exits; one that
# resets the server's saver every half second keeps it off while it runs. The server's settings
# read the same afterwards, and when the server goes the watcher ends with 255, quietly, leaving
# no process behind.
source "$(dirname "$0")/../e2e/lib.sh"
PLAYER="$2"
start_xvfb 320x240
settings=$(xset q)
unset WAYLAND_DISPLAY
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus" TMPDIR="$WORK"

start_saver --idle 2 --verbose
poll 30 grep -q 'idle source: X11' "$WORK/saver.err" || fail "the X11 source was not chosen: $(cat "$WORK/saver.err")"

# The saver a watcher started, once it shows; its pid in CHILD.
saver_started() {
  poll 30 saver_window_shown || fail "no saver after the idle time: $(cat "$WORK/saver.err")"
  CHILD=$(pgrep -P "$SAVER_PID" | head -n1)
  [ -n "$CHILD" ] || fail "the saver is no child of the watcher"
}
saver_ended() {
  poll 30 gone "$CHILD" || fail "the saver did not end"
}

saver_started
poll 30 draws_between_bands 320 240 || fail "no smoke on screen"

# The player holds its suspension from before the user comes back until it exits.
"$PLAYER" suspend >"$WORK/player.out" &
player=$!
PIDS+=("$player")
poll 30 grep -q ready "$WORK/player.out" || fail "the player did not start"
xdotool key space
saver_ended
# Nothing to poll for when the answer is "nothing starts": wait more than twice the idle time. A
# saver started meanwhile would still be there, since nothing ends it.
sleep 5
! saver_window_shown || fail "the saver started under the player's suspension"
kill "$player"
wait "$player" 2>/dev/null || true
reaped "$player"
saver_started
xdotool key space
saver_ended

# Five seconds of resets, from just after the user was last active.
"$PLAYER" reset 10 >"$WORK/player.out" &
player=$!
PIDS+=("$player")
wait "$player" || fail "the resetting player failed"
reaped "$player"
! saver_window_shown || fail "the saver started while a player reset the server's saver"
saver_started

[ "$(xset q)" = "$settings" ] || fail "the server's settings changed: $(diff <(echo "$settings") <(xset q))"

stop_xvfb
expect_exit 255
saver_ended
tail -n 1 "$WORK/saver.err" | grep -q "idle source (X11.*) went away" ||
  fail "the watcher's last word was: $(cat "$WORK/saver.err")"
! grep -q XIO "$WORK/saver.err" || fail "Xlib's own message on the lost server: $(cat "$WORK/saver.err")"
echo "x11 idle: ok"
