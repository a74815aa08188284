#!/usr/bin/env bash
# Frames per second, CPU use and peak memory: the saver under Xvfb (full screen at two sizes, its
# own window while shown and while unmapped, as a window manager leaves a minimised window) and a
# headless --render.
# Xvfb has no display refresh, so the swap interval cannot pace the saver there: what paces it is
# the saver's own cap of 60 frames a second, or, where a frame costs more, the software renderer.
# usage: bench/pacing.sh [SECONDS [BINARY]]   (default 10 s, build/smokedrift)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
saver="${2:-build/smokedrift}"
source bench/session.sh
probe=$(bench_probe)
ticks=$(getconf CLK_TCK)

# measure LABEL SCREEN [unmap] -- SAVER ARGUMENTS...: one line of frames/s, CPU and peak memory.
measure() {
  local label="$1" screen="$2" unmap=""
  shift 2
  [ "$1" = unmap ] && { unmap=1; shift; }
  shift  # --
  bench_start_xvfb "$screen"
  : > "$bench_work/err"
  LD_PRELOAD="$probe" "$saver" "$@" 2>"$bench_work/err" &
  bench_saver=$!
  for _ in $(seq 1 300); do grep -q first-swap-ns "$bench_work/err" && break; sleep 0.05; done
  if [ -n "$unmap" ]; then
    xdotool windowunmap "$(xdotool search --name '^smokedrift$' | head -n1)"
    sleep 1  # let the frames already under way finish
  fi
  local u0 s0 u1 s1 x0 x1 n0 n1 t0 t1 hwm
  read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$bench_saver/stat")
  x0=$(awk '{print $14 + $15}' "/proc/$bench_xvfb/stat")
  n0=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err")
  t0=$(date +%s%N)
  sleep "$seconds"
  read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$bench_saver/stat")
  x1=$(awk '{print $14 + $15}' "/proc/$bench_xvfb/stat")
  n1=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err")
  t1=$(date +%s%N)
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$bench_saver/status")
  kill -TERM "$bench_saver"
  wait "$bench_saver" || true
  bench_saver=""
  kill -TERM "$bench_xvfb"
  wait "$bench_xvfb" 2>/dev/null || true
  bench_xvfb=""
  # The probe reports every 10th swap: fewer than 10 in the run shows as 0.
  awk -v l="$label" -v n=$((n1 - n0)) -v t=$((t1 - t0)) -v c=$((u1 + s1 - u0 - s0)) -v x=$((x1 - x0)) -v hz="$ticks" \
      -v hwm="$hwm" 'BEGIN {
    s = t / 1e9
    printf "%s, %.0f s: %.1f frames/s, CPU %.0f %% of one core (+ %.0f %% in Xvfb), peak RSS %.1f MiB\n",
           l, s, n / s, 100 * (c / hz) / s, 100 * (x / hz) / s, hwm / 1024 }'
}

measure "/s under Xvfb 320x240" 320x240 -- /s
measure "/s under Xvfb 640x480" 640x480 -- /s
measure "--window (640x480) under Xvfb 800x600" 800x600 -- --window
measure "--window unmapped" 800x600 unmap -- --window

for size in 640x480 1280x720; do
  /usr/bin/time -f '%e %U %S %M' -o "$bench_work/time" "$saver" --render "$bench_work/x.png" --size "$size" --frames 300
  read -r wall user sys rss < "$bench_work/time"
  awk -v w="$wall" -v u="$user" -v s="$sys" -v r="$rss" -v size="$size" 'BEGIN {
    printf "--render %s, 300 frames: %.1f frames/s, CPU %.0f %% of one core, peak RSS %.1f MiB\n",
           size, 300 / w, 100 * (u + s) / w, r / 1024 }'
done
