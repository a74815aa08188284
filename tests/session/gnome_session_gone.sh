#!/bin/bash
# GNOME: when mutter leaves (and its session bus with it) while the saver runs, the watcher ends
# the saver and itself with one line and 255.
source "$(dirname "$0")/gnome_lib.sh"

start_mutter
start_watcher
wait_for_saver
saver=$(saver_pid)
stop_compositor
poll 30 gone "$WATCHER_PID" || fail "the watcher outlived mutter"
code=0
wait "$WATCHER_PID" || code=$?
reaped "$WATCHER_PID"
[ "$code" -eq 255 ] || fail "the watcher ended with $code, expected 255"
# The saver, which shares the watcher's stderr, may say first that it lost its compositor.
lines=$(grep -v -e '^\[' -e '^smokedrift: idle' -e '^Wayland: ' "$WORK/watcher.err" || true)
[ "$(printf '%s\n' "$lines" | grep -c .)" -eq 1 ] || fail "expected one line about the session, got: $lines"
poll 10 ended "$saver" || fail "the saver outlived its watcher"
nothing_left
