#!/usr/bin/env bash
# A long render holds no more memory than a short one: the frames are handed to the renderer as
# they are drawn, not queued until the read-back.
set -euo pipefail
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
peak() {  # peak resident KiB of a render of N frames
  /usr/bin/time -f '%M' -o "$dir/rss" "$bin" --render "$dir/x.png" --size 160x120 --frames "$1" >/dev/null
  cat "$dir/rss"
}
short=$(peak 300)
long=$(peak 1500)
echo "peak resident memory: 300 frames ${short} KiB, 1500 frames ${long} KiB"
# Queued frames cost over half a MiB each here; 1200 more would add hundreds of MiB.
[ $((long - short)) -lt 65536 ] || { echo "FAIL: memory grows with the frame count"; exit 1; }
