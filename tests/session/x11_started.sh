#!/usr/bin/env bash
# How the watcher was started changes nothing. Started with SIGCHLD ignored (a disposition its
# parent left), it still sees its saver end, and after the user comes back starts it again. A
# second watcher on another screen of the same X server (DISPLAY=:N.0) finds the first and leaves.
# Its saver is named smokedrift in ps. Started with stderr closed, it still works.
source "$(dirname "$0")/../e2e/lib.sh"
start_xvfb 320x240
unset WAYLAND_DISPLAY
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus" TMPDIR="$WORK"

/usr/bin/python3 -c 'import os, signal, sys; signal.signal(signal.SIGCHLD, signal.SIG_IGN); os.execv(sys.argv[1], sys.argv[1:])' \
  "$SAVER" --idle 1 --verbose >"$WORK/saver.out" 2>"$WORK/saver.err" &
SAVER_PID=$!
PIDS+=("$SAVER_PID")
poll 30 saver_window_shown || fail "no saver after the idle time: $(cat "$WORK/saver.err")"
pgrep -x smokedrift -P "$SAVER_PID" >/dev/null || fail "the saver is named $(cat /proc/"$(pgrep -P "$SAVER_PID")"/comm)"
kill -TERM "$(pgrep -P "$SAVER_PID")"
poll 30 grep -q "the saver ended" "$WORK/saver.err" || fail "the watcher did not see its saver end: $(cat "$WORK/saver.err")"
started_twice() { [ "$(grep -c "the saver started" "$WORK/saver.err")" -ge 2 ]; }
xdotool key space
poll 30 started_twice || fail "the saver did not start again: $(cat "$WORK/saver.err")"

code=0
DISPLAY="$DISPLAY.0" timeout 10 "$SAVER" --idle 1 2>"$WORK/second.err" || code=$?
[ "$code" -eq 0 ] && grep -q "a watcher already runs in this session" "$WORK/second.err" ||
  fail "a second watcher on $DISPLAY.0 ended with $code: $(cat "$WORK/second.err")"
kill -TERM "$SAVER_PID"
expect_exit 0

# Started with stderr closed, and a line to say (the server's own saver comes first): the line
# goes nowhere, not into the display's connection, and the watcher works and stops as ever.
xset s 1
"$SAVER" --idle 2 2>&- &
SAVER_PID=$!
PIDS+=("$SAVER_PID")
poll 30 saver_window_shown || fail "no saver with stderr closed"
kill -TERM "$SAVER_PID"
expect_exit 0
echo "x11 started: ok"
