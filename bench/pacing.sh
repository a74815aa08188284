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

bench_measure "/s under Xvfb 320x240" 320x240 -- /s
bench_measure "/s under Xvfb 640x480" 640x480 -- /s
bench_measure "--window (640x480) under Xvfb 800x600" 800x600 -- --window
bench_measure "--window unmapped" 800x600 unmap -- --window

for size in 640x480 1280x720; do
  /usr/bin/time -f '%e %U %S %M' -o "$bench_work/time" "$saver" --render "$bench_work/x.png" --size "$size" --frames 300
  read -r wall user sys rss < "$bench_work/time"
  awk -v w="$wall" -v u="$user" -v s="$sys" -v r="$rss" -v size="$size" 'BEGIN {
    printf "--render %s, 300 frames: %.1f frames/s, CPU %.0f %% of one core, peak RSS %.1f MiB\n",
           size, 300 / w, 100 * (u + s) / w, r / 1024 }'
done
