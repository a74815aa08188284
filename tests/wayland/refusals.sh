#!/usr/bin/env bash
# A backend forced with --wayland or --x11 that cannot connect is refused with one line and 255;
# -root under Wayland is refused naming X11 (there is no root window to draw into); without EGL the
# saver on two outputs fails with one line and 255; --help tells the backends apart and which one
# runs without a switch.
source "$(dirname "$0")/lib.sh"

WAYLAND_DISPLAY="$WORK/no-such-socket" start_saver --wayland /s
expect_exit 255
one_line_on_stderr
grep -qi 'wayland' "$WORK/saver.err" || fail "the refusal of --wayland does not say Wayland: $(cat "$WORK/saver.err")"

start_saver --x11 /s
expect_exit 255
one_line_on_stderr
grep -q 'X11' "$WORK/saver.err" || fail "the refusal of --x11 does not say X11: $(cat "$WORK/saver.err")"

start_sway 2 320x240 320x240
start_saver -root
expect_exit 255
one_line_on_stderr
grep -q 'X11' "$WORK/saver.err" || fail "-root under Wayland does not name X11: $(cat "$WORK/saver.err")"

# No EGL at all (glvnd finds no vendor): one line for the run, not one per output and call.
__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent start_saver /s
expect_exit 255
one_line_on_stderr
grep -q 'EGL' "$WORK/saver.err" || fail "the failure without EGL does not name EGL: $(cat "$WORK/saver.err")"

"$SAVER" --help >"$WORK/help.txt"
for word in --wayland --x11 WAYLAND_DISPLAY; do
  grep -q -- "$word" "$WORK/help.txt" || fail "--help does not mention $word"
done
echo "refusals: ok"
