#!/usr/bin/env bash
# The idle watcher (smokedrift --idle): its CPU time and resident memory over SECONDS of waiting
# (an idle time it does not reach) while it serves org.freedesktop.ScreenSaver on a private session
# bus, over SECONDS idle while a player holds an inhibition there, and on X11 over SECONDS idle
# with the server's saver switched off after it started (re-asked every few seconds; as
# xdg-screensaver suspend does); and the time from the idle event to the saver's first frame
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
dbus-daemon --session --nofork --address="unix:path=$bench_work/bus" --print-address >"$bench_work/bus.address" 2>/dev/null &
bench_bus=$!
for _ in $(seq 1 100); do [ -s "$bench_work/bus.address" ] && break; sleep 0.05; done
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bench_work/bus.address")
export DBUS_SESSION_BUS_ADDRESS
bench_player=""
trap 'kill $bench_bus $bench_player 2>/dev/null; bench_cleanup' EXIT
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

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$bench_saver/stat"; }
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$bench_saver/status"; }
# watch IDLE_SECONDS LABEL UNTIL [SETUP...]: a watcher, which runs SETUP once it has chosen its
# source and is measured over $seconds once its log says UNTIL; no saver may run at the end.
watch() {
  local idle="$1" label="$2" until="$3"
  shift 3
  : > "$bench_work/err"
  "$saver" --idle "$idle" --verbose 2>"$bench_work/err" & bench_saver=$!
  for _ in $(seq 1 200); do grep -q "idle source" "$bench_work/err" && break; sleep 0.05; done
  "$@"
  for _ in $(seq 1 200); do grep -q "$until" "$bench_work/err" && break; sleep 0.05; done
  grep -q "$until" "$bench_work/err" || { echo "the watcher did not get to '$until': $(cat "$bench_work/err")" >&2; exit 1; }
  local c0 w0 c1 w1 rss hwm anon source_name
  c0=$(cpu); w0=$(wakeups)
  sleep "$seconds"
  c1=$(cpu); w1=$(wakeups)
  [ -z "$(pgrep -P "$bench_saver")" ] || { echo "a saver runs: $(cat "$bench_work/err")" >&2; exit 1; }
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$bench_saver/status")
  hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$bench_saver/status")
  anon=$(awk '/^RssAnon/ {print $2}' "/proc/$bench_saver/status")
  source_name=$(sed -n 's/^smokedrift: idle source: //p' "$bench_work/err")
  stop_watcher
  awk -v s="$session" -v src="$source_name" -v l="$label" -v t="$seconds" -v c=$((c1 - c0)) -v hz="$ticks" -v rss="$rss" -v hwm="$hwm" -v anon="$anon" -v w=$((w1 - w0)) 'BEGIN {
    printf "%s, %s: %d s %s: CPU %.2f s (%d ticks of 1/%d s), %d wake-ups, resident %.1f MB (peak %.1f MB, %.1f MB of it private)\n",
           s, src, t, l, c / hz, c, hz, w, rss / 1024, hwm / 1024, anon / 1024 }'
}

# A player holding a ScreenSaver inhibition; simulated activity then ends a saver that came first.
hold_inhibition() {
  /usr/bin/python3 -c 'import time; from gi.repository import Gio, GLib
c = Gio.bus_get_sync(Gio.BusType.SESSION, None)
c.call_sync("org.freedesktop.ScreenSaver", "/ScreenSaver", "org.freedesktop.ScreenSaver", "Inhibit",
            GLib.Variant("(ss)", ("bench", "a film")), None, 0, -1, None)
print("held", flush=True)
time.sleep(100000)' >"$bench_work/player" & bench_player=$!
  for _ in $(seq 1 200); do grep -q held "$bench_work/player" && break; sleep 0.05; done
  gdbus call --session --dest org.freedesktop.ScreenSaver --object-path /ScreenSaver \
    --method org.freedesktop.ScreenSaver.SimulateUserActivity >/dev/null
}

# Waiting: an hour's idle time, so nothing but the wait happens.
watch 3600 "of waiting, serving org.freedesktop.ScreenSaver" "serving org.freedesktop.ScreenSaver" true
# Idle (one second) and inhibited by the player.
watch 1 "idle, held off by a ScreenSaver inhibition" "held off by .*'bench'" hold_inhibition
kill "$bench_player"; bench_player=""
if [ "$kind" = x11 ]; then
  # Idle with the server's saver switched off after the watcher started, and a key for a saver
  # that came first.
  xset s 600
  watch 1 "idle, held off by the server's saver switched off" "held off by the X server" \
    sh -c 'xset s off; xdotool key space'
  xset s default
fi

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
