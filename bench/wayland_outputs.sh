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
work="$(mktemp -d)"
sway_pid=""
saver_pid=""
trap '[ -n "$saver_pid" ] && kill -TERM "$saver_pid" 2>/dev/null; sleep 0.5;
      [ -n "$sway_pid" ] && kill -TERM "$sway_pid" 2>/dev/null; rm -rf "$work"' EXIT

# sway refuses to run as root: then it runs as an unprivileged user made for the tests.
run_dir="$work/run"
mkdir -p "$run_dir"; chmod 700 "$run_dir"
printf 'output * bg #000000 solid_color\n' > "$work/sway.conf"
as=()
if [ "$(id -u)" -eq 0 ]; then
  id smokedrift-wl >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin smokedrift-wl
  chmod 755 "$work"; chown smokedrift-wl "$run_dir"; chmod 644 "$work/sway.conf"
  as=(runuser -u smokedrift-wl --)
fi
"${as[@]}" env XDG_RUNTIME_DIR="$run_dir" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS="$outputs" \
  WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$work/sway.conf" >/dev/null 2>&1 &
starter=$!
for _ in $(seq 1 100); do [ -S "$run_dir/wayland-1" ] && ls "$run_dir"/sway-ipc.*.sock >/dev/null 2>&1 && break; sleep 0.1; done
sway_pid=$(pgrep -P "$starter" -x sway || echo "$starter")
export XDG_RUNTIME_DIR="$run_dir" WAYLAND_DISPLAY=wayland-1 SWAYSOCK
SWAYSOCK=$(ls "$run_dir"/sway-ipc.*.sock)
for i in $(seq 1 "$outputs"); do
  swaymsg output "HEADLESS-$i" resolution "$size" position $(((i - 1) * ${size%x*})) 0 >/dev/null
done

SMOKEDRIFT_SCENE_OUTPUTS="$scene" "$saver" /s 2>"$work/err" &
saver_pid=$!
for _ in $(seq 1 600); do [ "$(pgrep -c -P "$saver_pid")" -ge "$outputs" ] && break; sleep 0.1; done
sleep "$seconds"
printf '%-6s %-6s %9s %9s %9s\n' pid kind "RSS KiB" "PSS KiB" "own KiB"
for pid in $saver_pid $(pgrep -P "$saver_pid"); do
  kind=black
  [ "$pid" = "$saver_pid" ] && kind=watch
  grep -q 'libLLVM\|swrast' "/proc/$pid/maps" && kind=scene
  awk -v pid="$pid" -v kind="$kind" '/^Rss:/ {r=$2} /^Pss:/ {p=$2} /^Private_(Clean|Dirty):/ {o+=$2}
    END {printf "%-6s %-6s %9d %9d %9d\n", pid, kind, r, p, o}' "/proc/$pid/smaps_rollup"
done
