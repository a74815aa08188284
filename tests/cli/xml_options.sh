#!/usr/bin/env bash
# Every option xscreensaver's settings program may write from res/smokedrift.xml is one the saver
# accepts: each arg and arg-set, with a slider's % at its low, default and high values. The saver
# reads its command line before it looks for a display, so without one an accepted line ends on
# the display, a refused one on the option; the scene's options go through --render too.
set -uo pipefail
bin=$1
xml=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
xmllint --noout "$xml" || { echo "FAIL: $xml is not well-formed"; exit 1; }
tried=0
while read -r line; do
  args=$(sed -n 's/.*arg\(-set\)\?="\([^"]*\)".*/\2/p' <<<"$line")
  [ -n "$args" ] || continue
  values=(none)
  if [[ "$args" == *%* ]]; then
    values=()
    for key in low default high; do values+=("$(sed -n "s/.* $key=\"\([^\"]*\)\".*/\1/p" <<<"$line")"); done
  fi
  for v in "${values[@]}"; do
    read -r -a words <<<"${args//%/$v}"
    err=$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin" "${words[@]}" 2>&1)
    if [[ "$err" == smokedrift:* ]]; then
      echo "FAIL: the saver refuses ${words[*]}: $err"
      fail=1
    fi
    case "${words[0]}" in --root | --fps | --delay) ;; *)
      if ! err=$("$bin" --render "$dir/x.png" --size 16x16 --frames 3 "${words[@]}" 2>&1); then
        echo "FAIL: --render refuses ${words[*]}: $err"
        fail=1
      fi ;;
    esac
    tried=$((tried + 1))
  done
done < <(tr '\n' ' ' <"$xml" | sed 's|/>|/>\n|g')
[ "$tried" -ge 8 ] || { echo "FAIL: only $tried options found in $xml"; fail=1; }
[ "$fail" = 0 ] && echo "xml options: $tried accepted"
exit $fail
