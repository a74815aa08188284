#!/usr/bin/env bash
# A full-screen run, with input that ends it, writes nothing: the working directory, $HOME (and the
# XDG folders and TMPDIR, pointed inside it) are the same before and after, names, sizes, times
# and modes; the GL driver's shader cache included, which the saver switches off.
source "$(dirname "$0")/lib.sh"
SAVER=$(realpath "$SAVER")  # the saver starts in another folder
start_xvfb 320x240

home="$WORK/home"
cwd="$WORK/cwd"
mkdir -p "$home/.config" "$home/tmp" "$home/.cache" "$cwd"
echo "a file of the user" >"$home/notes.txt"

snapshot() {
  local dir
  for dir in "$home" "$cwd"; do
    (cd "$dir" && find . -printf '%p %y %s %T@ %m\n' | sort)
  done
}

before="$WORK/before.txt"
after="$WORK/after.txt"
snapshot >"$before"
sleep 0.01  # a write in the same instant would keep the times equal; sizes still differ
(
  cd "$cwd"
  HOME="$home" XDG_CACHE_HOME="$home/.cache" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    TMPDIR="$home/tmp" start_saver /s
  echo "$SAVER_PID" >"$WORK/pid"
)
SAVER_PID=$(cat "$WORK/pid")
PIDS+=("$SAVER_PID")
wait_for_full_screen
poll 30 draws_between_bands 320 240 || fail "no smoke"
xdotool mousemove_relative -- 30 30
xdotool key space
for _ in $(seq 1 300); do still_running || break; sleep 0.1; done
still_running && fail "input did not end the saver"
snapshot >"$after"
diff "$before" "$after" >"$WORK/diff.txt" || fail "the run changed files: $(cat "$WORK/diff.txt")"

# The comparison sees a write where one happens.
touch "$home/.config/written"
snapshot >"$after"
diff -q "$before" "$after" >/dev/null && fail "the snapshot missed a new file"
echo "no writes to the working directory or \$HOME: ok"
