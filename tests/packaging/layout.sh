#!/usr/bin/env bash
# The Linux install as a user gets it, without touching the host: `cmake --install` into a staging
# folder lays out what the package carries and lists it in install_manifest.txt, the hack link
# resolves for any mix of relative and absolute folders, the manual page, desktop entry and
# AppStream metainfo pass their checkers, and lintian (pedantic) finds nothing in the .deb.
# usage: layout.sh BUILD_DIR PACKAGE.deb
set -uo pipefail
build=$1
deb=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
source "$source_dir/tests/support/inputs.sh"
require_input "$deb" "make package"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
say() { echo "FAIL: $*"; fail=1; }

icons=$(for s in 16 22 24 32 48 64 128 256; do echo "usr/share/icons/hicolor/${s}x$s/apps/smokedrift.png"; done)
expected=$(sort <<EOF
usr/bin/smokedrift
usr/lib/systemd/user/smokedrift-idle.service
usr/libexec/xscreensaver/smokedrift
usr/share/applications/screensavers/smokedrift.desktop
usr/share/dbus-1/interfaces/org.example.smokedrift.Watcher.xml
usr/share/doc/smokedrift/README.md
usr/share/doc/smokedrift/changelog.gz
usr/share/doc/smokedrift/copyright
$icons
usr/share/man/man6/smokedrift.6.gz
usr/share/metainfo/org.example.smokedrift.metainfo.xml
usr/share/xscreensaver/config/smokedrift.xml
EOF
)

stage="$work/stage"
# A folder that was there before the install, and that the uninstall must leave.
mkdir -p "$stage/usr/share/man"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null || say "cmake --install failed"
staged=$(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | sort)
[ "$staged" = "$expected" ] || say "staged files differ:"$'\n'"$staged"
# The manifest names each file once, where it lands without DESTDIR.
manifest=$(sed 's|^/||' "$build/install_manifest.txt" | sort)
[ "$manifest" = "$expected" ] || say "install_manifest.txt differs:"$'\n'"$manifest"
# The README's uninstall, under DESTDIR: the listed files, then the listed folders once empty,
# leave the folders that were there before and nothing else.
cp -a "$stage" "$work/uninstall"
sed "s|^|$work/uninstall|" "$build/install_manifest.txt" | xargs rm -f
sed "s|^|$work/uninstall|" "$build/install_folders.txt" | xargs -r rmdir --ignore-fail-on-non-empty
left=$(cd "$work/uninstall" && find . | sort | tr '\n' ' ')
[ "$left" = ". ./usr ./usr/share ./usr/share/man " ] || say "the uninstall left: $left"
[ "$(readlink "$stage/usr/libexec/xscreensaver/smokedrift")" = ../../bin/smokedrift ] ||
  say "the hack folder's entry is not a link to the program"
# The idle watcher's user unit names the program where it is installed.
unit_idle=$(sed -n 's|^ExecStart=/usr/bin/smokedrift --idle \([0-9]*\)$|\1|p' "$stage/usr/lib/systemd/user/smokedrift-idle.service")
[ -n "$unit_idle" ] ||
  say "the user unit does not start the installed program: $(grep ExecStart "$stage/usr/lib/systemd/user/smokedrift-idle.service")"
# The manual page gives the unit's idle time.
zcat "$stage/usr/share/man/man6/smokedrift.6.gz" | grep -q "runs it with $unit_idle seconds" ||
  say "the manual page does not give the unit's $unit_idle seconds"

# The hack link, for hack and program folders relative to the prefix or absolute.
while read -r hackdir bindir prefix link target; do
  rm -rf "$work/link"
  DESTDIR="$work/link" cmake -DSMOKEDRIFT_HACKDIR="$hackdir" -DSMOKEDRIFT_BINDIR="$bindir" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DSMOKEDRIFT_LINK_STAGE="$work/link-stage" \
    -P "$source_dir/cmake/install_hack_link.cmake" >/dev/null || say "hack link $hackdir: failed"
  found=$(cd "$work/link" && find . -type l | sed 's|^\.||')
  [ "$found" = "$link" ] && [ "$(readlink "$work/link$link")" = "$target" ] ||
    say "hack link for $hackdir $bindir $prefix: $found -> $(readlink "$work/link$found")"
