#!/usr/bin/env bash
# What a frame costs on Wayland against X11 at the same size, side by side: the full-screen saver
# under Xvfb and under a headless sway with one output of that size (the own-buffer path, which
# Mesa's software renderer takes, and the driver's buffer trusted), each for SECONDS.
# Both are paced to 60 frames a second (X11: the saver's cap; Wayland: the output's frame
# callbacks), so the figure to compare is the saver's CPU time per frame.
# usage: bench/wayland.sh [SECONDS [WIDTHxHEIGHT [BINARY]]]   (default 10 s, 640x480, build/smokedrift)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
size="${2:-640x480}"
saver="$(realpath "${3:-build/smokedrift}")"
source bench/session.sh
probe=$(bench_probe)
ticks=$(getconf CLK_TCK)

cpu_of() {  # summed user+system ticks of the given processes
  local total=0 pid
  for pid in "$@"; do total=$((total + $(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0))); done
  echo "$total"
}

# measure LABEL SERVER_PID: the saver started as $bench_saver, its swaps counted in $bench_work/err.
measure() {
  local label="$1" server="$2"
  for _ in $(seq 1 300); do grep -q first-swap-ns "$bench_work/err" && break; sleep 0.05; done
  sleep 1  # past the start-up
  local pids
  pids="$bench_saver $( (pgrep -P "$bench_saver" || true) | tr "\n" " ")"
  local c0 x0 n0 t0 c1 x1 n1 t1
  # shellcheck disable=SC2086
  c0=$(cpu_of $pids); x0=$(cpu_of "$server")
  n0=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err"); t0=$(date +%s%N)
  sleep "$seconds"
  # shellcheck disable=SC2086
  c1=$(cpu_of $pids); x1=$(cpu_of "$server")
  n1=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err"); t1=$(date +%s%N)
  kill -TERM "$bench_saver"; wait "$bench_saver" || true; bench_saver=""
  awk -v l="$label" -v n=$((n1 - n0)) -v t=$((t1 - t0)) -v c=$((c1 - c0)) -v x=$((x1 - x0)) -v hz="$ticks" 'BEGIN {
    s = t / 1e9
    printf "%-34s %5.1f frames/s, %5.2f ms CPU a frame (saver %3.0f %% of a core, display server %3.0f %%)\n",
           l, n / s, 1000 * (c / hz) / n, 100 * (c / hz) / s, 100 * (x / hz) / s }'
}

bench_start_xvfb "$size"
: > "$bench_work/err"
LD_PRELOAD="$probe" "$saver" /s 2>"$bench_work/err" & bench_saver=$!
measure "X11 (Xvfb $size)" "$bench_xvfb"
kill -TERM "$bench_xvfb"; wait "$bench_xvfb" 2>/dev/null || true; bench_xvfb=""
unset DISPLAY

bench_start_sway 1 "$size"
for history in copy direct; do
  : > "$bench_work/err"
  SMOKEDRIFT_FRAME_HISTORY=$history LD_PRELOAD="$probe" "$saver" /s 2>"$bench_work/err" & bench_saver=$!
  measure "Wayland (sway $size, $history)" "$bench_sway"
done
