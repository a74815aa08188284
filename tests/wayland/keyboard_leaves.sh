#!/usr/bin/env bash
# The last keyboard going away (unplugged, asleep, a KVM switch) takes the focus with it, which is
# no input: the saver goes on, and a keyboard that comes back ends it with a key.
source "$(dirname "$0")/lib.sh"
start_sway 1 640x480
# The protocol log shows when the saver's surface has had the keyboard and lost it.
WAYLAND_DEBUG=client start_saver /s
wait_for_smoke HEADLESS-1 640x480
# A keyboard for half a second, no key pressed: each wtype run adds one and removes it.
wtype -s 500
poll 10 grep -q 'wl_keyboard[@#][0-9]*\.enter' "$WORK/saver.err" || fail "the saver never had the keyboard"
poll 10 grep -q 'wl_keyboard[@#][0-9]*\.leave' "$WORK/saver.err" || fail "the keyboard did not leave the saver"
# Nothing to poll for when the answer is "nothing happens": the focus check is half a second.
sleep 2
still_running || fail "the saver ended when its keyboard went away"
press_key Escape
expect_exit 0
echo "keyboard leaves: ok"
