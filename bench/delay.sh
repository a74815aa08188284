#!/usr/bin/env bash
# What --delay does to a /s run: frames per second and CPU, one run per delay, under Xvfb 320x240
# (no display refresh there, so without a delay the timer and the renderer set the pace).
# usage: bench/delay.sh [SECONDS] [DELAY...]   (default 10 s; delays 0 16667 33333 100000)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
shift || true
delays=("$@")
[ ${#delays[@]} -gt 0 ] || delays=(0 16667 33333 100000)
source bench/session.sh
probe=$(bench_probe)
ticks=$(getconf CLK_TCK)
bench_start_xvfb 320x240
for delay in "${delays[@]}"; do
  : > "$bench_work/err"
  LD_PRELOAD="$probe" build/smokedrift /s --delay "$delay" 2>"$bench_work/err" &
  bench_saver=$!
  for _ in $(seq 1 300); do grep -q first-swap-ns "$bench_work/err" && break; sleep 0.05; done
  sleep 1
  read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$bench_saver/stat")
  n0=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err")
  t0=$(date +%s%N)
  sleep "$seconds"
  read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$bench_saver/stat")
  n1=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err")
  t1=$(date +%s%N)
  kill -TERM "$bench_saver"
  wait "$bench_saver" || true
  bench_saver=""
  awk -v d="$delay" -v n=$((n1 - n0)) -v t=$((t1 - t0)) -v c=$((u1 + s1 - u0 - s0)) -v hz="$ticks" 'BEGIN {
    printf "/s --delay %-7s %.0f s: %5.1f frames/s, CPU %3.0f %% of one core\n",
           d, t / 1e9, n / (t / 1e9), 100 * (c / hz) / (t / 1e9) }'
done
