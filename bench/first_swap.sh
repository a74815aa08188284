#!/usr/bin/env bash
# Time from starting `smokedrift /s` to its first buffer swap, under a private Xvfb.
# usage: bench/first_swap.sh [WIDTHxHEIGHT] [RUNS]   (after a build; default 1280x720, 5 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
size="${1:-1280x720}"
runs="${2:-5}"
work="$(mktemp -d)"
xvfb=""
saver=""
cleanup() {
  [ -n "$saver" ] && kill -KILL "$saver" 2>/dev/null || true
  [ -n "$xvfb" ] && kill -TERM "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cc -shared -fPIC -O2 -o "$work/probe.so" bench/first_swap_probe.c -ldl
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"

for run in $(seq 1 "$runs"); do
  : > "$work/err"
  start=$(date +%s%N)
  LD_PRELOAD="$work/probe.so" build/smokedrift /s 2>"$work/err" &
  saver=$!
  for _ in $(seq 1 300); do grep -q first-swap-ns "$work/err" && break; sleep 0.05; done
  swap=$(awk '/first-swap-ns/ { print $2 }' "$work/err")
  kill -TERM "$saver"
  wait "$saver" || true
  saver=""
  echo "run $run: $(( (swap - start) / 1000000 )) ms from start to first swap at $size"
done
