#!/usr/bin/env bash
# No other account can turn the saver off. Another account (nobody) binds the names the session's
# locks once were in the abstract socket space, and makes the folder our locks fall back to when
# the runtime folder is not ours (as here: root runs in the compositor user's session); then the
# watcher still starts its saver and /s still draws, each saying it runs without a lock, and each
# ends with 0 on SIGTERM.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480
uid=$(id -u)
setpriv --reuid=nobody --regid=nogroup --clear-groups /usr/bin/python3 -c '
import os, socket, sys, time
held = []
for name in sys.argv[1:3]:
    s = socket.socket(socket.AF_UNIX)
    s.bind("\0" + name)
    s.listen()
    held.append(s)
os.mkdir(sys.argv[3])
os.chmod(sys.argv[3], 0o777)
print("ready", flush=True)
time.sleep(600)' "smokedrift-idle-$uid-$WAYLAND_DISPLAY" "smokedrift-$uid-$WAYLAND_DISPLAY" "$TMPDIR/smokedrift-$uid" \
  >"$WORK/squatter.out" &
PIDS+=($!)
poll 10 grep -q ready "$WORK/squatter.out" || fail "the squatter did not start"

for words in "--idle 1 --verbose" "/s"; do
  # shellcheck disable=SC2086 # the words are the arguments
  start_saver $words
  wait_for_smoke HEADLESS-1 640x480
  grep -q "no folder of our own to lock the session in" "$WORK/saver.err" ||
    fail "'$words' did not say it runs without a lock: $(cat "$WORK/saver.err")"
  kill -TERM "$SAVER_PID"
  expect_exit 0
  poll 10 middle_row_black HEADLESS-1 640x480 || fail "a surface stayed after SIGTERM"
done
echo "squatters: ok"
