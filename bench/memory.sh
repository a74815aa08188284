#!/usr/bin/env bash
# The scene objects' static storage in the Linux binary, largest first, and the total.
set -euo pipefail
cd "$(dirname "$0")/.."
nm -C -S --size-sort build/smokedrift | awk '$3 ~ /[bBdD]/' |
  grep -E 'smokedrift::(\(anonymous namespace\)::)?(scene|textureScratch|coneTable|blackImage|fpsOverlay|textureRegistry)$' |
  while read -r _ size _ name; do printf '%10d bytes %s\n' "$((16#$size))" "$name"; done |
  sort -rn | awk '{ total += $1; print } END { printf "%10d bytes in all (%.1f KiB)\n", total, total / 1024 }'