done <<'EOF'
libexec/xscreensaver bin /usr /usr/libexec/xscreensaver/smokedrift ../../bin/smokedrift
lib/xscreensaver bin /usr/local /usr/local/lib/xscreensaver/smokedrift ../../bin/smokedrift
/usr/lib/xscreensaver bin /usr/local /usr/lib/xscreensaver/smokedrift ../../local/bin/smokedrift
libexec/xscreensaver /opt/sd/bin /usr /usr/libexec/xscreensaver/smokedrift ../../../opt/sd/bin/smokedrift
EOF

# Debian's copyright file carries the licence as it stands in LICENSE.
sed -n '/^ MIT License$/,$p' "$source_dir/packaging/debian/copyright" | sed 's/^ //; s/^\.$//' |
  cmp -s - "$source_dir/LICENSE" || say "packaging/debian/copyright's licence differs from LICENSE"

# The manual page: no warning from either formatter, every scene option in it, and a NAME line
# that apropos "screen saver" finds.
zcat "$stage/usr/share/man/man6/smokedrift.6.gz" >"$work/smokedrift.6"
groff -ww -z -man "$work/smokedrift.6" 2>"$work/groff.err" && [ ! -s "$work/groff.err" ] ||
  say "groff: $(cat "$work/groff.err")"
mandoc -T lint "$work/smokedrift.6" >"$work/mandoc.err" 2>&1 || say "mandoc: $(cat "$work/mandoc.err")"
for option in --idle --3d --stars --particles --fog --background --feedback --sprites --speed --fps --delay; do
  grep -q -- "\\\\-\\\\-${option#--}" "$work/smokedrift.6" || say "the manual page misses $option"
done
sed -n '/^\.SH NAME/{n;p}' "$work/smokedrift.6" | grep -q 'screen saver' || say "the NAME line lacks \"screen saver\""

# Hints (no main category: Screensaver entries live in their own menu) are not faults.
desktop-file-validate "$stage/usr/share/applications/screensavers/smokedrift.desktop" >"$work/desktop" 2>&1
grep -E 'error|warning' "$work/desktop" && say "desktop-file-validate: $(cat "$work/desktop")"
appstreamcli validate --no-net --pedantic "$stage/usr/share/metainfo/org.example.smokedrift.metainfo.xml" \
  >"$work/appstream" 2>&1 || say "appstreamcli: $(cat "$work/appstream")"
grep -q '^[EWI]:' "$work/appstream" && say "appstreamcli: $(cat "$work/appstream")"

packed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
[ "$packed" = "$expected" ] || say "the package's files differ:"$'\n'"$packed"
[ "$(dpkg-deb -f "$deb" Section)" = x11 ] || say "section $(dpkg-deb -f "$deb" Section)"
[ "$(dpkg-deb -f "$deb" Suggests)" = "xscreensaver | mate-screensaver" ] || say "suggests $(dpkg-deb -f "$deb" Suggests)"
dpkg-deb -f "$deb" Depends | grep -q libpng16 || say "no library dependencies: $(dpkg-deb -f "$deb" Depends)"
# Installed-Size is dpkg-gencontrol's count of the package's tree (DEBIAN before its files come).
dpkg-deb -R "$deb" "$work/unpacked" && rm "$work/unpacked"/DEBIAN/*
counted=$(dpkg-gencontrol -c"$source_dir/packaging/debian/control" -l"$source_dir/packaging/debian/changelog" \
  -P"$work/unpacked" -O -f"$work/files" -T"$work/substvars" 2>/dev/null | sed -n 's/^Installed-Size: //p')
[ "$(dpkg-deb -f "$deb" Installed-Size)" = "$counted" ] ||
  say "Installed-Size is $(dpkg-deb -f "$deb" Installed-Size) KiB, dpkg counts $counted"
lintian -I -E --pedantic "$deb" >"$work/lintian" 2>&1 || say "lintian failed: $(cat "$work/lintian")"
grep -E '^[EWIPX]:' "$work/lintian" && say "lintian has tags"
[ "$fail" = 0 ] && echo "linux install layout and package: ok"
exit $fail
