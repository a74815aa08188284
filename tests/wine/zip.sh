#!/usr/bin/env bash
# The Windows zip holds exactly the .scr, README.md and LICENSE, each as the build and the tree have it.
set -uo pipefail
build=${SMOKEDRIFT_WINDOWS_BUILD:?}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
zip="$build/smokedrift-${SMOKEDRIFT_VERSION:?}-windows.zip"
source "$(dirname "$0")/../support/inputs.sh"
require_input "$zip" "build the windows preset"

names=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$names" = "LICENSE README.md smokedrift.scr " ] || { echo "FAIL: the zip holds: $names"; exit 1; }
for pair in "smokedrift.scr $build/smokedrift.scr" "README.md $source_dir/README.md" "LICENSE $source_dir/LICENSE"; do
  set -- $pair
  unzip -p "$zip" "$1" | cmp -s - "$2" || { echo "FAIL: $1 in the zip differs from $2"; exit 1; }
done
echo "the zip holds the .scr, README.md and LICENSE: ok"
