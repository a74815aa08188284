#!/usr/bin/env bash
# A link another account planted in a sticky folder, pointing at the user's own file: with
# fs.protected_symlinks=1 the kernel will not follow it for the user, so neither may the headless
# writers (exit 2, one line, the file untouched). The user's own link there is still followed.
set -uo pipefail
bin=$1
[ "$(id -u)" = 0 ] || { echo "skipped: needs root to plant a link as nobody and set fs.protected_symlinks"; exit 77; }
# The setting is the machine's: runs of this test in other trees take turns with it.
exec 9</proc/sys/fs/protected_symlinks && flock 9 || { echo "skipped: no fs.protected_symlinks to hold"; exit 77; }
was=$(sysctl -n fs.protected_symlinks)
sticky=$(mktemp -d)
own=$(mktemp -d)
trap 'sysctl -qw fs.protected_symlinks="$was"; rm -rf "$sticky" "$own"' EXIT
sysctl -qw fs.protected_symlinks=1 2>/dev/null || { echo "skipped: cannot set fs.protected_symlinks here"; exit 77; }
chmod 1777 "$sticky"
fail=0

# who plants the link, the exit wanted, how the user's file begins after, the switches (OUT: the link)
while read -r planter want after switches; do
  echo precious >"$own/victim"
  case $planter in
  nobody) setpriv --reuid=nobody --regid=nogroup --clear-groups ln -s "$own/victim" "$sticky/x.png" ;;
  self) ln -s "$own/victim" "$sticky/x.png" ;;
  esac
  # shellcheck disable=SC2086 # the switches are words
  err=$("$bin" ${switches//OUT/$sticky/x.png} 2>&1 >/dev/null)
  rc=$?
  holds=$(head -c 4 "$own/victim" | od -An -c | tr -d ' ')
  [ "$holds" = "$after" ] || { echo "FAIL: $planter's link, $switches: the file begins $holds"; fail=1; }
  [ -L "$sticky/x.png" ] || { echo "FAIL: $planter's link, $switches: the link was replaced"; fail=1; }
  if [ "$rc" != "$want" ] || { [ "$want" = 2 ] && [ "$(printf '%s\n' "$err" | wc -l)" != 1 ]; }; then
    echo "FAIL: $planter's link, $switches: exit $rc (want $want): $err"
    fail=1
  fi
  rm -f "$sticky/x.png"
done <<'TABLE'
nobody 2 prec --texture SMOKE --out OUT
nobody 2 prec --render OUT --size 32x32 --frames 3
self 0 211PNG --texture SMOKE --out OUT
self 0 211PNG --render OUT --size 32x32 --frames 3
TABLE
# Another account's file there, 0666: open() lets the user write it, but only its owner may rename
# over it, so it is refused before the render (which would run for days), not after.
echo precious >"$sticky/x.png"
chmod 666 "$sticky/x.png"
err=$(timeout 60 setpriv --reuid=nobody --regid=nogroup --clear-groups \
  "$bin" --render "$sticky/x.png" --size 64x64 --frames 100000000 2>&1 >/dev/null)
rc=$?
[ "$rc" = 2 ] && [ "$(cat "$sticky/x.png")" = precious ] && [[ "$err" == *"sticky folder"* ]] ||
  { echo "FAIL: root's file in the sticky folder, written by nobody: exit $rc: $err"; fail=1; }
rm -f "$sticky/x.png"
[ -z "$(ls -A "$sticky")" ] || { echo "FAIL: left behind: $(ls -A "$sticky")"; fail=1; }
[ "$fail" = 0 ] && echo "planted links: ok"
exit $fail
