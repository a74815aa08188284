#!/usr/bin/env bash
# The render scale on a software renderer (llvmpipe), in one run: frames a second and CPU of /s
# under Xvfb at three sizes, at full size (--render-scale 1) against the saver's own choice (auto);
# the wake-up (a key to the window gone) at 1920x1080 and 3840x2160 the same two ways; and how far
# a 1920x1080 render at a third of the size is from the full-size one. The load average is printed
# beside each figure: the machine is shared.
# usage: bench/render_scale.sh [SECONDS [BINARY]]   (default 10 s, build/smokedrift)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
saver="${2:-build/smokedrift}"
source bench/session.sh
load() { cut -d' ' -f1-3 /proc/loadavg; }

# BENCH_PARTS picks parts: rate, wake, picture (default: all three).
parts="${BENCH_PARTS:-rate wake picture}"
# Past the first second, in which auto measures and chooses.
bench_warmup=3
[[ " $parts " == *" rate "* ]] && for size in 1280x720 1920x1080 3840x2160; do
  for scale in 1 auto; do
    bench_measure "/s $size --render-scale $scale" "$size" -- /s --render-scale "$scale" --verbose
    sed -n 's/^smokedrift: /    /p' "$bench_work/err"
    echo "    load average $(load)"
  done
done

# wake SCREEN SCALE: milliseconds from an XTest key press to the saver's window gone, five times,
# each after the saver drew steadily for 4 s (past the first second). The probe is connected
# before it presses, so no tool's start-up is in the figure.
cc -O2 -o "$bench_work/wake_probe" bench/wake_probe.c -lX11 -lXtst
wake() {
  local screen="$1" scale="$2" times=() id
  for _ in 1 2 3 4 5; do
    bench_start_xvfb "$screen"
    "$saver" /s --render-scale "$scale" 2>/dev/null &
    bench_saver=$!
    id=""
    for _ in $(seq 1 600); do
      id=$(xwininfo -root -tree | awk '/"Screen Saver": \("smokedrift"/ {print $1; exit}')
      [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable && break
      id=""
      sleep 0.05
    done
    times+=("$("$bench_work/wake_probe" "${id:-0}" 4 || echo none)")
    kill -TERM "$bench_saver" 2>/dev/null || true
    wait "$bench_saver" || true
    bench_saver=""
    kill -TERM "$bench_xvfb"
    wait "$bench_xvfb" 2>/dev/null || true
    bench_xvfb=""
  done
  echo "wake $screen --render-scale $scale: ${times[*]} ms (load average $(load))"
}
[[ " $parts " == *" wake "* ]] && for size in 1920x1080 3840x2160; do
  wake "$size" 1
  wake "$size" auto
done

# The picture: a third of the size scaled up, against full size as it is and against full size
# scaled down and up the same way (bilinear), as the mean difference per channel in levels of 255.
[[ " $parts " == *" picture "* ]] || exit 0
"$saver" --render "$bench_work/full.png" --size 1920x1080
"$saver" --render "$bench_work/k3.png" --size 1920x1080 --render-scale 3
convert "$bench_work/full.png" -filter Triangle -resize 640x360 -resize 1920x1080 "$bench_work/full3.png"
mae() { compare -metric MAE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\))/\1/p' | awk '{printf "%.2f", $1 * 255}'; }
echo "--render 1920x1080 --render-scale 3: mean difference per channel $(mae "$bench_work/full.png" "$bench_work/k3.png")" \
  "from full size, $(mae "$bench_work/full3.png" "$bench_work/k3.png") from full size scaled the same way" \
  "(load average $(load))"
[ -z "${BENCH_KEEP_PICTURES:-}" ] || cp "$bench_work/full.png" "$bench_work/k3.png" "$BENCH_KEEP_PICTURES"
