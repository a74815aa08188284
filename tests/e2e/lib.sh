# Shared helpers of the end-to-end tests: a private Xvfb per test, bounded polling, clean-up of
# every process a test started even when it fails. Sourced by the test scripts.
set -euo pipefail

SAVER="${1:?usage: $0 path/to/smokedrift}"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/smokedrift-e2e.XXXXXX")"
PIDS=()
XVFB_PID=""

cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  if [ -n "$XVFB_PID" ]; then
    kill -TERM "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Xvfb picks a free display number itself and reports it once it accepts connections.
# start_xvfb [SIZE[xDEPTH] [XVFB ARGUMENTS...]]  (depth 24 unless given)
start_xvfb() {
  local size="${1:-320x240}"
  shift || true
  [[ "$size" == *x*x* ]] || size="${size}x24"
  exec 3> "$WORK/display"
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset "$@" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec 3>&-
  local i
  for i in $(seq 1 200); do
    if [ -s "$WORK/display" ]; then
      export DISPLAY=":$(head -n1 "$WORK/display")"
      if xdpyinfo >/dev/null 2>&1 || xwininfo -root >/dev/null 2>&1; then return 0; fi
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    sleep 0.1
  done
  fail "Xvfb did not come up"
}

stop_xvfb() {
  kill -TERM "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}

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
  local i
  for i in $(seq 1 300); do
    if ! kill -0 "$SAVER_PID" 2>/dev/null; then break; fi
    sleep 0.1
  done
  kill -0 "$SAVER_PID" 2>/dev/null && fail "saver still running, expected exit $expected"
  local code=0
  wait "$SAVER_PID" || code=$?
  reaped "$SAVER_PID"
  [ "$code" -eq "$expected" ] || fail "saver exited with $code, expected $expected; stderr: $(cat "$WORK/saver.err")"
}

still_running() { kill -0 "$SAVER_PID" 2>/dev/null; }

# The full-screen window, once it is mapped (the tree lists unmapped windows too).
saver_window_id() {
  xwininfo -root -tree | grep '"Screen Saver": ("smokedrift" "WindowsScreenSaverClass")' | awk '{print $1}' | head -n1
}

saver_window_shown() {
  local id
  id=$(saver_window_id)
  [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable'
}

wait_for_full_screen() {
  poll 30 saver_window_shown || fail "no full-screen saver window appeared"
}

# The full-screen window holds the keyboard focus (it takes it just after it is mapped).
saver_has_focus() {
  local id
  id=$(saver_window_id)
  [ -n "$id" ] && [ "$(xdotool getwindowfocus)" = "$((id))" ]
}

# Brightest channel value (0..1) of a one-pixel-high row of a screenshot.
row_max() {
  convert "$1" -crop "$2x1+0+$3" +repage -format "%[fx:maxima.intensity]" info:
}

screenshot() {
  import -window "${2:-root}" "png24:$1" 2>/dev/null
}

# Smoke in the middle row, black in the first (the letterbox band).
draws_between_bands() {
  local file="$WORK/shot.png" width="$1" height="$2" window="${3:-root}"
  screenshot "$file" "$window" || return 1
  local top middle
  top=$(row_max "$file" "$width" 0)
  middle=$(row_max "$file" "$width" $((height / 2)))
  awk -v t="$top" -v m="$middle" 'BEGIN { exit !(t < 0.05 && m > 0.1) }'
}

# A foreign window to preview into: an xmessage of the given size. Sets HOST_PID and HOST_ID.
start_host_window() {
  xmessage -geometry "${1:-200x150}+10+10" -title smokedrift-e2e-host "preview host" >/dev/null 2>&1 &
  HOST_PID=$!
  PIDS+=("$HOST_PID")
  poll 30 xdotool search --name "^smokedrift-e2e-host$" || fail "no host window"
  HOST_ID=$(xdotool search --name "^smokedrift-e2e-host$" | head -n1)
}

# The preview child inside the host window, once it is mapped.
preview_shown() {
  local id
  id=$(xwininfo -children -id "$HOST_ID" | grep '"Preview": ("smokedrift" "WindowsScreenSaverClass")' | awk '{print $1}' | head -n1)
  [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable'
}
