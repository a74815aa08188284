# Sourced by the bench scripts: a private Xvfb of the given size, stopped on exit with the saver.
bench_work="$(mktemp -d)"
bench_xvfb=""
bench_saver=""
bench_cleanup() {
  [ -n "$bench_saver" ] && kill -KILL "$bench_saver" 2>/dev/null || true
  [ -n "$bench_xvfb" ] && kill -TERM "$bench_xvfb" 2>/dev/null || true
  rm -rf "$bench_work"
}
trap bench_cleanup EXIT

bench_start_xvfb() {  # bench_start_xvfb WIDTHxHEIGHT
  exec 3> "$bench_work/display"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
  bench_xvfb=$!
  exec 3>&-
  for _ in $(seq 1 100); do [ -s "$bench_work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$bench_work/display")"
}

bench_probe() {  # builds the swap-counting probe, prints its path
  cc -shared -fPIC -O2 -o "$bench_work/probe.so" bench/swap_probe.c -ldl
  echo "$bench_work/probe.so"
}
