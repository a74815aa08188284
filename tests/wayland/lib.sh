# Shared helpers of the Wayland tests: a private headless sway per test, screenshots with grim,
# keys with wtype, a virtual pointer of our own, bounded polling, clean-up of every process a test
# started even when it fails. Sourced by the test scripts, which get the saver and the virtual
# pointer helper ("-" when it could not be built).
set -euo pipefail

SAVER="${1:?usage: $0 path/to/smokedrift [path/to/virtual_pointer|-]}"
POINTER_HELPER="${2:--}"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/smokedrift-wl.XXXXXX")"
# The compositor may run as another user: it must reach its runtime folder inside.
chmod 711 "$WORK"
# A temporary folder of the test's own, shared like /tmp: where the saver's session lock goes when
# the runtime folder is not ours (root runs in the compositor user's session here).
export TMPDIR="$WORK/tmp"
mkdir -m 1777 "$TMPDIR"
PIDS=()
COMPOSITOR_PID=""
POINTER_PID=""
SAVER_PID=""
# Nothing may fall back to the caller's sessions: an X server, or a compositor outside the test.
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET SWAYSOCK XSCREENSAVER_WINDOW

cleanup() {
  local pid
  # The saver first and gently, so that its supervisor can end the per-output children it forked.
  for pid in "${PIDS[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  for pid in "${PIDS[@]}"; do
    poll 5 gone "$pid" || kill -KILL "$pid" 2>/dev/null || true
  done
  # The pointer helper ends at the end of its input.
  if [ -n "$POINTER_PID" ]; then
    local input="${POINTER_IO[1]}"
    exec {input}>&-
    poll 5 gone "$POINTER_PID" || kill -KILL "$POINTER_PID" 2>/dev/null || true
  fi
  stop_compositor
  if [ -n "$XVFB_PID" ]; then kill -TERM "$XVFB_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

# Also from inside poll, which silences what it runs.
exec {TEST_STDERR}>&2
fail() {
  echo "FAIL: $*" >&"$TEST_STDERR"
  exit 1
}

skip() {
  echo "SKIP: $*" >&2
  exit 77
}

source "$(dirname "${BASH_SOURCE[0]}")/../support/saver_process.sh"

# sway 1.7 refuses to run as root: then it runs as a system user of its own. Tests run in
# parallel may all find the user missing; the lock lets one of them make it.
COMPOSITOR_USER=""
compositor_user() {
  if [ "$(id -u)" -ne 0 ]; then return 0; fi
  COMPOSITOR_USER=smokedrift-wl
  (
    flock 9
    id "$COMPOSITOR_USER" >/dev/null 2>&1 ||
      useradd --system --no-create-home --shell /usr/sbin/nologin "$COMPOSITOR_USER"
  ) 9>/tmp/smokedrift-wl-user.lock
}

# A runtime folder for the compositor under $WORK, where its sockets go. Sets RUNTIME.
make_runtime_dir() {
  RUNTIME="$WORK/run"
  mkdir -m 700 "$RUNTIME"
  compositor_user
  if [ -n "$COMPOSITOR_USER" ]; then chown "$COMPOSITOR_USER" "$RUNTIME"; fi
}

# Runs the rest of the line as the compositor's user, in place of the calling shell, so that the
# pid of a background call is the compositor's own: call it with & only.
exec_as_compositor() {
  if [ -n "$COMPOSITOR_USER" ]; then
    exec setpriv --reuid="$COMPOSITOR_USER" --regid="$COMPOSITOR_USER" --clear-groups -- "$@"
  fi
  exec "$@"
}

# start_sway N [WxH ...]: headless sway with N outputs HEADLESS-1..N, the given sizes placed
# left to right from 0,0 (without a size an output keeps sway's default). Black background, no
# bar. Exports WAYLAND_DISPLAY, SWAYSOCK and XDG_RUNTIME_DIR for the clients the test runs.
start_sway() {
  local count="$1"
  shift
  make_runtime_dir
  printf 'output * bg #000000 solid_color\n' >"$WORK/sway.conf"
  exec_as_compositor env HOME="$RUNTIME" XDG_RUNTIME_DIR="$RUNTIME" WLR_BACKENDS=headless \
    WLR_HEADLESS_OUTPUTS="$count" WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
  COMPOSITOR_PID=$!
  poll 30 sway_up || fail "sway did not come up: $(tail -n 20 "$WORK/sway.log")"
  export XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY="$RUNTIME/wayland-1"
  SWAYSOCK="$(echo "$RUNTIME"/sway-ipc.*.sock)"
  export SWAYSOCK
  local x=0 i=1 size
  for size in "$@"; do
    place_output "HEADLESS-$i" "$size" "$x" 0
    x=$((x + ${size%x*}))
    i=$((i + 1))
  done
}

sway_up() {
  gone "$COMPOSITOR_PID" && fail "sway ended: $(tail -n 20 "$WORK/sway.log")"
  [ -S "$RUNTIME/wayland-1" ] && compgen -G "$RUNTIME/sway-ipc.*.sock" >/dev/null
}

# place_output NAME WxH X Y (swaymsg splits commands at commas: spaces only).
place_output() {
  swaymsg output "$1" resolution "$2" position "$3" "$4" >/dev/null ||
    fail "could not set $1 to $2 at $3,$4"
}

# The compositor dies under its clients.
kill_sway() {
  kill -KILL "$COMPOSITOR_PID"
  wait "$COMPOSITOR_PID" 2>/dev/null || true
  COMPOSITOR_PID=""
}

stop_compositor() {
  if [ -z "$COMPOSITOR_PID" ]; then return 0; fi
  kill -TERM "$COMPOSITOR_PID" 2>/dev/null || true
  poll 10 gone "$COMPOSITOR_PID" || kill -KILL "$COMPOSITOR_PID" 2>/dev/null || true
  wait "$COMPOSITOR_PID" 2>/dev/null || true
  COMPOSITOR_PID=""
}

# start_weston WxH: weston, which has no layer shell, on an output of that size. Its X11 backend
# under a private Xvfb, because the headless backend has no seat: there xdotool types into
# weston's window and weston passes the keys on. Exports WAYLAND_DISPLAY and XDG_RUNTIME_DIR;
# WESTON_X is the X display (for screenshots and keys), which the saver does not get.
XVFB_PID=""
start_weston() {
  local width="${1%x*}" height="${1#*x}"
  make_runtime_dir
  exec 3>"$WORK/display"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec 3>&-
  poll 30 test -s "$WORK/display" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  WESTON_X=":$(head -n1 "$WORK/display")"
  exec_as_compositor env HOME="$RUNTIME" XDG_RUNTIME_DIR="$RUNTIME" DISPLAY="$WESTON_X"     weston --backend=x11-backend.so --use-pixman --width="$width" --height="$height"     --socket=wayland-1 --idle-time=0 >"$WORK/weston.log" 2>&1 &
  COMPOSITOR_PID=$!
  poll 30 test -S "$RUNTIME/wayland-1" || fail "weston did not come up: $(tail -n 20 "$WORK/weston.log")"
  export XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY="$RUNTIME/wayland-1"
}

# Xvfb (-noreset: it would forget its saver settings with its last client); exports DISPLAY.
# Stopped by the clean-up, like weston's.
start_xvfb() {
  exec {display}>"$WORK/display"
  Xvfb -displayfd "$display" -screen 0 640x480x24 -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec {display}>&-
  poll 30 test -s "$WORK/display" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$(head -n1 "$WORK/display")"
}

weston_screenshot() { DISPLAY="$WESTON_X" import -window root "png24:$1" 2>/dev/null; }


# The saver's stderr is one line (a refusal, a lost compositor).
one_line_on_stderr() {
  if [ "$(wc -l <"$WORK/saver.err")" -ne 1 ] || ! grep -q . "$WORK/saver.err"; then
    fail "expected one line on stderr, got: $(cat "$WORK/saver.err")"
  fi
}

# A key that is to end the saver. wtype's keyboard is gone before a client maps its keymap unless
# it pauses after creating it, and on a loaded machine the saver may take the keyboard only after
# the key went by: then the key is typed again, with a new keyboard, until the saver has ended (five
# times at most; expect_exit says the rest).
press_key() {
  for _ in 1 2 3 4 5; do
    wtype -s 300 -k "$1"
    if poll 3 gone "$SAVER_PID"; then return 0; fi
  done
}

# The virtual pointer helper, connected until the test ends or stop_pointer; commands go to it
# with pointer CMD..., and pointer_sync waits until sway has everything sent before.
start_pointer() {
  [ -x "$POINTER_HELPER" ] || skip "no virtual pointer helper (the wlroots protocols were not found)"
  coproc POINTER_IO { exec "$POINTER_HELPER" 2>"$WORK/pointer.err"; }
  POINTER_PID=$POINTER_IO_PID
  pointer_sync
}

pointer() {
  echo "$*" >&"${POINTER_IO[1]}" || fail "the virtual pointer is gone: $(cat "$WORK/pointer.err")"
  pointer_sync
}

pointer_sync() {
  local reply=""
  echo wait >&"${POINTER_IO[1]}" || fail "the virtual pointer is gone: $(cat "$WORK/pointer.err")"
  read -r -t 10 -u "${POINTER_IO[0]}" reply || true
  [ "$reply" = ok ] || fail "the virtual pointer did not answer: $(cat "$WORK/pointer.err")"
}

# cursor_to X Y: the pointer to a point of the layout (needs the virtual pointer: sway moves
# no cursor without a pointer device).
cursor_to() {
  swaymsg seat seat0 cursor set "$1" "$2" >/dev/null || fail "could not put the cursor at $1,$2"
  pointer_sync
}

screenshot_output() {
  if [ -n "$XVFB_PID" ]; then weston_screenshot "$2"; else grim -o "$1" "$2"; fi
}

# output_draws_between_bands NAME WxH: the output's screenshot has the size given, black first
# and last rows (the letterbox bands) and smoke in the middle row.
output_draws_between_bands() {
  local file="$WORK/$1.png" width="${2%x*}" height="${2#*x}"
  screenshot_output "$1" "$file" || return 1
  [ "$(identify -format %wx%h "$file")" = "$2" ] || return 1
  local top bottom middle
  top=$(row_max "$file" "$width" 0)
  bottom=$(row_max "$file" "$width" $((height - 1)))
  middle=$(row_max "$file" "$width" $((height / 2)))
  awk -v t="$top" -v b="$bottom" -v m="$middle" 'BEGIN { exit !(t < 0.05 && b < 0.05 && m > 0.1) }'
}

# Once every surface on output NAME (WxH) is gone, the middle row shows the black background.
middle_row_black() {
  local file="$WORK/$1.png" width="${2%x*}" height="${2#*x}"
  screenshot_output "$1" "$file" || return 1
  awk -v m="$(row_max "$file" "$width" $((height / 2)))" 'BEGIN { exit !(m < 0.05) }'
}

# A saver that has ended draws nothing: say so at once, with what it said.
smoke_while_running() {
  still_running || fail "the saver ended: $(cat "$WORK/saver.err")"
  output_draws_between_bands "$@"
}

wait_for_smoke() {
  poll 30 smoke_while_running "$1" "$2" || fail "no smoke between bands on $1 ($2)"
}

# The cursor, which sway draws into every screenshot here (the headless output has no cursor
# plane), in a 32x32 box at X,Y of output NAME: the brightest value there. The box must lie where
# the picture is black, the top band: it is a fifth of the height at the start.
cursor_box_max() {
  local file="$WORK/cursor.png"
  screenshot_output "$1" "$file" || return 1
  brightest_in "$file" "32x32+$(($2 - 4))+$(($3 - 4))"
}

cursor_shows() {
  local v
  v=$(cursor_box_max "$@") && awk -v v="$v" 'BEGIN { exit !(v > 0.05) }'
}

cursor_hidden() {
  local v
  v=$(cursor_box_max "$@") && awk -v v="$v" 'BEGIN { exit !(v < 0.05) }'
}
