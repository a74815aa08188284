#!/usr/bin/env bash
# The source tarball as Fedora's or Arch's packager builds it: a plain `cmake` (no presets, no
# ccache) with the distribution's flags (LTO, fortify 3, libstdc++ assertions, stack protector,
# CET), then `ctest`. Kept small: the unit tests are built and run, with the Wine and package tests,
# which must skip (77, with the reason) as their inputs come from builds a plain one does not make.
# Nothing else may fail or skip, and the build may not warn. A second configure with
# -DBUILD_TESTING=OFF must generate no test and no benchmark (read from its build files, nothing
# built); neither configure builds a benchmark unasked. The tarball is made from HEAD by git
# archive, so only committed changes are built.
# usage: plain_build.sh
set -uo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
[ -e "$source_dir/.git" ] || { echo "not a git clone: there is no commit to make a source tarball of"; exit 77; }
fail=0
say() { echo "FAIL: $*"; fail=1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tarball=$(bash "$source_dir/scripts/dist" --source "$work") || { echo "FAIL: no source tarball"; exit 1; }
tar -xzf "$tarball" -C "$work"
tree=$(echo "$work"/smokedrift-*/)

# Fedora 39's %optflags and %build_ldflags, less -g (debug data only slows the build here).
flags="-O2 -flto=auto -ffat-lto-objects -fexceptions -pipe -Wall -Werror=format-security
  -Wp,-U_FORTIFY_SOURCE,-D_FORTIFY_SOURCE=3 -Wp,-D_GLIBCXX_ASSERTIONS -fstack-protector-strong
  -m64 -mtune=generic -fasynchronous-unwind-tables -fstack-clash-protection -fcf-protection"
flags=$(echo $flags)
ldflags="-Wl,-z,relro -Wl,--as-needed -Wl,-z,now -flto=auto"
# plain_configure DIR ARGS...: as %cmake does it, with none of a developer's settings.
plain_configure() {
  local dir=$1
  shift
  env -u CMAKE_C_COMPILER_LAUNCHER -u CMAKE_CXX_COMPILER_LAUNCHER -u CMAKE_BUILD_TYPE -u CMAKE_GENERATOR \
    CFLAGS="$flags" CXXFLAGS="$flags" LDFLAGS="$ldflags" \
    cmake -S "$tree" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_SHARED_LIBS=ON "$@" >"$dir.configure" 2>&1 ||
    { say "cmake $* failed:"$'\n'"$(tail -n 20 "$dir.configure")"; return 1; }
}
# targets DIR: the executables its build files would make.
targets() { ninja -C "$1" -t targets all | sed -n 's/^\([^ ]*\): CX*_EXECUTABLE_LINKER.*/\1/p' | grep -v "\[" | xargs -rn1 basename | sort; }

if plain_configure "$work/off" -DBUILD_TESTING=OFF; then
  [ "$(targets "$work/off")" = "smokedrift"$'\n'"smokedrift_manpage" ] ||
    say "-DBUILD_TESTING=OFF still builds: $(targets "$work/off" | tr '\n' ' ')"
  tests=$(cd "$work/off" && ctest -N | sed -n 's/^Total Tests: //p')
  [ "$tests" = 0 ] || say "-DBUILD_TESTING=OFF registers $tests tests"
fi

build="$work/build"
plain_configure "$build" || exit 1
targets "$build" | grep '^bench_' && say "a benchmark is built unasked"
targets "$build" | grep -qx unit_tests || say "no unit tests in a plain build with the tests on"
ninja -C "$build" unit_tests idle_unit_tests >"$work/build.log" 2>&1 ||
  { say "the build failed:"$'\n'"$(tail -n 30 "$work/build.log")"; exit 1; }
grep -q 'warning:' "$work/build.log" && say "the build warns: $(grep 'warning:' "$work/build.log" | sort -u | head -5)"

# The package test that builds this very test, and Debian's, are not a packager's to run. (Listing
# tests rewrites the log of the last run: first.)
expected=$(cd "$build" && ctest -N -L 'wine' | sed -n 's/^ *Test *#[0-9]*: //p'; echo packaging.dpkg_install packaging.layout | tr ' ' '\n')
(cd "$build" && ctest -j2 -L 'unit|wine|packaging' -E '^packaging\.(plain_build|debian_build)$') >"$work/ctest" 2>&1 ||
  say "ctest failed:"$'\n'"$(grep -E 'Failed|\*\*\*' "$work/ctest" | head -20)"
skipped=$(sed -n 's/^[ \t]*[0-9]* - \([^ ]*\) (Skipped)$/\1/p' "$work/ctest" | sort)
[ "$skipped" = "$(sort <<<"$expected")" ] || say "skipped:"$'\n'"$skipped"$'\n'"expected to skip:"$'\n'"$expected"
# Each says why (root or not, dpkg_install says it is not root first where it is not).
reasons=$(grep -c 'a plain build does not make it' "$build/Testing/Temporary/LastTest.log")
[ "$reasons" -ge $(($(wc -l <<<"$expected") - 1)) ] || say "only $reasons skipped tests say why"
grep -E 'tests passed|Total Test time' "$work/ctest"
echo "skipped, as a plain build makes neither the Windows build nor the .deb:" $skipped
[ "$fail" = 0 ] && echo "a plain build with distribution flags from the source tarball, its ctest: ok"
exit $fail
