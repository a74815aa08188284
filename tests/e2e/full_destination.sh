#!/usr/bin/env bash
# Render mode into a full file system (a 64 KiB tmpfs): exit 2, one line naming the reason, no
# partial or temporary file, and a file already there under the same name left as it was.
# Mounting needs root; where the mount is refused the test says so and is skipped (77).
source "$(dirname "$0")/lib.sh"
full="$WORK/full"
mkdir -p "$full"
if ! mount -t tmpfs -o size=64k smokedrift-full "$full" 2>"$WORK/mount.err"; then
  echo "SKIP: cannot mount a tmpfs here (uid $(id -u)): $(cat "$WORK/mount.err")"
  exit 77
fi
trap 'umount "$full" 2>/dev/null; cleanup' EXIT

echo "an earlier picture" >"$full/out.png"
code=0
"$SAVER" --render "$full/out.png" --size 640x480 --frames 20 >/dev/null 2>"$WORK/render.err" || code=$?
[ "$code" = 2 ] || fail "exit code $code, expected 2 (stderr: $(cat "$WORK/render.err"))"
[ "$(wc -l <"$WORK/render.err")" = 1 ] && grep -q "^smokedrift: cannot write $full/out.png: No space left on device$" \
  "$WORK/render.err" || fail "expected one line about the full disk, got: $(cat "$WORK/render.err")"
[ "$(ls -A "$full")" = out.png ] || fail "files left in the full file system: $(ls -A "$full")"
[ "$(cat "$full/out.png")" = "an earlier picture" ] || fail "the earlier file was changed"

# --texture writes through the same path.
rm -f "$full/out.png"
head -c 60000 /dev/zero >"$full/filler"
code=0
"$SAVER" --texture SMOKE --out "$full/tex.png" >/dev/null 2>"$WORK/texture.err" || code=$?
[ "$code" = 2 ] || fail "--texture: exit code $code, expected 2 (stderr: $(cat "$WORK/texture.err"))"
grep -q "No space left on device" "$WORK/texture.err" || fail "--texture: $(cat "$WORK/texture.err")"
[ "$(ls -A "$full")" = filler ] || fail "--texture left files behind: $(ls -A "$full")"
echo "full destination: exit 2, nothing left behind"
