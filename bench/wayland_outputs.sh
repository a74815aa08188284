#!/usr/bin/env bash
# What an output costs on Wayland: the full-screen saver under a headless sway with OUTPUTS outputs
# of one size, and the memory of each of its per-output processes after SECONDS (resident, the
# proportional share of what processes share, and private), those drawing the scene and those
# covering their output black past the scene limit (SMOKEDRIFT_SCENE_OUTPUTS, when given).
# usage: bench/wayland_outputs.sh [OUTPUTS [WIDTHxHEIGHT [SCENE_OUTPUTS [SECONDS [BINARY]]]]]
#        (default 1 output, 640x480, the built-in limit, 5 s, build/smokedrift)
set -euo pipefail
cd "$(dirname "$0")/.."
outputs="${1:-1}"
size="${2:-640x480}"
scene="${3:-}"
seconds="${4:-5}"
saver="$(realpath "${5:-build/smokedrift}")"
source bench/session.sh
bench_start_sway "$outputs" "$size"

SMOKEDRIFT_SCENE_OUTPUTS="$scene" "$saver" /s 2>"$bench_work/err" &
bench_saver=$!
for _ in $(seq 1 600); do [ "$(pgrep -c -P "$bench_saver")" -ge "$outputs" ] && break; sleep 0.1; done
sleep "$seconds"
printf '%-6s %-6s %9s %9s %9s\n' pid kind "RSS KiB" "PSS KiB" "own KiB"
for pid in $bench_saver $(pgrep -P "$bench_saver"); do
  kind=black
  [ "$pid" = "$bench_saver" ] && kind=watch
  grep -q 'libLLVM\|swrast' "/proc/$pid/maps" && kind=scene
  awk -v pid="$pid" -v kind="$kind" '/^Rss:/ {r=$2} /^Pss:/ {p=$2} /^Private_(Clean|Dirty):/ {o+=$2}
    END {printf "%-6s %-6s %9d %9d %9d\n", pid, kind, r, p, o}' "/proc/$pid/smaps_rollup"
done
