#!/usr/bin/env bash
# The full-screen saver at 320x240 under Xvfb for SMOKEDRIFT_SOAK_SECONDS (default 60): it keeps
# running and drawing, and its memory stays flat once the first part of the run is over.
#
# Flat: over the first five samples after the warm-up (a tenth of the run, at least 10 s) and the
# last five, both the lowest and the highest value rose by no more than a tolerance. A leak lifts
# both; a buffer caught in the middle of a frame lifts only a highest value, one freed for a moment
# lowers only a lowest. Three figures are checked, each reported by heap_probe.so preloaded into the
# saver or read from /proc:
# - blocks allocated and not freed (tolerance 200). A sound run holds its count within a few
#   dozen; a leak of one allocation per frame, at the 60-100 frames a second Xvfb gives, adds
#   2400-4000 over the 40 s between the two windows of the shortest run.
# - bytes the C heap has handed out (256 KiB). The rasteriser keeps whole 64 KiB blocks according to
#   what the frames cover, so this figure steps by 64 KiB either way; it catches a leak of a few
#   large buffers that the block count would not.
# - resident memory (256 KiB), which catches what bypasses the C heap: a mapping leaked per frame
#   costs at least a page, 240 KiB a second. Its lowest values wander by half a megabyte as the
#   driver maps and drops buffers, and a late peak of the rasteriser's blocks can touch one or two
#   64 KiB stretches of heap that stay resident.
#
# The allocator is told a fixed mmap threshold: by default glibc raises it after the first large
# free, and then the large per-frame buffers of the GL driver and Xlib fragment the heap for about
# a minute before it levels off.
source "$(dirname "$0")/../e2e/lib.sh"
probe_library=${2:?usage: $0 path/to/smokedrift path/to/heap_probe.so}
duration=${SMOKEDRIFT_SOAK_SECONDS:-60}
interval=${SMOKEDRIFT_SOAK_INTERVAL:-2}
warmup=$((duration / 10 > 10 ? duration / 10 : 10))
tolerance_kib=256
heap_tolerance_kib=256
blocks_tolerance=200
[ "$duration" -ge 30 ] || fail "SMOKEDRIFT_SOAK_SECONDS must be at least 30"

start_xvfb 320x240
heap_file="$WORK/heap"
MALLOC_MMAP_THRESHOLD_=131072 LD_PRELOAD="$probe_library" SMOKEDRIFT_HEAP_PROBE="$heap_file" start_saver /s
wait_for_full_screen

poll 10 test -s "$heap_file" || fail "the heap probe reports nothing (was $probe_library preloaded?)"

rss_kib() { awk '/^VmRSS:/{print $2}' "/proc/$SAVER_PID/status" 2>/dev/null; }
# "HEAP_KIB BLOCKS" from the probe's last report.
probe_figures() { awk '{print int($1 / 1024), $2}' "$heap_file" 2>/dev/null; }

# One sample, "RSS HEAP BLOCKS": of each figure the lowest of three readings 150 ms apart (the
# probe writes every 100 ms).
sample() {
  local low=() r h b
  for _ in 1 2 3; do
    r=$(rss_kib)
    read -r h b <<<"$(probe_figures)"
    [ -n "$r" ] && [ -n "${h:-}" ] && [ -n "${b:-}" ] || return 1
    if [ ${#low[@]} -eq 0 ]; then
      low=("$r" "$h" "$b")
    else
      [ "$r" -lt "${low[0]}" ] && low[0]=$r
      [ "$h" -lt "${low[1]}" ] && low[1]=$h
      [ "$b" -lt "${low[2]}" ] && low[2]=$b
    fi
    sleep 0.15
  done
  echo "${low[*]}"
}

began=$SECONDS
first=$(sample) || fail "the saver ended at once: $(cat "$WORK/saver.err")"
rss_after=()
heap_after=()
blocks_after=()
while [ $((SECONDS - began)) -lt "$duration" ]; do
  sleep "$interval"
  still_running || fail "the saver ended after $((SECONDS - began)) s: $(cat "$WORK/saver.err")"
  s=$(sample) || fail "the saver ended after $((SECONDS - began)) s"
  read -r rss heap blocks <<<"$s"
  echo "t=$((SECONDS - began))s rss=${rss}KiB heap=${heap}KiB blocks=${blocks}" >>"$WORK/memory.log"
  if [ $((SECONDS - began)) -gt "$warmup" ]; then
    rss_after+=("$rss")
    heap_after+=("$heap")
    blocks_after+=("$blocks")
  fi
done
count=${#rss_after[@]}
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
# report NAME UNIT START VALUES...: one line of figures for the log.
report() {
  local name=$1 unit=$2 start=$3
  shift 3
  echo "$name: start ${start}${unit}, after the ${warmup} s warm-up $(lowest "${@:1:5}")${unit}," \
    "end $(lowest "${@:$(($# - 4))}")${unit}, highest $(highest "$@")${unit}, growth $(growth "$@")${unit}"
}
read -r first_rss first_heap first_blocks <<<"$first"
echo "over ${duration} s, ${count} samples after the warm-up:"
report "resident memory" " KiB" "$first_rss" "${rss_after[@]}"
report "heap in use" " KiB" "$first_heap" "${heap_after[@]}"
report "blocks in use" "" "$first_blocks" "${blocks_after[@]}"
poll 10 draws_between_bands 320 240 || fail "no smoke on the screen at the end of the run"
kill -TERM "$SAVER_PID"
expect_exit 0
cat "$WORK/memory.log"
# check NAME TOLERANCE UNIT VALUES...
check() {
  local name=$1 tolerance=$2 unit=$3
  shift 3
  local grew
  grew=$(growth "$@")
  [ "$grew" -le "$tolerance" ] ||
    fail "$name grew by ${grew}${unit} after the warm-up (tolerance ${tolerance}${unit})"
}
check "resident memory" "$tolerance_kib" " KiB" "${rss_after[@]}"
check "the heap in use" "$heap_tolerance_kib" " KiB" "${heap_after[@]}"
check "the blocks in use" "$blocks_tolerance" "" "${blocks_after[@]}"
echo "memory flat: ok"
