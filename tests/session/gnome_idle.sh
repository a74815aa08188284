#!/bin/bash
# GNOME on Wayland: the watcher picks mutter's idle monitor (mutter offers clients no idle
# protocol), the saver starts after two idle seconds and draws, a key injected through mutter's
# RemoteDesktop ends it, two more idle seconds start it again, and SIGTERM ends both.
source "$(dirname "$0")/gnome_lib.sh"

start_mutter
start_manager
start_keyboard
start_watcher
poll 30 grep -q '^smokedrift: idle source: .*org\.gnome\.Mutter\.IdleMonitor' "$WORK/watcher.err" ||
  fail "the watcher did not choose mutter's idle monitor: $(grep -v '^\[' "$WORK/watcher.err")"
wait_for_saver
first=$(saver_pid)
press_key
poll 30 ended "$first" || fail "the key did not end the saver"
poll 30 saver_runs || fail "the saver did not start again after two more idle seconds"
stop_watcher
nothing_left
