#!/usr/bin/env bash
# The watcher (--idle 2) under the real Plasma services (plasma_lib.sh): KWin's idle notifications,
# and what KWin's locker and PowerDevil hold. $3 names the case:
#   inhibit   a player's org.freedesktop.ScreenSaver inhibition, once PowerDevil counts it, keeps
#             the saver off, naming the player; when the player leaves the bus the saver comes.
#   late      the player asks just before the watcher starts: PowerDevil counts it about 5 s
#             later, and a saver that came meanwhile ends.
#   locked    KWin's locker is up: no saver under it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/plasma_lib.sh"
way="${3:?usage: $0 SAVER - inhibit|late|locked}"
start_plasma

agent() {
  as_user gdbus call --session --dest org.kde.Solid.PowerManagement.PolicyAgent \
    --object-path /org/kde/Solid/PowerManagement/PolicyAgent \
    --method "org.kde.Solid.PowerManagement.PolicyAgent.$1" "${@:2}"
}
counted() { agent HasInhibition 4 | grep -q true; }
held_off_by() {
  poll 30 grep -q "held off by .*$1" "$WORK/saver.err" || fail "not held off by $1: $(cat "$WORK/saver.err")"
  poll 10 saver_gone || fail "the saver runs although $1 holds it off"
}
comes_back() { poll 30 saver_runs || fail "the saver did not start: $(cat "$WORK/saver.err")"; }
case "$way" in
inhibit)
  start_player exec_as_compositor
  poll 30 counted || fail "PowerDevil never counted the inhibition"
  start_watcher 2
  held_off_by "Plasma's power management: 'player': a film"
  exec {PLAYER[1]}>&-
  comes_back
  ;;
late)
  start_player exec_as_compositor
  start_watcher 2
  held_off_by "Plasma's power management: 'player': a film"
  exec {PLAYER[1]}>&-
  comes_back
  ;;
locked)
  as_user gdbus call --session --dest org.freedesktop.ScreenSaver --object-path /ScreenSaver \
    --method org.freedesktop.ScreenSaver.Lock >/dev/null || true
  locked_up() { as_user gdbus call --session --dest org.freedesktop.ScreenSaver --object-path /ScreenSaver \
    --method org.freedesktop.ScreenSaver.GetActive | grep -q true; }
  poll 30 locked_up || skip "KWin's locker did not lock headless: $(tail -n 5 "$WORK/kwin.log")"
  start_watcher 2
  held_off_by "Plasma's own screen lock"
  ;;
*) fail "no such case: $way" ;;
esac
grep -q "idle source: Wayland" "$WORK/saver.err" || fail "not KWin's idle notifications: $(cat "$WORK/saver.err")"
stop_watcher
echo "plasma $way: ok"
