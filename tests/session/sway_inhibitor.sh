#!/usr/bin/env bash
# A visible window holding an idle inhibitor (as video players do) keeps the watcher from running
# the saver; once that window's client is gone, the saver runs.
source "$(dirname "$0")/lib.sh"
[ -x "$INHIBITOR" ] || fail "no stand-in player given"
start_sway 1 640x480

coproc PLAYER { exec "$INHIBITOR" 2>"$WORK/player.err"; }

player=$PLAYER_PID  # bash unsets PLAYER_PID once the player ends
PIDS+=("$player")
read -r -t 20 -u "${PLAYER[0]}" ready || true
[ "$ready" = ready ] || fail "the stand-in player did not come up: $(cat "$WORK/player.err")"

start_watcher 1
# Four times the idle time without a saver: the inhibitor holds.
sleep 4
saver_gone || fail "the saver started while an inhibitor was held"
[ "$(times_started)" -eq 0 ] || fail "the watcher started the saver: $(cat "$WORK/saver.err")"

exec {PLAYER[1]}>&-
poll 10 gone "$player" || fail "the stand-in player did not end"
wait_for_smoke HEADLESS-1 640x480
stop_watcher
echo "sway inhibitor: ok"
