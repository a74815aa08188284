#!/usr/bin/env bash
# The idle watcher (smokedrift --idle): its CPU time and resident memory over SECONDS of waiting
# (an idle time it does not reach), and the time from the idle event to the saver's first frame
# (the watcher forks the saver on the event; the first buffer swap of the saver's drawing process
# shows the first frame), RUNS times, at 1280x720; then, for comparison, from starting /s by hand
# to its first frame.
# usage: bench/idle.sh wayland|x11 [SECONDS [RUNS [BINARY]]]   (default 60 s, 5 runs, build/smokedrift)
#   wayland: a private headless sway 1.7 (KDE's idle protocol); x11: a private Xvfb (-noreset).
set -euo pipefail
cd "$(dirname "$0")/.."
kind="${1:?usage: bench/idle.sh wayland|x11 [SECONDS [RUNS [BINARY]]]}"
seconds="${2:-60}"
runs="${3:-5}"
saver="$(realpath "${4:-build/smokedrift}")"
size=1280x720
source bench/session.sh
swap_probe=$(bench_probe)
cc -shared -fPIC -O2 -o "$bench_work/fork_probe.so" bench/fork_probe.c -ldl

case "$kind" in
x11)
  bench_start_xvfb "$size" -noreset
  unset WAYLAND_DISPLAY
  session="X11 (Xvfb $size)"
  ;;
wayland)
  bench_start_sway 1 "$size"
  session="Wayland (sway $size)"
  ;;
*) echo "bench/idle.sh: the session kind is wayland or x11" >&2; exit 2 ;;
esac

stop_watcher() { kill -TERM "$bench_saver"; wait "$bench_saver" || true; bench_saver=""; }

# Waiting: an hour's idle time, so nothing but the wait happens.
: > "$bench_work/err"
"$saver" --idle 3600 --verbose 2>"$bench_work/err" & bench_saver=$!
for _ in $(seq 1 100); do grep -q "idle source" "$bench_work/err" && break; sleep 0.05; done
grep -q "idle source" "$bench_work/err" || { echo "the watcher did not start: $(cat "$bench_work/err")" >&2; exit 1; }
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$bench_saver/stat"; }
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$bench_saver/status"; }
c0=$(cpu); w0=$(wakeups)
sleep "$seconds"
c1=$(cpu); w1=$(wakeups)
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$bench_saver/status")
hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$bench_saver/status")
anon=$(awk '/^RssAnon/ {print $2}' "/proc/$bench_saver/status")
source_name=$(sed -n 's/^smokedrift: idle source: //p' "$bench_work/err")
stop_watcher
awk -v s="$session" -v src="$source_name" -v t="$seconds" -v c=$((c1 - c0)) -v hz="$ticks" -v rss="$rss" -v hwm="$hwm" -v anon="$anon" -v w=$((w1 - w0)) 'BEGIN {
  printf "%s, %s: %d s of waiting: CPU %.2f s (%d ticks of 1/%d s), %d wake-ups, resident %.1f MB (peak %.1f MB, %.1f MB of it private)\n",
         s, src, t, c / hz, c, hz, w, rss / 1024, hwm / 1024, anon / 1024 }'

# From the idle event to the first frame: an idle time of one second, reached at once.
for run in $(seq 1 "$runs"); do
  : > "$bench_work/err"
  LD_PRELOAD="$bench_work/fork_probe.so $swap_probe" "$saver" --idle 1 2>"$bench_work/err" & bench_saver=$!
  for _ in $(seq 1 300); do grep -q first-swap-ns "$bench_work/err" && break; sleep 0.05; done
  fork=$(awk '/^fork-ns/ { print $2 }' "$bench_work/err" | sort -n | head -n1)
  swap=$(awk '/^first-swap-ns/ { print $2 }' "$bench_work/err" | sort -n | head -n1)
  stop_watcher
  [ -n "$fork" ] && [ -n "$swap" ] || { echo "run $run: no saver frame: $(grep -v -- -ns "$bench_work/err")" >&2; exit 1; }
  echo "run $run: $(( (swap - fork) / 1000000 )) ms from the idle event to the saver's first frame ($session)"
done

# For comparison: /s started directly, from its start to its first frame, in the same session.
for run in $(seq 1 "$runs"); do
  : > "$bench_work/err"
  start=$(date +%s%N)
  LD_PRELOAD="$swap_probe" "$saver" /s 2>"$bench_work/err" & bench_saver=$!
  for _ in $(seq 1 300); do grep -q first-swap-ns "$bench_work/err" && break; sleep 0.05; done
  swap=$(awk '/^first-swap-ns/ { print $2 }' "$bench_work/err" | sort -n | head -n1)
  stop_watcher
  echo "run $run: $(( (swap - start) / 1000000 )) ms from starting /s directly to its first frame ($session)"
done
