#!/usr/bin/env bash
# Inside the Debian 13 root: the tree with the project's default preset (warnings are errors there)
# and Debian 13's GCC and CMake, into /build; says which compiler and CMake built it.
set -euo pipefail
cd /src/smokedrift
cmake --version | head -n1
gcc --version | head -n1
cmake --preset default -B /build >/build/configure.log 2>&1 || { cat /build/configure.log; exit 1; }
grep -q '^SMOKEDRIFT_WERROR:BOOL=ON$' /build/CMakeCache.txt || { echo "FAIL: -Werror is off"; exit 1; }
cmake --build /build -j "$(nproc)" -- -k 0
