#!/usr/bin/env bash
# xscreensaver (the daemon, as an unprivileged user under Xvfb) runs smokedrift as its one hack:
# on activation the hack draws on the root window, and input ends it with the blanking.
source "$(dirname "$0")/../session/lib.sh"
command -v xscreensaver >/dev/null || skip "no xscreensaver"
start_xvfb
compositor_user
home="$WORK/home"
mkdir -m 755 "$home"
cat >"$home/.xscreensaver" <<CONF
timeout: 0:10:00
lock: False
fade: False
unfade: False
mode: one
selected: 0
programs: GL: $SAVER --root \\n
CONF
[ -n "$COMPOSITOR_USER" ] && chown -R "$COMPOSITOR_USER" "$home"
as_user() {
  if [ -n "$COMPOSITOR_USER" ]; then
    setpriv --reuid="$COMPOSITOR_USER" --regid="$COMPOSITOR_USER" --clear-groups -- env HOME="$home" DISPLAY="$DISPLAY" "$@"
  else
    env HOME="$home" "$@"
  fi
}
as_user xscreensaver -no-splash >"$WORK/xscreensaver.log" 2>&1 &
PIDS+=("$!")
poll 30 as_user xscreensaver-command -time || fail "the daemon did not start: $(cat "$WORK/xscreensaver.log")"
as_user xscreensaver-command -activate >/dev/null || fail "the daemon refused to activate"
hack() { pgrep -f -x "$SAVER --root" || pgrep -f -x "$SAVER -root"; }
poll 30 hack || fail "the daemon did not run the hack: $(cat "$WORK/xscreensaver.log")"
hack_pid=$(hack | head -n1)
draws() {
  import -window root "png24:$WORK/root.png" 2>/dev/null || return 1
  awk -v m="$(row_max "$WORK/root.png" 640 240)" 'BEGIN { exit !(m > 0.1) }'
}
poll 30 draws || fail "the hack drew nothing on the root window"
# Input unblanks: the daemon ends the hack, and the hack goes quietly.
for _ in 1 2 3 4 5; do
  xdotool mousemove_relative 20 20 key space
  if poll 3 gone "$hack_pid"; then break; fi
done
gone "$hack_pid" || fail "input did not end the hack: $(cat "$WORK/xscreensaver.log")"
! grep -qi 'crash\|signal\|error' "$WORK/xscreensaver.log" || fail "the daemon said: $(cat "$WORK/xscreensaver.log")"
echo "xscreensaver: ok"
