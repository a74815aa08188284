#!/usr/bin/env bash
# What the Windows downloads carry: the .scr and the installer name their publisher in the version
# resource (Windows shows it under Details and in the installed programs), and the .scr holds no
# debug data and no link time, which would swell it and make each build differ.
set -uo pipefail
build=${SMOKEDRIFT_WINDOWS_BUILD:?}
scr="$build/smokedrift.scr"
setup="$build/smokedrift-setup-${SMOKEDRIFT_VERSION:?}.exe"
source "$(dirname "$0")/../support/inputs.sh"
fail=0
for file in "$scr" "$setup"; do
  require_input "$file" "build the windows preset"
  # Version strings are UTF-16: the key, then its value.
  strings -el "$file" | grep -A1 -x CompanyName | tail -1 | grep -qx 'the smokedrift authors' ||
    { echo "FAIL: $(basename "$file") names no CompanyName"; fail=1; }
done
headers=$(x86_64-w64-mingw32-objdump -h -p "$scr")
grep -q '\.debug_' <<<"$headers" && { echo "FAIL: the .scr carries debug sections"; fail=1; }
grep -q '^Time/Date.*1970$' <<<"$headers" || { echo "FAIL: the .scr carries a link time"; fail=1; }
[ "$fail" = 0 ] && echo "version strings, no debug data, no link time: ok"
exit $fail
