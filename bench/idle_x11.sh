#!/usr/bin/env bash
# The idle watcher's cost while it waits on X11: CPU time (user + system, from /proc/PID/stat),
# wake-ups (context switches) and resident memory over SECONDS (default 60) of waiting under a
# private Xvfb, first with nobody at the session, then with the pointer moving twice a second
# (input the watcher does not need to see while it waits for an idle stretch).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 320x240x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
watcher=""
mover=""
trap 'kill $mover $watcher 2>/dev/null; kill $xvfb; wait 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"

ticks=$(getconf CLK_TCK)
cpu() { awk -v t="$ticks" '{ printf "%.2f", ($14 + $15) * 1000 / t }' "/proc/$watcher/stat"; }
switches() { awk '/ctxt_switches/ { n += $2 } END { print n }' "/proc/$watcher/status"; }
rss() { awk '/VmRSS/ { print $2 }' "/proc/$watcher/status"; }

build/smokedrift --idle 3600 --verbose 2>"$work/watcher.err" &
watcher=$!
sleep 2
report() {
  local c0 s0
  c0=$(cpu)
  s0=$(switches)
  sleep "$seconds"
  printf '%-32s CPU %s ms, %d wake-ups, VmRSS %s KiB over %s s\n' "$1" \
    "$(awk -v a="$c0" -v b="$(cpu)" 'BEGIN { printf "%.0f", b - a }')" $(($(switches) - s0)) "$(rss)" "$seconds"
}
report "waiting, nobody at the session:"
(while :; do xdotool mousemove_relative 1 0; sleep 0.5; done) &
mover=$!
report "waiting, pointer moving:"
head -n1 "$work/watcher.err"
