#!/usr/bin/env bash
# packaging/debian as Debian 13 builds it: the source tarball of the last commit (made here, where
# git is), unpacked in the root with packaging/debian as debian/, dpkg-buildpackage with Debian 13's
# debhelper and compiler, and Debian 13's lintian says nothing about the result.
# usage: package.sh              (on the host, as root)
#        package.sh inside FILE  (in the root: FILE is the tarball under /build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != inside ]; then
  [ "$(id -u)" = 0 ] || { echo "package.sh: needs root (the Debian 13 root)"; exit 77; }
  [ -e "$here/../../.git" ] || { echo "not a git clone: no commit to make a source tarball of"; exit 77; }
  out=${SMOKEDRIFT_FIELD_BUILD:-$here/../../build-field}/package
  rm -rf "$out"
  mkdir -p "$out"
  tarball=$(bash "$here/../../scripts/dist" --source "$out")
  exec bash "$here/root.sh" run bash /src/smokedrift/tests/field/package.sh inside "/build/package/$(basename "$tarball")"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -xzf "$2" -C "$work"
tree=$(echo "$work"/smokedrift-*/)
cp -r "$tree/packaging/debian" "$tree/debian"
(cd "$tree" && DEB_BUILD_OPTIONS=parallel=2 dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1 ||
  { tail -n 40 "$work/build.log"; echo "FAIL: dpkg-buildpackage"; exit 1; }
if grep 'warning:' "$work/build.log"; then echo "FAIL: the build warns"; exit 1; fi
lintian --version
# lintian says it runs as root; anything else is a finding.
lintian "$work"/smokedrift_*.changes 2>&1 | grep -v '^running with root privileges' >"$work/lintian.out" || true
if [ -s "$work/lintian.out" ]; then cat "$work/lintian.out"; echo "FAIL: lintian is not silent"; exit 1; fi
echo "dpkg-buildpackage and lintian on Debian 13: ok ($(dpkg-deb -f "$work"/smokedrift_*.deb Version))"
