#!/usr/bin/env bash
# The full-screen saver at 320x240 under Xvfb for SMOKEDRIFT_SOAK_SECONDS (default 60): it keeps
# running and drawing, and its memory stays flat once the first part of the run is over.
#
# Flat: over the first five samples after the warm-up (a tenth of the run, at least 10 s) and the
# last five, both the lowest and the highest value rose by no more than a tolerance. A leak lifts
# both; a buffer caught in the middle of a frame lifts only a highest value, one freed for a moment
# lowers only a lowest. Two figures are checked: resident memory (VmRSS, 64 KiB) and the bytes the
# C heap has handed out (32 KiB), reported by heap_probe.so preloaded into the saver. A leak of one
# allocation per frame (a 32-byte heap chunk, at the 60-100 frames a second Xvfb gives) adds
# 1.9-3.2 KiB a second, 75-125 KiB over the 40 s between the two windows of the shortest run: the
# heap figure catches it, resident memory only once the free room the heap kept from start-up is
# used up (a 10-minute run).
#
# The allocator is told a fixed mmap threshold: by default glibc raises it after the first large
# free, and then the large per-frame buffers of the GL driver and Xlib fragment the heap for about
# a minute before it levels off, which would hide a small leak in a short run.
source "$(dirname "$0")/../e2e/lib.sh"
probe_library=${2:?usage: $0 path/to/smokedrift path/to/heap_probe.so}
duration=${SMOKEDRIFT_SOAK_SECONDS:-60}
interval=${SMOKEDRIFT_SOAK_INTERVAL:-2}
warmup=$((duration / 10 > 10 ? duration / 10 : 10))
tolerance_kib=64
heap_tolerance_kib=32
[ "$duration" -ge 30 ] || fail "SMOKEDRIFT_SOAK_SECONDS must be at least 30"

start_xvfb 320x240
heap_file="$WORK/heap"
MALLOC_MMAP_THRESHOLD_=131072 LD_PRELOAD="$probe_library" SMOKEDRIFT_HEAP_PROBE="$heap_file" start_saver /s
wait_for_full_screen

poll 10 test -s "$heap_file" || fail "the heap probe reports nothing (was $probe_library preloaded?)"

rss_kib() { awk '/^VmRSS:/{print $2}' "/proc/$SAVER_PID/status" 2>/dev/null; }
heap_kib() { awk '{print int($1 / 1024)}' "$heap_file" 2>/dev/null; }

# One sample, "RSS HEAP" in KiB: the lowest of three readings 150 ms apart (the probe writes
# every 100 ms).
sample() {
  local low="" heap="" r h
  for _ in 1 2 3; do
    r=$(rss_kib)
    h=$(heap_kib)
    [ -n "$r" ] && [ -n "$h" ] || return 1
    if [ -z "$low" ] || [ "$r" -lt "$low" ]; then low=$r; fi
    if [ -z "$heap" ] || [ "$h" -lt "$heap" ]; then heap=$h; fi
    sleep 0.15
  done
  echo "$low $heap"
}

began=$SECONDS
first=$(sample) || fail "the saver ended at once: $(cat "$WORK/saver.err")"
after=()
heaps=()
while [ $((SECONDS - began)) -lt "$duration" ]; do
  sleep "$interval"
  still_running || fail "the saver ended after $((SECONDS - began)) s: $(cat "$WORK/saver.err")"
  s=$(sample) || fail "the saver ended after $((SECONDS - began)) s"
  read -r rss heap <<<"$s"
  echo "t=$((SECONDS - began))s rss=${rss}KiB heap=${heap}KiB" >>"$WORK/rss.log"
  if [ $((SECONDS - began)) -gt "$warmup" ]; then
    after+=("$rss")
    heaps+=("$heap")
  fi
done
count=${#after[@]}
[ "$count" -ge 10 ] || fail "only $count samples after the warm-up; run longer"

lowest() { printf '%s\n' "$@" | sort -n | head -n1; }
highest() { printf '%s\n' "$@" | sort -n | tail -n1; }
# growth VALUES...: by how much both the lowest and the highest value rose from the first five
# to the last five (the smaller rise of the two).
growth() {
  local values=("$@") n=$#
  local first=("${values[@]:0:5}") last=("${values[@]:$((n - 5))}")
  local low=$(($(lowest "${last[@]}") - $(lowest "${first[@]}")))
  local high=$(($(highest "${last[@]}") - $(highest "${first[@]}")))
  echo $((low < high ? low : high))
}
baseline=$(lowest "${after[@]:0:5}")
final=$(lowest "${after[@]:$((count - 5))}")
rss_growth=$(growth "${after[@]}")
heap_baseline=$(lowest "${heaps[@]:0:5}")
heap_final=$(lowest "${heaps[@]:$((count - 5))}")
heap_growth=$(growth "${heaps[@]}")
read -r first_rss first_heap <<<"$first"
echo "RSS: start ${first_rss} KiB, after the ${warmup} s warm-up ${baseline} KiB, end ${final} KiB," \
  "highest $(highest "${after[@]}") KiB, growth ${rss_growth} KiB over ${duration} s (${count} samples)"
echo "heap in use: start ${first_heap} KiB, after the warm-up ${heap_baseline} KiB, end ${heap_final} KiB," \
  "growth ${heap_growth} KiB"
poll 10 draws_between_bands 320 240 || fail "no smoke on the screen at the end of the run"
kill -TERM "$SAVER_PID"
expect_exit 0
cat "$WORK/rss.log"
if [ "$rss_growth" -gt "$tolerance_kib" ]; then
  fail "resident memory grew by $rss_growth KiB after the warm-up (tolerance $tolerance_kib KiB)"
fi
if [ "$heap_growth" -gt "$heap_tolerance_kib" ]; then
  fail "the heap in use grew by $heap_growth KiB after the warm-up (tolerance $heap_tolerance_kib KiB)"
fi
echo "memory flat: ok"
