# Shared by the Wine tests: a private Xvfb, the saver and its helpers under Wine, polling waits.
# Every wait is bounded; every process started here is stopped on exit, pass or fail.
set -uo pipefail

WINE_BUILD=${SMOKEDRIFT_WINDOWS_BUILD:?the Windows build folder}
SCR="$WINE_BUILD/smokedrift.scr"
HELPERS="$WINE_BUILD/wine-tests"
export WINEPREFIX=${SMOKEDRIFT_WINEPREFIX:?the shared Wine prefix}
export WINEDEBUG=-all
WIDTH=640
HEIGHT=480

source "$(dirname "${BASH_SOURCE[0]}")/../support/inputs.sh"
require_input "$SCR" "build the windows preset"

# A fresh Wine server per test: the cursor and window state of the previous test's display stays
# behind in a running server.
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1

WORK=$(mktemp -d)
XVFB_PID=""
BACKGROUND=()

WIN9X_SELECTED=""

cleanup() {
  [ -n "$WIN9X_SELECTED" ] && forget_win9x
  for p in "${BACKGROUND[@]}"; do kill "$p" 2>/dev/null; done
  wineserver -k >/dev/null 2>&1
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT


fail() {
  echo "FAIL: $*"
  # What Wine said and which windows there were, so a failure on a clean machine can be read.
  for out in "$WORK"/*.out; do
    [ -s "$out" ] && { echo "--- $(basename "$out"):"; tail -n 20 "$out"; }
  done
  [ -n "${DISPLAY:-}" ] && { echo "--- windows:"; xwininfo -root -tree 2>/dev/null | grep -v '1x1+' | head -n 20; }
  exit 1
}

# Starts Xvfb on the first free display from a random base, so parallel runs do not meet.
start_xvfb() {
  local n=$((200 + RANDOM % 400))
  for _ in $(seq 1 50); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 "${WIDTH}x${HEIGHT}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
      XVFB_PID=$!
      export DISPLAY=":$n"
      for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
      done
    fi
    n=$((n + 1))
  done
  fail "no Xvfb display could be started"
}

# wait_for SECONDS COMMAND...: polls the command until it succeeds.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  for _ in $(seq 1 "$tries"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

window_exists() { xwininfo -root -tree 2>/dev/null | grep -q "\"$1\""; }

# Runs the saver (or another program) under Wine in the background; its exit code lands in a file.
# start_wine NAME PROGRAM ARGS...
start_wine() {
  local name=$1
  shift
  (wine "$@" >"$WORK/$name.out" 2>&1; echo $? >"$WORK/$name.rc") &
  BACKGROUND+=($!)
}

finished() { [ -f "$WORK/$1.rc" ]; }

# wait_exit NAME SECONDS: prints the exit code, or "running" if it did not end in time.
wait_exit() {
  if wait_for "$2" finished "$1"; then cat "$WORK/$1.rc"; else echo running; fi
}

# Places the X pointer and tells Wine where it is, then checks that both agree.
set_cursor() {
  xdotool mousemove "$1" "$2"
  wine "$HELPERS/set_cursor.exe" "$1" "$2" || fail "could not place the pointer"
  xdotool getmouselocation | grep -q "x:$1 y:$2 " || fail "the pointer is not at $1,$2: $(xdotool getmouselocation)"
}

# The saver's first frames take a moment on a software renderer.
wait_saver_window() {
  wait_for 120 window_exists "Screen Saver" && return 0
  local f said=""
  # What the programs started so far said and how they ended, for whoever reads the failure.
  for f in "$WORK"/*.rc "$WORK"/*.out; do [ -f "$f" ] && said+=" ${f##*/}: $(tr '\n' ' ' <"$f" | cut -c1-300)"; done
  fail "no \"Screen Saver\" window appeared;${said:- nothing was said}"
}

screenshot() { import -window root "png24:$1" 2>/dev/null || fail "screenshot failed"; }

# Largest HSL saturation (0..1) within a rectangle of an image: grey and black give 0.
max_saturation() {
  convert "$1" -crop "$2" +repage -colorspace HSL -channel G -separate -format '%[fx:maxima]' info:
}

# Largest channel value (0..1) within a rectangle.
max_value() { convert "$1" -crop "$2" +repage -format '%[fx:maxima]' info:; }

# Polls until the saver draws coloured smoke between black edge rows.
wait_for_smoke() {
  local shot="$WORK/shot.png"
  for _ in $(seq 1 60); do
    screenshot "$shot"
    local middle
    middle=$(max_saturation "$shot" "${WIDTH}x40+0+$((HEIGHT / 2 - 20))")
    if awk "BEGIN{exit !($middle > 0.25)}"; then
      local top bottom
      top=$(max_value "$shot" "${WIDTH}x1+0+0")
      bottom=$(max_value "$shot" "${WIDTH}x1+0+$((HEIGHT - 1))")
      awk "BEGIN{exit !($top == 0 && $bottom == 0)}" || fail "edge rows are not black (top $top, bottom $bottom)"
      cp "$shot" "$WORK/smoke.png"
      return 0
    fi
    sleep 0.5
  done
  cp "$shot" "/tmp/smokedrift-wine-last.png" 2>/dev/null
  fail "no coloured smoke between the bands (last screenshot: /tmp/smokedrift-wine-last.png)"
}

# The Windows 95 family for the saver (Wine's per-program Version), undone when the test ends
# together with the password flag, since the prefix is shared by the whole run.
select_win9x() {
  WIN9X_SELECTED=1
  wine reg add 'HKCU\Software\Wine\AppDefaults\smokedrift.scr' /v Version /d win98 /f >/dev/null 2>&1 ||
    fail "could not select the Windows 95 family"
}

forget_win9x() {
  wine reg delete 'HKCU\Software\Wine\AppDefaults\smokedrift.scr' /f >/dev/null 2>&1
  wine reg delete 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /f >/dev/null 2>&1
}

# set_password [TYPE DATA]: ScreenSaveUsePassword, REG_DWORD 1 unless told otherwise.
set_password() {
  wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t "${1:-REG_DWORD}" /d "${2:-1}" /f \
    >/dev/null 2>&1 || fail "could not set ScreenSaveUsePassword as ${1:-REG_DWORD}"
}

# use_verifier LOG ANSWER: where the test verifier records its calls and reads its answer.
use_verifier() {
  export SMOKEDRIFT_TEST_LOG=$(winepath -w "$1")
  export SMOKEDRIFT_TEST_ANSWER=$(winepath -w "$2")
}
