#!/usr/bin/env bash
# Frames per second, CPU use and peak memory: a /s run under Xvfb and a headless --render.
# Xvfb has no display refresh, so the swap interval cannot pace the saver there: the figure is the
# rate the 5 ms timer and the software renderer allow.
# usage: bench/pacing.sh [SECONDS]   (default 10; 640x480)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
source bench/xvfb.sh
probe=$(bench_probe)
ticks=$(getconf CLK_TCK)

bench_start_xvfb 640x480
: > "$bench_work/err"
LD_PRELOAD="$probe" build/smokedrift /s 2>"$bench_work/err" &
bench_saver=$!
for _ in $(seq 1 300); do grep -q first-swap-ns "$bench_work/err" && break; sleep 0.05; done
read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$bench_saver/stat")
n0=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err")
t0=$(date +%s%N)
sleep "$seconds"
read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$bench_saver/stat")
n1=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err")
t1=$(date +%s%N)
hwm=$(awk '/VmHWM/ {print $2}' "/proc/$bench_saver/status")
kill -TERM "$bench_saver"
wait "$bench_saver" || true
bench_saver=""
awk -v n=$((n1 - n0)) -v t=$((t1 - t0)) -v c=$((u1 + s1 - u0 - s0)) -v hz="$ticks" -v hwm="$hwm" 'BEGIN {
  printf "/s under Xvfb 640x480, %.0f s: %.1f frames/s, CPU %.0f %% of one core, peak RSS %.1f MiB\n",
         t / 1e9, n / (t / 1e9), 100 * (c / hz) / (t / 1e9), hwm / 1024 }'

for size in 640x480 1280x720; do
  /usr/bin/time -f '%e %U %S %M' -o "$bench_work/time" build/smokedrift --render "$bench_work/x.png" --size "$size" --frames 300
  read -r wall user sys rss < "$bench_work/time"
  awk -v w="$wall" -v u="$user" -v s="$sys" -v r="$rss" -v size="$size" 'BEGIN {
    printf "--render %s, 300 frames: %.1f frames/s, CPU %.0f %% of one core, peak RSS %.1f MiB\n",
           size, 300 / w, 100 * (u + s) / w, r / 1024 }'
done
