#!/usr/bin/env bash
# Faults from outside. A preview whose parent is destroyed mid-run, 20 times, by the parent's
# client dying and by another client killing it: exit 0 each time, nothing on stderr, no hang.
# The saver draws flat out (about 100 frames a second, one core busy), so a parent killed at a
# random moment dies while a frame is being drawn or swapped. Then the X server killed under a
# running full-screen saver: the process is gone within 2 s (it neither hangs nor spins) with -1
# and one line on stderr.
source "$(dirname "$0")/lib.sh"
start_xvfb 320x240

for round in $(seq 1 20); do
  start_host_window 200x150
  start_saver /p "$HOST_ID"
  poll 30 preview_shown || fail "round $round: no preview window inside the host"
  sleep "0.$((RANDOM % 4))$((RANDOM % 10))"
  if [ $((round % 2)) = 0 ]; then
    xdotool windowkill "$HOST_ID" || fail "round $round: could not kill the host window"
  else
    kill -KILL "$HOST_PID"
  fi
  expect_exit 0
  [ ! -s "$WORK/saver.err" ] || fail "round $round: output when the parent went: $(cat "$WORK/saver.err")"
done
echo "preview parent destroyed 20 times: exit 0, quiet"

start_saver /s
wait_for_full_screen
poll 30 draws_between_bands 320 240 || fail "no smoke before the server was killed"
kill -KILL "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""
# A hang detector, not a stopwatch: the saver normally ends within a fifth of a second, and the
# time it took is printed; 10 s leaves room for a loaded machine.
gone=no
tenths=0
while [ "$tenths" -lt 100 ]; do
  if ! still_running; then gone=yes; break; fi
  sleep 0.1
  tenths=$((tenths + 1))
done
if [ "$gone" = no ]; then
  cpu=$(awk '{print ($14 + $15) / 100 " s"}' "/proc/$SAVER_PID/stat" 2>/dev/null)
  fail "the saver still runs 10 s after its X server died (CPU time so far: ${cpu:-?})"
fi
echo "ended about $((tenths / 10)).$((tenths % 10)) s after its X server died"
code=0
wait "$SAVER_PID" || code=$?
reaped "$SAVER_PID"
[ "$code" = 255 ] || fail "exit code $code after the X server died, expected 255"
[ "$(wc -l <"$WORK/saver.err")" = 1 ] && grep -q '^X11: lost the connection to the display$' "$WORK/saver.err" ||
  fail "expected one line about the lost display, got: $(cat "$WORK/saver.err")"
echo "X server killed: the saver ended at once with -1"
