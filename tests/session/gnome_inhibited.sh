#!/bin/bash
# GNOME: while a player holds an idle inhibition at the session manager, the saver does not start;
# once it is lifted, it does. $3 says who holds the saver back and how the inhibition ends:
#   mutter          the stand-in manager publishes InhibitedActions, which mutter 43 reads to hold
#                   its idle watches back; the player uninhibits.
#   watcher         it does not (as for a mutter that ignores it), so only the watcher's own
#                   IsInhibited question keeps the saver away; the player uninhibits, which
#                   reaches the watcher as InhibitorRemoved.
#   manager_leaves  as "watcher", but the session manager leaves the bus, inhibitors and all.
source "$(dirname "$0")/gnome_lib.sh"
mode="${3:?usage: $0 SAVER - mutter|watcher|manager_leaves}"

start_mutter
if [ "$mode" = mutter ]; then start_manager; else start_manager --hide-actions; fi
inhibit_idle
start_watcher
if [ "$mode" = mutter ]; then
  # Twice the idle time: mutter would have fired its watch by then.
  poll 30 idle_for_at_least 4000 || fail "mutter's idle time did not reach 4 s"
else
  poll 30 grep -q '^IsInhibited 8 true$' "$WORK/manager.out" ||
    fail "the watcher never asked whether idle is inhibited: $(grep -v '^\[' "$WORK/watcher.err")"
fi
saver_runs && fail "the saver started while idle was inhibited"
if [ "$mode" = manager_leaves ]; then
  kill -TERM "$MANAGER_PID"
  poll 10 ended "$MANAGER_PID" || fail "the stand-in session manager did not end"
else
  manager Uninhibit "$COOKIE" >/dev/null
fi
wait_for_saver
stop_watcher
nothing_left
