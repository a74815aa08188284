#!/usr/bin/env bash
# The fly-through's switches read together: each starts the fly-through, it shows stars and
# particles unless one of them is named, --enable names mean what the flags mean, and fog changes
# what the fly-through shows. Each line: two option sets, and whether their renders are the same.
set -uo pipefail
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
n=0
while IFS='|' read -r left relation right; do
  [ -n "$left" ] || continue
  n=$((n + 1))
  relation=${relation// /}
  for side in left right; do
    read -r -a words <<<"${!side}"
    "$bin" --render "$dir/$side.png" --size 160x120 --frames 60 --seed 3 "${words[@]}" ||
      { echo "FAIL: --render refuses ${!side}"; fail=1; continue 2; }
  done
  if cmp -s "$dir/left.png" "$dir/right.png"; then got=same; else got=differs; fi
  [ "$got" = "$relation" ] || { echo "FAIL: $left | $right: $got, expected $relation"; fail=1; }
done <<'TABLE'
--3d                     |same   |--3d --stars --particles
--stars                  |same   |--3d --stars
--particles              |same   |--3d --particles
--stars                  |differs|--3d
--fog                    |same   |--3d --stars --particles --fog
--enable fog,stars       |same   |--fog --stars
--3d                     |differs|--3d --fog
--particles              |differs|--particles --fog
TABLE
[ "$fail" = 0 ] && echo "fly-through switches: $n pairs as expected"
exit $fail
