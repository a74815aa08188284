#!/usr/bin/env bash
# The road to the first drawn frame, broken down by the saver's own start-up trace
# (SMOKEDRIFT_TRACE_STARTUP): headless (--render, 3 frames) and full screen under Xvfb (/s).
# Milliseconds from the program's start (its globals' construction, after the dynamic loader).
# usage: bench/startup.sh [RUNS]   (default 5; 1280x720)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
source bench/session.sh

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
report() {  # report LABEL FILE
  local f=$2
  printf '%-34s context %6.1f  texture %5.1f  scene ready %6.1f  first frame %6.1f ms (median of %s)\n' "$1" \
    "$(awk '{print $4}' "$f" | tr -d , | median)" "$(awk '{print $6}' "$f" | median)" \
    "$(awk '{print $9}' "$f" | tr -d , | median)" "$(awk '{print $12}' "$f" | median)" "$runs"
}

: > "$bench_work/headless"
for _ in $(seq 1 "$runs"); do
  SMOKEDRIFT_TRACE_STARTUP=1 build/smokedrift --render "$bench_work/x.png" --frames 3 2>>"$bench_work/headless"
done
report "headless --render 1280x720" "$bench_work/headless"

bench_start_xvfb 1280x720
: > "$bench_work/xvfb"
for _ in $(seq 1 "$runs"); do
  : > "$bench_work/err"
  SMOKEDRIFT_TRACE_STARTUP=1 build/smokedrift /s 2>"$bench_work/err" &
  bench_saver=$!
  for _ in $(seq 1 300); do grep -q 'startup ms' "$bench_work/err" && break; sleep 0.05; done
  grep 'startup ms' "$bench_work/err" >>"$bench_work/xvfb"
  kill -TERM "$bench_saver"
  wait "$bench_saver" || true
  bench_saver=""
done
report "/s under Xvfb 1280x720" "$bench_work/xvfb"
