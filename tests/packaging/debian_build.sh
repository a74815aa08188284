#!/usr/bin/env bash
# Debian's own tools build the source tarball, as a distribution would: packaging/debian goes in
# as debian/, dpkg-buildpackage builds the binary package once with Debian 12's default flags and
# once with Ubuntu's fortify level and every hardening feature, and lintian finds no error or
# warning in either. No compiler warning either: a flag the build defined on top of the caller's
# would show as one. The user unit is shipped and not enabled. Root only (the build dependencies
# must be installed, which only root can do); the tarball is made from HEAD by git archive, so
# only committed changes are built.
# usage: debian_build.sh
set -uo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
fail=0
say() { echo "FAIL: $*"; fail=1; }
# Build-Depends are scripts/setup's product part, less the compiler and the run-time drivers; of
# alternatives (a package renamed between releases), the one this release's setup installs.
product=$(bash "$source_dir/scripts/setup" --list product |
  grep -vxE 'build-essential|dpkg-dev|file|libegl-mesa0|libgl1-mesa-dri' | sort)
depends=$(sed -n '/^Build-Depends:/,/^[A-Z]/p' "$source_dir/packaging/debian/control" | sed '$d' |
  sed 's/^Build-Depends://; s/([^)]*)//g' | tr ',' '\n' | tr -d ' ' | grep -v '^debhelper-compat$' | grep . |
  while IFS= read -r choice; do
    pick=${choice%%|*}
    for alternative in ${choice//|/ }; do grep -qx "$alternative" <<<"$product" && pick=$alternative; done
    echo "$pick"
  done | sort)
[ "$depends" = "$product" ] || say "Build-Depends differ from scripts/setup's product part:"$'\n'"$(diff <(echo "$depends") <(echo "$product"))"
[ "$(id -u)" = 0 ] || { echo "not root: the build dependencies may be missing and cannot be installed"; exit 77; }
[ -e "$source_dir/.git" ] || { echo "not a git clone: there is no commit to make a source tarball of"; exit 77; }
command -v dpkg-buildpackage >/dev/null && command -v dh >/dev/null ||
  { echo "FAIL: dpkg-buildpackage or debhelper missing (scripts/setup tests)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tarball=$(bash "$source_dir/scripts/dist" --source "$work") || { echo "FAIL: no source tarball"; exit 1; }
tar -xzf "$tarball" -C "$work"
tree=$(echo "$work"/smokedrift-*/)
cp -r "$tree/packaging/debian" "$tree/debian"

# debian_build NAME FORTIFY [VAR=VALUE...]: builds the package in the unpacked tree and checks the
# result. FORTIFY: the _FORTIFY_SOURCE definitions of the caller's flags, which every compiler call
# must have as they are, with none of the build's own after them.
debian_build() {
  local name=$1 fortify=$2 log="$work/$1.log"
  shift 2
  (cd "$tree" && env -u DEB_BUILD_MAINT_OPTIONS -u DEB_CPPFLAGS_APPEND -u CFLAGS -u CXXFLAGS -u CPPFLAGS \
     -u LDFLAGS DEB_BUILD_OPTIONS=parallel=2 "$@" dpkg-buildpackage -us -uc -b) >"$log" 2>&1 ||
    { say "$name: dpkg-buildpackage failed:"$'\n'"$(tail -n 30 "$log")"; return; }
  local defines
  defines=$(grep -E ' -c [^ ]+\.(c|cpp)$' "$log" |
    awk '{ s = ""; for (i = 1; i <= NF; i++) if ($i ~ /^-[DU]_FORTIFY_SOURCE/) s = s " " $i; print s }' | sort -u)
  [ "$defines" = " $fortify" ] || say "$name: the compiler calls define _FORTIFY_SOURCE as:"$'\n'"$defines"
  # Two definitions in the caller's own flags warn of each other; any other warning is a fault.
  grep 'warning:' "$log" | grep -v '^<command-line>: warning: "_FORTIFY_SOURCE" redefined$' |
    grep -q . && say "$name: the build warns: $(grep 'warning:' "$log" | sort -u | head -5)"
  local deb
  deb=$(echo "$work"/smokedrift_*.deb)
  dpkg-deb -c "$deb" >"$work/$name.contents"
  grep -q ' ./usr/lib/systemd/user/smokedrift-idle.service$' "$work/$name.contents" ||
    say "$name: the user unit is not in the package"
  # Not enabled: the postinst enables it again only where an earlier install of it was enabled.
  dpkg-deb -e "$deb" "$work/$name.control"
  grep -q "deb-systemd-helper --user debian-installed 'smokedrift-idle.service'" "$work/$name.control/postinst" ||
    say "$name: the postinst enables the user unit on a first install"
  lintian -I -E "$work"/smokedrift_*.changes 2>&1 | grep -v '^running with root privileges' >"$work/$name.lintian"
  echo "--- lintian ($name):"
  cat "$work/$name.lintian"
  grep -q '^[EW]:' "$work/$name.lintian" && say "$name: lintian has errors or warnings"
  echo "$name: $(dpkg-deb -f "$deb" Installed-Size) KiB installed"
}

debian_build default "-D_FORTIFY_SOURCE=2"
debian_build fortify3 "-D_FORTIFY_SOURCE=2 -D_FORTIFY_SOURCE=3" \
  DEB_CPPFLAGS_APPEND=-D_FORTIFY_SOURCE=3 DEB_BUILD_MAINT_OPTIONS=hardening=+all
[ "$fail" = 0 ] && echo "dpkg-buildpackage with Debian's and Ubuntu's flags, lintian: ok"
exit $fail
