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
  wait_for_display "$WORK/xvfb.log"
}

# wait_for_display LOG: the server started in the background has written its display number to
# $WORK/display and accepts connections.
wait_for_display() {
  local i
  for i in $(seq 1 200); do
    if [ -s "$WORK/display" ]; then
      export DISPLAY=":$(head -n1 "$WORK/display")"
      if xdpyinfo >/dev/null 2>&1 || xwininfo -root >/dev/null 2>&1; then return 0; fi
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || fail "the X server did not start: $(cat "$1")"
    sleep 0.1
  done
  fail "the X server did not come up"
}

# Xorg with the dummy video driver, for what Xvfb cannot do (change the screen's size), from the
# configuration text given. As root it would take a virtual terminal: it runs as nobody then.
# start_xorg CONFIGURATION
start_xorg() {
  local dir="$WORK/xorg"
  mkdir -p "$dir/conf.d"
  printf '%s\n' "$1" >"$dir/xorg.conf"
  local as=()
  if [ "$(id -u)" -eq 0 ]; then
    chmod 711 "$WORK"
    chown nobody "$dir"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  fi
  exec 3> "$WORK/display"
  "${as[@]}" /usr/lib/xorg/Xorg -displayfd 3 -config "$dir/xorg.conf" -configdir "$dir/conf.d" \
    -logfile "$dir/xorg.log" -nolisten tcp -noreset -novtswitch -sharevts >"$WORK/xorg.out" 2>&1 &
  XVFB_PID=$!
  exec 3>&-
  wait_for_display "$WORK/xorg.out"
}

stop_xvfb() {
  kill -TERM "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}

source "$(dirname "${BASH_SOURCE[0]}")/../support/saver_process.sh"

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

# fills WIDTH HEIGHT OLD_WIDTH [WINDOW]: after growing from OLD_WIDTH, the picture fills the new
# size: black first and last rows across the full width; smoke in the middle row and in the middle
# of the columns right of the old width. Leaves the four brightest values (0..1) in MEASURED.
fills() {
  local file="$WORK/resized.png" width="$1" height="$2" oldWidth="$3"
  screenshot "$file" "${4:-root}" || return 1
  MEASURED=$(convert "$file" \
    \( -clone 0 -crop "${width}x1+0+0" \) \( -clone 0 -crop "${width}x1+0+$((height - 1))" \) \
    \( -clone 0 -crop "${width}x1+0+$((height / 2))" \) \
    \( -clone 0 -crop "$((width - oldWidth))x$((height / 3))+$oldWidth+$((height / 3))" \) \
    -delete 0 +repage -format "%[fx:maxima.intensity] " info:)
  awk -v v="$MEASURED" 'BEGIN { split(v, x, " "); exit !(x[1] < 0.05 && x[2] < 0.05 && x[3] > 0.1 && x[4] > 0.1) }'
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
