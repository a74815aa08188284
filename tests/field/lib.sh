# Helpers of the field scripts, over the session level's: real players.
source "$(dirname "${BASH_SOURCE[0]}")/../session/lib.sh"

# start_mpv VO: mpv playing a short clip of ffmpeg's test picture in a loop, through that video
# output, with no sound; its pid in MPV_PID. stop_mpv ends it, and fails if it had already gone.
start_mpv() {
  ffmpeg -loglevel error -f lavfi -i testsrc=size=160x120:rate=10 -t 20 -pix_fmt yuv420p "$WORK/clip.mkv" ||
    fail "ffmpeg made no clip"
  mpv --no-config --vo="$1" --ao=null --loop-file=inf --really-quiet "$WORK/clip.mkv" >"$WORK/mpv.log" 2>&1 &
  MPV_PID=$!
  PIDS+=("$MPV_PID")
}
stop_mpv() { kill -TERM "$MPV_PID" || fail "mpv ended by itself: $(cat "$WORK/mpv.log")"; }

# hold_inhibition PATH: a player that holds an org.freedesktop.ScreenSaver inhibition (at object
# PATH) until release_inhibition closes its input.
hold_inhibition() {
  coproc PLAYER { exec /usr/bin/python3 -c 'import sys; from gi.repository import Gio, GLib
c = Gio.bus_get_sync(Gio.BusType.SESSION, None)
print(c.call_sync("org.freedesktop.ScreenSaver", sys.argv[1], "org.freedesktop.ScreenSaver", "Inhibit",
                  GLib.Variant("(ss)", ("player", "a film")), None, 0, -1, None)[0], flush=True)
sys.stdin.read()' "$1"; }
  PIDS+=("$PLAYER_PID")
  read -r -t 20 -u "${PLAYER[0]}" _ || fail "the player got no cookie at $1"
}
release_inhibition() { exec {PLAYER[1]}>&-; }

# held_off WHO: well past the watcher's idle time (2 s here), no saver runs while WHO holds it off;
# comes_back: then the saver starts.
held_off() {
  sleep 6
  saver_gone || fail "the saver runs although $1 holds it off: $(cat "$WORK/saver.err")"
}
comes_back() { poll 30 saver_runs || fail "the saver did not start: $(cat "$WORK/saver.err")"; }
