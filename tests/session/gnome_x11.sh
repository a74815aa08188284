#!/bin/bash
# GNOME on X11: mutter as the window manager of an X server. The watcher chooses mutter's idle
# monitor before the X server's idle time (mutter's knows the session manager's inhibitors), the
# saver starts after two idle seconds, a key from xdotool ends it, and it starts again.
source "$(dirname "$0")/gnome_lib.sh"

# The middle row of the screen shows smoke.
screen_draws() {
  import -window root "png24:$WORK/screen.png" 2>/dev/null &&
    awk -v m="$(row_max "$WORK/screen.png" 640 240)" 'BEGIN { exit !(m > 0.1) }'
}

key_ends() {
  xdotool key a
  sleep 0.5
  ended "$1"
}

start_mutter x11
start_watcher
poll 30 grep -q '^smokedrift: idle source: .*org\.gnome\.Mutter\.IdleMonitor' "$WORK/watcher.err" ||
  fail "the watcher did not choose mutter's idle monitor: $(cat "$WORK/watcher.err")"
poll 30 saver_runs || fail "the saver did not start: $(cat "$WORK/watcher.err")"
first=$(saver_pid)
poll 30 screen_draws || fail "the saver drew nothing"
poll 30 key_ends "$first" || fail "xdotool's keys did not end the saver"
poll 30 saver_runs || fail "the saver did not start again after two more idle seconds"
stop_watcher
nothing_left
