#!/usr/bin/env bash
# Under Xvfb, mpv playing a clip suspends the X server's saver, which keeps the watcher (--idle 2)
# from starting the saver; once mpv has gone the saver comes.
source "$(dirname "$0")/lib.sh"
command -v mpv >/dev/null || skip "no mpv"
start_xvfb
start_mpv x11
poll 20 xdotool search --class mpv || fail "no mpv window: $(cat "$WORK/mpv.log")"
start_watcher 2
poll 10 grep -q "idle source: X11" "$WORK/saver.err" || fail "the X11 source was not chosen: $(cat "$WORK/saver.err")"
held_off mpv
stop_mpv
comes_back
stop_watcher
echo "mpv on X11: ok"
