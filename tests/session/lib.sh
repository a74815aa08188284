# Helpers of the idle watcher's tests, over the Wayland level's (a private compositor per test,
# screenshots, keys, clean-up). Arguments: the program, "-" (no pointer here), the stand-in player.
source "$(dirname "${BASH_SOURCE[0]}")/../wayland/lib.sh"
INHIBITOR="${3:-}"

# The watcher is started with start_saver, so SAVER_PID is the watcher's pid.
start_watcher() { start_saver --idle "$@" --verbose; }

# The saver the watcher runs now (its child), or nothing.
saver_pid() { pgrep -P "$SAVER_PID" || true; }

saver_runs() { [ -n "$(saver_pid)" ]; }
saver_gone() { [ -z "$(saver_pid)" ]; }

# The process and every process under it.
process_tree() {
  local child
  echo "$1"
  for child in $(pgrep -P "$1" || true); do process_tree "$child"; done
}

# times_started: how often the watcher said it started the saver.
times_started() { grep -c "the saver started" "$WORK/saver.err" || true; }
started_at_least() { [ "$(times_started)" -ge "$1" ]; }

# stop_watcher: SIGTERM ends the watcher with 0, and nothing it started is left.
stop_watcher() {
  local tree
  tree=$(process_tree "$SAVER_PID")
  kill -TERM "$SAVER_PID"
  expect_exit 0
  for pid in $tree; do
    poll 5 gone "$pid" || fail "process $pid ($(cat /proc/"$pid"/cmdline 2>/dev/null | tr '\0' ' ')) outlived the watcher"
  done
}
