#!/bin/bash
# GNOME: while a player holds an idle inhibition at the session manager, the saver does not start;
# once it is lifted, it does. With "mutter" as $3 the stand-in manager publishes InhibitedActions,
# which mutter 43 reads to hold its idle watches back; with "watcher" it does not (as for a mutter
# that ignores it), so that only the watcher's own IsInhibited question keeps the saver away and
# the lifting reaches it as InhibitorRemoved.
source "$(dirname "$0")/gnome_lib.sh"
mode="${3:?usage: $0 SAVER - mutter|watcher}"

start_mutter
if [ "$mode" = watcher ]; then start_manager --hide-actions; else start_manager; fi
inhibit_idle
start_watcher
if [ "$mode" = watcher ]; then
  poll 30 grep -q '^IsInhibited 8 true$' "$WORK/manager.out" ||
    fail "the watcher never asked whether idle is inhibited: $(grep -v '^\[' "$WORK/watcher.err")"
else
  # Twice the idle time: mutter would have fired its watch by then.
  poll 30 idle_for_at_least 4000 || fail "mutter's idle time did not reach 4 s"
fi
saver_runs && fail "the saver started while idle was inhibited"
manager Uninhibit "$COOKIE" >/dev/null
wait_for_saver
stop_watcher
nothing_left
