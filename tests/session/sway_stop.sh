#!/usr/bin/env bash
# However the watcher ends while the saver runs, nothing it started is left: SIGINT and SIGHUP end
# it with 0 (SIGTERM: sway_idle.sh), SIGKILL takes the saver with it, and when the compositor goes
# the watcher ends with 255 and its line.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480

# run_saver: a watcher whose saver draws; its whole tree in TREE.
run_saver() {
  # As a terminal starts it: a script's background job has SIGINT ignored, which the watcher keeps.
  env --default-signal=INT "$SAVER" --idle 1 >"$WORK/saver.out" 2>"$WORK/saver.err" &
  SAVER_PID=$!
  PIDS+=("$SAVER_PID")
  wait_for_smoke HEADLESS-1 640x480
  saver_runs || fail "smoke shows but the watcher has no saver"
  TREE=$(process_tree "$SAVER_PID")
}

all_gone() {
  for pid in $TREE; do poll 5 gone "$pid" || fail "$1: process $pid outlived the watcher"; done
}

for signal in INT HUP KILL; do
  run_saver
  kill -"$signal" "$SAVER_PID"
  if [ "$signal" = KILL ]; then expect_exit 137; else expect_exit 0; fi
  all_gone "SIG$signal"
  poll 10 middle_row_black HEADLESS-1 640x480 || fail "SIG$signal: a surface stayed"
done

run_saver
kill_sway
expect_exit 255
tail -n 1 "$WORK/saver.err" | grep -q "idle source (Wayland $(sway_idle_protocol)) went away" ||
  fail "the watcher's last word was: $(cat "$WORK/saver.err")"
all_gone "the compositor's end"
echo "sway stop: ok"
