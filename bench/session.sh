# Sourced by the bench scripts: a private Xvfb or headless sway, stopped on exit with the saver.
bench_work="$(mktemp -d)"
bench_xvfb=""
bench_saver=""
bench_sway=""
bench_cleanup() {
  [ -n "$bench_saver" ] && { kill -KILL "$bench_saver" 2>/dev/null; wait "$bench_saver" 2>/dev/null; } || true
  [ -n "$bench_xvfb" ] && kill -TERM "$bench_xvfb" 2>/dev/null || true
  [ -n "$bench_sway" ] && kill -TERM "$bench_sway" 2>/dev/null || true
  rm -rf "$bench_work"
}
trap bench_cleanup EXIT

bench_start_xvfb() {  # bench_start_xvfb WIDTHxHEIGHT [Xvfb options]
  local size="$1"; shift
  exec 3> "$bench_work/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$@" >/dev/null 2>&1 &
  bench_xvfb=$!
  exec 3>&-
  for _ in $(seq 1 100); do [ -s "$bench_work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$bench_work/display")"
}

bench_probe() {  # builds the swap-counting probe, prints its path
  cc -shared -fPIC -O2 -o "$bench_work/probe.so" bench/swap_probe.c -ldl
  echo "$bench_work/probe.so"
}

# bench_measure LABEL SCREEN [unmap] -- SAVER ARGUMENTS...: one line of frames/s, CPU and peak
# memory of $saver (the binary) running SECONDS ($seconds) under a fresh Xvfb of that size.
bench_measure() {
  local label="$1" screen="$2" unmap=""
  shift 2
  [ "$1" = unmap ] && { unmap=1; shift; }
  shift  # --
  bench_start_xvfb "$screen"
  : > "$bench_work/err"
  [ -n "${bench_probe_so:-}" ] || bench_probe_so=$(bench_probe)
  LD_PRELOAD="$bench_probe_so" "$saver" "$@" 2>"$bench_work/err" &
  bench_saver=$!
  for _ in $(seq 1 300); do grep -q first-swap-ns "$bench_work/err" && break; sleep 0.05; done
  sleep "${bench_warmup:-0}"  # seconds not counted after the first swap
  if [ -n "$unmap" ]; then
    xdotool windowunmap "$(xdotool search --name '^smokedrift$' | head -n1)"
    sleep 1  # let the frames already under way finish
  fi
  local u0 s0 u1 s1 x0 x1 n0 n1 t0 t1 hwm
  read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$bench_saver/stat")
  x0=$(awk '{print $14 + $15}' "/proc/$bench_xvfb/stat")
  n0=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err")
  t0=$(date +%s%N)
  sleep "$seconds"
  read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$bench_saver/stat")
  x1=$(awk '{print $14 + $15}' "/proc/$bench_xvfb/stat")
  n1=$(awk '/^swaps/ {n=$2} END {print n+0}' "$bench_work/err")
  t1=$(date +%s%N)
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$bench_saver/status")
  kill -TERM "$bench_saver"
  wait "$bench_saver" || true
  bench_saver=""
  kill -TERM "$bench_xvfb"
  wait "$bench_xvfb" 2>/dev/null || true
  bench_xvfb=""
  # The probe reports every 10th swap: fewer than 10 in the run shows as 0.
  awk -v l="$label" -v n=$((n1 - n0)) -v t=$((t1 - t0)) -v c=$((u1 + s1 - u0 - s0)) -v x=$((x1 - x0)) -v hz="$(getconf CLK_TCK)" \
      -v hwm="$hwm" 'BEGIN {
    s = t / 1e9
    printf "%s, %.0f s: %.1f frames/s, CPU %.0f %% of one core (+ %.0f %% in Xvfb), peak RSS %.1f MiB\n",
           l, s, n / s, 100 * (c / hz) / s, 100 * (x / hz) / s, hwm / 1024 }'
}

# bench_start_sway OUTPUTS WIDTHxHEIGHT: a private headless sway with that many outputs of that size
# side by side; exports its WAYLAND_DISPLAY, XDG_RUNTIME_DIR and SWAYSOCK and unsets DISPLAY.
# sway refuses to run as root: then it runs as an unprivileged user made for the tests.
bench_start_sway() {
  local outputs="$1" size="$2" run_dir="$bench_work/run" as=() starter i
  mkdir -p "$run_dir"; chmod 700 "$run_dir"
  printf 'output * bg #000000 solid_color\n' > "$bench_work/sway.conf"
  if [ "$(id -u)" -eq 0 ]; then
    id smokedrift-wl >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin smokedrift-wl
    chmod 755 "$bench_work"; chown smokedrift-wl "$run_dir"; chmod 644 "$bench_work/sway.conf"
    as=(runuser -u smokedrift-wl --)
  fi
  "${as[@]}" env XDG_RUNTIME_DIR="$run_dir" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS="$outputs" \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$bench_work/sway.conf" >/dev/null 2>&1 &
  starter=$!
  for _ in $(seq 1 100); do [ -S "$run_dir/wayland-1" ] && ls "$run_dir"/sway-ipc.*.sock >/dev/null 2>&1 && break; sleep 0.1; done
  bench_sway=$(pgrep -P "$starter" -x sway || echo "$starter")
  SWAYSOCK=$(ls "$run_dir"/sway-ipc.*.sock)
  export XDG_RUNTIME_DIR="$run_dir" WAYLAND_DISPLAY=wayland-1 SWAYSOCK
  unset DISPLAY
  for i in $(seq 1 "$outputs"); do
    swaymsg output "HEADLESS-$i" resolution "$size" position $(((i - 1) * ${size%x*})) 0 >/dev/null
  done
}
