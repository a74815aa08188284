# The saver as a background process of a test script, for the e2e and Wayland levels: bounded
# polling, start, exit code, and reading a screenshot's rows. Sourced by their lib.sh, which set
# SAVER, WORK and PIDS and define fail.

gone() { ! kill -0 "$1" 2>/dev/null; }

# poll SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; false after SECONDS.
poll() {
  local seconds="$1"
  shift
  local tries=$((seconds * 10))
  local i
  for i in $(seq 1 "$tries"); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Starts the saver with the given arguments in the background; its pid in SAVER_PID.
start_saver() {
  "$SAVER" "$@" >"$WORK/saver.out" 2>"$WORK/saver.err" &
  SAVER_PID=$!
  PIDS+=("$SAVER_PID")
}

# A process we waited for is no longer ours: its pid may be handed to another test's process.
reaped() {
  local kept=() pid
  for pid in "${PIDS[@]}"; do [ "$pid" = "$1" ] || kept+=("$pid"); done
  PIDS=("${kept[@]}")
}

# Waits (bounded) for the saver to end and checks its exit code.
expect_exit() {
  local expected="$1"
  poll 30 gone "$SAVER_PID" || fail "saver still running, expected exit $expected"
  local code=0
  wait "$SAVER_PID" || code=$?
  reaped "$SAVER_PID"
  [ "$code" -eq "$expected" ] ||
    fail "saver exited with $code, expected $expected; stderr: $(cat "$WORK/saver.err")"
}

still_running() { kill -0 "$SAVER_PID" 2>/dev/null; }

# brightest_in FILE WxH+X+Y: the brightest channel value (0..1) in that part of a picture, the
# same with ImageMagick 6 (Debian 12) and 7 (Debian 13, which has no maxima.intensity).
brightest_in() {
  convert "$1" -crop "$2" +repage -channel RGB -separate -format "%[fx:maxima]\n" info: |
    awk 'NR == 1 || $1 > m { m = $1 } END { print m }'
}

# Brightest channel value (0..1) of a one-pixel-high row of a screenshot.
row_max() { brightest_in "$1" "$2x1+0+$3"; }
