#!/usr/bin/env bash
# Where the headless modes write: devices are written through and never replaced, the temporary
# file is made exclusively and goes on SIGINT, SIGTERM and SIGHUP (unless ignored), long names are
# refused before the work, and what OpenGL cannot hold is refused instead of written empty.
set -uo pipefail
bin=$1
dir=$(mktemp -d)
xvfb=""
trap '[ -z "$xvfb" ] || kill "$xvfb"; rm -rf "$dir"' EXIT
fail=0
say() { echo "FAIL: $*"; fail=1; }

# Runs the saver; sets rc and err.
run() {
  err=$("$bin" "$@" 2>&1 >/dev/null)
  rc=$?
}

# A long render that is still running while the test acts on it.
long=(--size 64x64 --frames 100000000)

# Devices: nodes of our own, so a saver that replaced its destination would replace only those.
if mknod "$dir/null" c 1 3 2>/dev/null && mknod "$dir/full" c 1 7 2>/dev/null; then
  run --render "$dir/null" --size 32x32 --frames 3
  [ "$rc" = 0 ] && [ -c "$dir/null" ] || say "null device: exit $rc, now $(stat -c %F "$dir/null"): $err"
  run --render "$dir/full" --size 32x32 --frames 3
  [ "$rc" = 2 ] && [ "$err" = "smokedrift: cannot write $dir/full: No space left on device" ] && [ -c "$dir/full" ] ||
    say "full device: exit $rc: $err"
  rm -f "$dir/null" "$dir/full"
fi
ln -s /proc/self/fd/1 "$dir/stdout"
"$bin" --render "$dir/stdout" --size 32x32 --frames 3 | head -c 8 | od -An -c | grep -q 'P   N   G' ||
  say "a link to standard output into a pipe gave no PNG"
[ -L "$dir/stdout" ] || say "the link to standard output was replaced"
rm -f "$dir/stdout"
# Standard output on a file is written where it stands: what the shell wrote first stays, >> appends.
{ echo header; "$bin" --texture SMOKE --out /dev/stdout; } >"$dir/joined"
echo before >"$dir/appended" && "$bin" --texture SMOKE --out /dev/stdout >>"$dir/appended"
for f in joined:header appended:before; do
  [ "$(head -n1 "$dir/${f%:*}")" = "${f#*:}" ] && sed -n 2p "$dir/${f%:*}" | grep -aq PNG || say "stdout on a file: $f"
done
rm -f "$dir/joined" "$dir/appended"

# A link planted where the old temporary name would have been is not followed.
echo "precious" >"$dir/victim"
"$bin" --render "$dir/out.png" --size 64x64 --frames 400 2>/dev/null &
pid=$!
ln -s "$dir/victim" "$dir/out.png.tmp.$pid"
wait "$pid" || say "render beside a planted link: exit $?"
[ "$(cat "$dir/victim")" = precious ] || say "the planted link's target was overwritten"
rm -f "$dir/out.png" "$dir/out.png.tmp.$pid"

# Signals while the output is claimed: one left at its default ends the render and leaves nothing
# behind; one the caller ignored (nohup, a script's background job) stays ignored and the render
# finishes. env sets the disposition the render starts with (bash ignores SIGINT in `&` jobs).
while read -r signal disposition; do
  case $disposition in
  default) frames=(--frames 100000000) ;;
  ignore) frames=(--frames 2000) ;;
  esac
  env --"$disposition"-signal="$signal" "$bin" --render "$dir/out.png" --size 64x64 "${frames[@]}" </dev/null 2>/dev/null &
  pid=$!
  for _ in $(seq 100); do compgen -G "$dir/.smokedrift-*" >/dev/null && break; sleep 0.1; done
  compgen -G "$dir/.smokedrift-*" >/dev/null || say "SIG$signal ($disposition): no temporary file to find"
  kill -s "$signal" "$pid" || say "SIG$signal ($disposition): the render ended before the signal"
  # A render that outlives the signal would run for days: give it 30 s, then end it and say so.
  for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    say "SIG$signal ($disposition) did not end the render"
    kill -s KILL "$pid"
  fi
  wait "$pid"
  rc=$?
  if [ "$disposition" = ignore ]; then
    [ "$rc" = 0 ] && [ -s "$dir/out.png" ] || say "ignored SIG$signal: exit $rc"
    rm -f "$dir/out.png"
  fi
  [ -z "$(ls -A "$dir" | grep -v victim)" ] || say "SIG$signal ($disposition) left: $(ls -A "$dir")"
done <<'TABLE'
INT default
TERM default
HUP default
HUP ignore
INT ignore
TERM ignore
TABLE

# The watcher (--idle, under an Xvfb of its own): SIGINT and SIGHUP ignored when it started stay
# ignored; SIGTERM, its stop signal, ends it with 0 even then.
if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 3 -nolisten tcp -noreset 3>"$dir/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
  while read -r signal disposition ends; do
    rm -f "$dir/idle.err"  # what the last one said is no sign that this one is ready
    DISPLAY=":$(cat "$dir/display")" DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/no-bus" TMPDIR="$dir" \
      env --"$disposition"-signal="$signal" "$bin" --idle 3600 --verbose </dev/null 2>"$dir/idle.err" &
    pid=$!
    # The desktop's timers are read once the signals are set up.
    for _ in $(seq 100); do grep -q "desktop timer" "$dir/idle.err" && break; sleep 0.1; done
    kill -s "$signal" "$pid"
    sleep 1
    [ "$ends" = ends ] || kill -s TERM "$pid" || say "watcher: ignored SIG$signal ended it"
    wait "$pid" || say "watcher, SIG$signal ($disposition): exit $?: $(cat "$dir/idle.err")"
  done <<'TABLE'
HUP ignore lives
INT ignore lives
TERM ignore ends
TABLE
  kill "$xvfb" && wait "$xvfb"
  xvfb=""
  rm -rf "$dir/display" "$dir/idle.err" "$dir"/smokedrift-*
fi

# Names: one that fits renders; one past the file system's limit is refused before rendering
# (the render asked for would run for days).
name254=$(printf 'n%.0s' $(seq 250)).png
run --render "$dir/$name254" --size 16x16 --frames 3
[ "$rc" = 0 ] && [ -f "$dir/$name254" ] || say "254-byte name: exit $rc: $err"
rm -f "$dir/$name254"
err=$(timeout 60 "$bin" --render "$dir/$(printf 'n%.0s' $(seq 252)).png" "${long[@]}" 2>&1 >/dev/null)
rc=$?
[ "$rc" = 2 ] && [[ "$err" == *"longer than 255 bytes"* ]] || say "256-byte name: exit $rc: $err"

# Textures wider than OpenGL takes.
run --texture FOG --out "$dir/wide.png" --size 65536x1
[ "$rc" = 2 ] && [[ "$err" == *"at most "*" pixels a side"* ]] || say "65536x1 texture: exit $rc: $err"

[ -z "$(ls -A "$dir" | grep -v victim)" ] || say "files left behind: $(ls -A "$dir")"
[ "$fail" = 0 ] && echo "output targets: ok"
exit $fail
