#!/usr/bin/env bash
# The Linux install as a user gets it: `cmake --install` into a staging folder lays out what the
# package carries, the manual page reads without a warning, lintian finds nothing wrong with the
# .deb, and (as root) dpkg installs every file and removes every one again.
# usage: linux_package.sh BUILD_DIR PACKAGE.deb
set -uo pipefail
build=$1
deb=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
say() { echo "FAIL: $*"; fail=1; }

expected="usr/bin/smokedrift
usr/lib/systemd/user/smokedrift-idle.service
usr/libexec/xscreensaver/smokedrift
usr/share/doc/smokedrift/LICENSE
usr/share/doc/smokedrift/README.md
usr/share/doc/smokedrift/changelog.gz
usr/share/doc/smokedrift/copyright
usr/share/man/man6/smokedrift.6.gz
usr/share/xscreensaver/config/smokedrift.xml"

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null || say "cmake --install failed"
staged=$(cd "$work/stage" && find . -type f -o -type l | sed 's|^\./||' | sort)
[ "$staged" = "$expected" ] || say "staged files differ:"$'\n'"$staged"
[ "$(readlink "$work/stage/usr/libexec/xscreensaver/smokedrift")" = ../../bin/smokedrift ] ||
  say "the hack folder's entry is not a link to the program"
grep -qx "ExecStart=/usr/bin/smokedrift --idle 300" "$work/stage/usr/lib/systemd/user/smokedrift-idle.service" ||
  say "the idle unit does not run the installed program"

# The manual page: no warning from either formatter, and every scene option in it.
zcat "$work/stage/usr/share/man/man6/smokedrift.6.gz" >"$work/smokedrift.6"
groff -ww -z -man "$work/smokedrift.6" 2>"$work/groff.err" && [ ! -s "$work/groff.err" ] ||
  say "groff: $(cat "$work/groff.err")"
mandoc -T lint "$work/smokedrift.6" >"$work/mandoc.err" 2>&1 || say "mandoc: $(cat "$work/mandoc.err")"
for option in --3d --stars --particles --fog --background --feedback --sprites --speed --fps --delay; do
  grep -q -- "\\\\-\\\\-${option#--}" "$work/smokedrift.6" || say "the manual page misses $option"
done

[ -f "$deb" ] || { say "no package at $deb (make package)"; exit 1; }
packed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
[ "$packed" = "$expected" ] || say "the package's files differ:"$'\n'"$packed"
[ "$(dpkg-deb -f "$deb" Section)" = x11 ] || say "section $(dpkg-deb -f "$deb" Section)"
dpkg-deb -f "$deb" Depends | grep -q libpng16 || say "no library dependencies: $(dpkg-deb -f "$deb" Depends)"
lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1 || say "lintian: $(grep -v 'root privileges' "$work/lintian")"

if [ "$(id -u)" = 0 ]; then
  if dpkg-query -W smokedrift >/dev/null 2>&1; then
    say "smokedrift is installed already; not touching it"
  else
    dpkg -i "$deb" >"$work/dpkg" 2>&1 || say "dpkg -i: $(cat "$work/dpkg")"
    while read -r f; do [ -e "/$f" ] || [ -L "/$f" ] || say "not installed: /$f"; done <<<"$expected"
    /usr/libexec/xscreensaver/smokedrift --version | grep -q "^smokedrift " || say "the installed hack does not run"
    dpkg -r smokedrift >"$work/dpkg" 2>&1 || say "dpkg -r: $(cat "$work/dpkg")"
    while read -r f; do [ ! -e "/$f" ] && [ ! -L "/$f" ] || say "left after removal: /$f"; done <<<"$expected"
    dpkg -P smokedrift >/dev/null 2>&1 || true
  fi
else
  echo "not root: dpkg -i and -r not tried"
fi
[ "$fail" = 0 ] && echo "linux package: ok"
exit $fail
