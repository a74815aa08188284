#!/usr/bin/env bash
# Time from starting `smokedrift /s` to its first buffer swap, under a private Xvfb.
# usage: bench/first_swap.sh [WIDTHxHEIGHT] [RUNS]   (after a build; default 1280x720, 5 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
size="${1:-1280x720}"
runs="${2:-5}"
source bench/session.sh
probe=$(bench_probe)
bench_start_xvfb "$size"

for run in $(seq 1 "$runs"); do
  : > "$bench_work/err"
  start=$(date +%s%N)
  LD_PRELOAD="$probe" build/smokedrift /s 2>"$bench_work/err" &
  bench_saver=$!
  for _ in $(seq 1 300); do grep -q first-swap-ns "$bench_work/err" && break; sleep 0.05; done
  swap=$(awk '/first-swap-ns/ { print $2 }' "$bench_work/err")
  kill -TERM "$bench_saver"
  wait "$bench_saver" || true
  bench_saver=""
  echo "run $run: $(( (swap - start) / 1000000 )) ms from start to first swap at $size"
done
