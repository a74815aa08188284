#!/usr/bin/env bash
# The full-screen saver at 320x240 under Xvfb for SMOKEDRIFT_SOAK_SECONDS (default 60): it keeps
# running and drawing, and its memory stays flat once the first part of the run is over.
#
# Flat: over every sample after the warm-up (a tenth of the run, at least 10 s), the figures show
# no rise that is both larger than a tolerance and a trend rather than noise. The rise is the
# median of the slopes between every pair of samples (Theil-Sen), carried over that stretch; the
# trend's strength is how many more pairs rise than fall (Mann-Kendall's S, as a z score), and
# counts from 3 up (chance gives that about once in 700 runs). A leak lifts nearly every pair,
# while a figure that swings between levels (a buffer caught in the middle of a frame, one freed
# for a moment) tilts as many pairs down as up, and a few extremes, wherever they fall, move
# neither a median nor a count of signs. Three figures are checked, each reported by
# heap_probe.so preloaded into the saver or read from /proc:
# - blocks allocated and not freed (tolerance 200). A sound run holds its count within a few
#   dozen; a leak of one allocation per frame, at the 60-100 frames a second Xvfb gives, adds
#   2400-4000 over the 40 s after the warm-up of the shortest run.
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
times_after=()
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
    times_after+=("$((SECONDS - began))")
    rss_after+=("$rss")
    heap_after+=("$heap")
    blocks_after+=("$blocks")
  fi
done
count=${#rss_after[@]}
[ "$count" -ge 10 ] || fail "only $count samples after the warm-up; run longer"

lowest() { printf '%s\n' "$@" | sort -n | head -n1; }
highest() { printf '%s\n' "$@" | sort -n | tail -n1; }
# growth VALUES... prints "RISE Z": the median slope between every pair of samples (at
# times_after) times the time from the first sample to the last, rounded, and the z score of
# Mann-Kendall's S (ties left in, which only lowers it).
growth() {
  local span=$((times_after[-1] - times_after[0]))
  paste -d ' ' <(printf '%s\n' "${times_after[@]}") <(printf '%s\n' "$@") |
    awk '{ t[NR] = $1; v[NR] = $2 }
         END { s = 0
               for (i = 1; i <= NR; i++) for (j = i + 1; j <= NR; j++) {
                 s += (v[j] > v[i]) - (v[j] < v[i])
                 if (t[j] > t[i]) print "slope", (v[j] - v[i]) / (t[j] - t[i])
               }
               z = s > 0 ? (s - 1) : s < 0 ? (s + 1) : 0
               print "z", z / sqrt(NR * (NR - 1) * (2 * NR + 5) / 18) }' |
    sort -k1,1 -k2,2g |
    awk -v span="$span" '$1 == "slope" { s[++n] = $2 } $1 == "z" { z = $2 }
         END { m = n % 2 ? s[(n + 1) / 2] : (s[n / 2] + s[n / 2 + 1]) / 2
               g = m * span; printf "%d %.1f\n", g < 0 ? g - 0.5 : g + 0.5, z }'
}
# report NAME UNIT START VALUES...: one line of figures for the log.
report() {
  local name=$1 unit=$2 start=$3
  shift 3
  local rise z
  read -r rise z <<<"$(growth "$@")"
  echo "$name: start ${start}${unit}, after the ${warmup} s warm-up $(lowest "${@:1:5}")${unit}," \
    "end $(lowest "${@:$(($# - 4))}")${unit}, highest $(highest "$@")${unit}, trend ${rise}${unit} (z ${z})"
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
  local rise z
  read -r rise z <<<"$(growth "$@")"
  [ "$rise" -le "$tolerance" ] || awk -v z="$z" 'BEGIN { exit !(z < 3) }' ||
    fail "$name rose by ${rise}${unit} after the warm-up, a steady trend (z ${z}; tolerance ${tolerance}${unit})"
}
check "resident memory" "$tolerance_kib" " KiB" "${rss_after[@]}"
check "the heap in use" "$heap_tolerance_kib" " KiB" "${heap_after[@]}"
check "the blocks in use" "$blocks_tolerance" "" "${blocks_after[@]}"
echo "memory flat: ok"
