#!/usr/bin/env bash
# Under sway (1.7: KDE's idle protocol only; later: ext-idle-notify), --idle 2 runs the saver on both outputs after two
# idle seconds; a key ends it, and the next idle stretch runs it again. A second watcher in the
# same session says so and leaves; SIGTERM ends the watcher and the saver with 0.
source "$(dirname "$0")/lib.sh"
start_sway 2 640x480 480x320

start_watcher 2
poll 10 grep -q "idle source: Wayland $(sway_idle_protocol)" "$WORK/saver.err" ||
  fail "the watcher did not choose $(sway_idle_protocol): $(cat "$WORK/saver.err")"
wait_for_smoke HEADLESS-1 640x480
wait_for_smoke HEADLESS-2 480x320
first=$(saver_pid)
[ -n "$first" ] || fail "smoke shows but the watcher has no saver"

press_key Escape
poll 30 gone "$first" || fail "a key did not end the saver"
poll 30 started_at_least 2 || fail "the saver did not start again: $(cat "$WORK/saver.err")"
wait_for_smoke HEADLESS-1 640x480
wait_for_smoke HEADLESS-2 480x320

"$SAVER" --idle 2 >"$WORK/second.out" 2>"$WORK/second.err" || fail "a second watcher exited with $?"
[ "$(wc -l <"$WORK/second.err")" -eq 1 ] && grep -q "already runs" "$WORK/second.err" ||
  fail "a second watcher said: $(cat "$WORK/second.err")"
still_running || fail "a second watcher ended the first"

stop_watcher
poll 10 middle_row_black HEADLESS-1 640x480 || fail "a surface stayed after the watcher ended"
echo "sway idle: ok"
