#!/usr/bin/env bash
# When the compositor goes while the saver runs, the watcher ends with 255 and its line, and
# neither the saver nor any of its per-output processes is left.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480

start_saver --idle 1
wait_for_smoke HEADLESS-1 640x480
tree=$(process_tree "$SAVER_PID")
kill_sway
expect_exit 255
tail -n 1 "$WORK/saver.err" | grep -q "idle source (Wayland org_kde_kwin_idle) went away" ||
  fail "the watcher's last word was: $(cat "$WORK/saver.err")"
for pid in $tree; do poll 5 gone "$pid" || fail "process $pid outlived the watcher"; done
echo "sway gone: ok"
