#!/usr/bin/env bash
# Every bad invocation prints one line to stderr, exits 2 and leaves no file behind.
set -uo pipefail
bin=$1
dir=$(mktemp -d)
trap 'chmod -R u+w "$dir"; rm -rf "$dir"' EXIT
fail=0

expect_2() {
  local what=$1; shift
  local err
  err=$("$bin" "$@" 2>&1 >/dev/null)
  local rc=$?
  local lines
  lines=$(printf '%s' "$err" | grep -c . || true)
  if [ "$rc" != 2 ] || [ "$lines" != 1 ]; then
    echo "FAIL: $what: exit $rc, stderr: $err"
    fail=1
  fi
}

out="$dir/x.png"
expect_2 "unknown option" --render "$out" --sise 10x10
expect_2 "missing value" --render "$out" --size
expect_2 "missing file" --render
expect_2 "size without x" --render "$out" --size 640
expect_2 "zero size" --render "$out" --size 0x10
expect_2 "negative size" --render "$out" --size -5x10
expect_2 "size too large" --render "$out" --size 16385x10
expect_2 "size with junk" --render "$out" --size 10x10x
expect_2 "zero frames" --render "$out" --frames 0
expect_2 "frames not a number" --render "$out" --frames ten
expect_2 "negative seed" --render "$out" --seed -1
expect_2 "unknown switch" --render "$out" --enable warp
expect_2 "no sprites" --render "$out" --sprites 0
expect_2 "too many sprites" --render "$out" --sprites 31
expect_2 "negative speed" --render "$out" --speed -1
expect_2 "speed not a number" --render "$out" --speed nan
expect_2 "speed too high" --render "$out" --speed 1e99
expect_2 "unknown feedback" --render "$out" --feedback bogus
expect_2 "a value twice" --render "$out" --sprites 3 --sprites 4
expect_2 "two headless modes" --render "$out" --texture SMOKE
mkdir "$dir/locked" && chmod 555 "$dir/locked"
if [ "$(id -u)" != 0 ]; then
  expect_2 "unwritable directory" --render "$dir/locked/x.png" --frames 1 --size 8x8
fi
expect_2 "missing directory" --render "$dir/nowhere/x.png" --frames 1 --size 8x8
expect_2 "destination is a directory" --render "$dir/locked" --frames 1 --size 8x8

left=$(find "$dir" -type f | wc -l)
[ "$left" = 0 ] || { echo "FAIL: files left behind:"; find "$dir" -type f; fail=1; }
[ "$fail" = 0 ] && echo "bad arguments: ok"
exit $fail
