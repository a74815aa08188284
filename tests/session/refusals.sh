#!/usr/bin/env bash
# Idle times outside one second to a day are refused with one line naming the option and its
# range, exit 255, before the watcher looks for a session (none is there: a watcher that went on
# would say that instead); so is a mode of the saver's own. A session whose Wayland socket does
# not answer (a watcher started before its compositor) is said to be that, naming the socket.
source "$(dirname "$0")/lib.sh"
export TMPDIR="$WORK"

while IFS=';' read -r expected environment words; do
  code=0
  # shellcheck disable=SC2086 # the words are the arguments, the environment assignments
  env $environment "$SAVER" $words >"$WORK/out" 2>"$WORK/err" || code=$?
  [ "$code" -eq 255 ] || fail "'$words' exited with $code"
  [ "$(wc -l <"$WORK/err")" -eq 1 ] && grep -qF -- "$expected" "$WORK/err" ||
    fail "'$words' said: $(cat "$WORK/err")"
done <<'CASES'
--idle '0': expected seconds from 1 to 86400;;--idle 0
--idle '86401': expected seconds from 1 to 86400;;--idle 86401
--idle '-5': expected seconds;;--idle -5
--idle '1.5': expected seconds;;--idle 1.5 --3d
--idle: expected seconds;;--idle
--idle given twice;;--idle 5 --idle 6
scene options only, not '/s';;--idle 5 /s
scene options only, not '-root';;--idle 5 -root
--idle and --render cannot be combined;;--render x.png --idle 5
the Wayland socket /nonexistent/wayland-9 does not answer;WAYLAND_DISPLAY=/nonexistent/wayland-9 DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus;--idle 5
CASES
echo "refusals: ok"
