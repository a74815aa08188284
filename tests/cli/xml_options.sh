#!/usr/bin/env bash
# Every option xscreensaver's settings program may write from res/smokedrift.xml is one the saver
# accepts: each arg and arg-set, with a slider's % at its low, default and high values. The saver
# reads its command line before it looks for a display, so without one an accepted line ends on
# the display, a refused one on the option; the scene's options go through --render too. Each
# control of the scene, ticked or slid by itself, changes the picture: a render with it differs
# from the shipped one (a slider at its default gives the shipped picture). Each slider starts
# where the program's range starts and ends within it, as the program's refusal of a value that is
# no number names that range (the option table's; a slider may stop short of its top on purpose).
set -uo pipefail
bin=$1
xml=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
xmllint --noout "$xml" || { echo "FAIL: $xml is not well-formed"; exit 1; }
tried=0
render=(--size 160x120 --frames 60 --seed 3)
"$bin" --render "$dir/shipped.png" "${render[@]}" || { echo "FAIL: the shipped scene does not render"; exit 1; }
while read -r line; do
  args=$(sed -n 's/.*arg\(-set\)\?="\([^"]*\)".*/\2/p' <<<"$line")
  [ -n "$args" ] || continue
  values=(none)
  if [[ "$args" == *%* ]]; then
    values=()
    for key in low default high; do values+=("$(sed -n "s/.* $key=\"\([^\"]*\)\".*/\1/p" <<<"$line")"); done
  fi
  default=$(sed -n 's/.* default="\([^"]*\)".*/\1/p' <<<"$line")
  if [[ "$args" == *%* ]]; then
    read -r -a words <<<"${args//%/x}"
    range=$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin" "${words[@]}" 2>&1 | sed -n 's/.* from \([^ ]*\) to \([^ ]*\)$/\1 \2/p')
    if ! awk -v r="$range" -v lo="${values[0]}" -v hi="${values[2]}" \
        'BEGIN { split(r, t, " "); exit !(r != "" && lo == t[1] && hi <= t[2] + 0) }'; then
      echo "FAIL: ${args%% *} slides from ${values[0]} to ${values[2]}; the program takes ${range/ / to }"
      fail=1
    fi
  fi
  for v in "${values[@]}"; do
    read -r -a words <<<"${args//%/$v}"
    err=$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin" "${words[@]}" 2>&1)
    if [[ "$err" == smokedrift:* ]]; then
      echo "FAIL: the saver refuses ${words[*]}: $err"
      fail=1
    fi
    case "${words[0]}" in --root | --fps | --delay) ;; *)
      if ! err=$("$bin" --render "$dir/x.png" "${render[@]}" "${words[@]}" 2>&1); then
        echo "FAIL: --render refuses ${words[*]}: $err"
        fail=1
      elif [ "$v" = "$default" ] && ! cmp -s "$dir/x.png" "$dir/shipped.png"; then
        echo "FAIL: ${words[*]}, the default, does not draw the shipped scene"
        fail=1
      elif [ "$v" != "$default" ] && cmp -s "$dir/x.png" "$dir/shipped.png"; then
        echo "FAIL: ${words[*]} draws the shipped scene unchanged"
        fail=1
      fi ;;
    esac
    tried=$((tried + 1))
  done
done < <(tr '\n' ' ' <"$xml" | sed 's|/>|/>\n|g')
[ "$tried" -ge 8 ] || { echo "FAIL: only $tried options found in $xml"; fail=1; }
[ "$fail" = 0 ] && echo "xml options: $tried accepted"
exit $fail
