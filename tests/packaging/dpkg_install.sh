#!/usr/bin/env bash
# The .deb as a user installs it: apt installs it (waiting for the dpkg lock rather than failing
# while another apt runs), every file lands and the hack runs; purging removes every file, and the
# host's package set is as it was. Skipped (77) without root, and when a smokedrift package is
# installed already: that one is the user's, and the test leaves it alone.
# usage: dpkg_install.sh PACKAGE.deb
set -uo pipefail
deb=$(realpath "$1")
[ "$(id -u)" = 0 ] || { echo "not root: the package is not installed"; exit 77; }
if dpkg-query -W -f='${db:Status-Status}' smokedrift 2>/dev/null | grep -qv '^not-installed$'; then
  echo "a smokedrift package is on this system already; not touching it"
  exit 77
fi
[ -f "$deb" ] || { echo "FAIL: no package at $deb (make package)"; exit 1; }
work=$(mktemp -d)
export DEBIAN_FRONTEND=noninteractive
apt_opts=(-y -q -o DPkg::Lock::Timeout=900 -o Dpkg::Use-Pty=0)
packages() { dpkg-query -W -f='${db:Status-Status} ${Package}\n' | awk '$1 != "not-installed" {print $2}' | sort; }
before=$(packages)
restore() {
  # Whatever this test added goes again: the package, and any dependency apt had to fetch.
  local added
  added=$(comm -13 <(echo "$before") <(packages))
  [ -z "$added" ] || apt-get purge "${apt_opts[@]}" $added >/dev/null 2>&1
  rm -rf "$work"
}
trap restore EXIT
fail=0
say() { echo "FAIL: $*"; fail=1; }

apt-get install "${apt_opts[@]}" --no-install-recommends "$deb" >"$work/apt" 2>&1 ||
  say "apt install: $(cat "$work/apt")"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||')
while read -r f; do [ -e "/$f" ] || [ -L "/$f" ] || say "not installed: /$f"; done <<<"$files"
/usr/libexec/xscreensaver/smokedrift --version | grep -q "^smokedrift " || say "the installed hack does not run"
apt-get purge "${apt_opts[@]}" smokedrift >"$work/apt" 2>&1 || say "apt purge: $(cat "$work/apt")"
while read -r f; do [ ! -e "/$f" ] && [ ! -L "/$f" ] || say "left after removal: /$f"; done <<<"$files"
after=$(packages)
[ "$after" = "$before" ] || say "the package set changed:"$'\n'"$(diff <(echo "$before") <(echo "$after"))"
[ "$fail" = 0 ] && echo "apt install and purge of the package: ok"
exit $fail
