#!/usr/bin/env bash
# Started by swayidle after one idle second, /s covers the output, and a key ends it with 0.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480

# swayidle runs the command again at each idle second: the wrapper starts the saver once only,
# and leaves its pid and then its exit code for the test.
cat >"$WORK/idle-saver.sh" <<WRAPPER
#!/usr/bin/env bash
mkdir "$WORK/started" 2>/dev/null || exit 0
"$SAVER" /s 2>"$WORK/saver.err" &
echo \$! >"$WORK/saver.pid"
code=0
wait \$! || code=\$?
echo \$code >"$WORK/saver.code"
WRAPPER
chmod +x "$WORK/idle-saver.sh"

swayidle -w timeout 1 "$WORK/idle-saver.sh" >"$WORK/swayidle.log" 2>&1 &
PIDS+=($!)
poll 20 test -s "$WORK/saver.pid" || fail "swayidle started nothing: $(cat "$WORK/swayidle.log")"
SAVER_PID=$(cat "$WORK/saver.pid")
PIDS+=("$SAVER_PID")
wait_for_smoke HEADLESS-1 640x480
press_key Escape
poll 30 test -s "$WORK/saver.code" || fail "the saver did not end on a key"
[ "$(cat "$WORK/saver.code")" = 0 ] ||
  fail "the saver exited with $(cat "$WORK/saver.code"); stderr: $(cat "$WORK/saver.err")"
reaped "$SAVER_PID"
poll 10 middle_row_black HEADLESS-1 640x480 || fail "the saver's surface stayed after it ended"
echo "swayidle: ok"
