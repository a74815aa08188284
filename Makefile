# Thin wrappers over CMake presets; README.md explains each command.
.PHONY: all setup setup-product setup-style setup-dist build run test bench asan clean fuzz-build fuzz-long asan-build windows-build package dist dist-check \
	format format-check lint

JOBS ?= $(shell nproc)

all: build

# scripts/setup in parts: what building the product needs, what the Windows downloads add, what
# the tests and benchmarks add (`make setup` installs all three).
setup:
	@bash scripts/setup

setup-product:
	@bash scripts/setup product

# The style tools alone: formatting and lint need no test packages.
setup-style:
	@bash scripts/setup style

setup-dist:
	@bash scripts/setup product windows

build: setup-product
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

# With a display: the full-screen saver. Without one: a headless render of the shipped scene.
run: build
	@bash scripts/run

# The Debian package of the Linux build (build/smokedrift_VERSION_ARCH.deb).
package: build
	@umask 022 && cmake --build --preset default --target package >/dev/null

test: setup build package windows-build fuzz-build asan-build
	@ctest --preset default -j $(JOBS)
	@ctest --preset asan -j $(JOBS) -L 'unit|render|soak'
	@ctest --preset fuzz -j $(JOBS)

# The downloads of a release in dist/ with SHA256SUMS (.deb, Windows installer and zip, source
# tarball); the same commit gives the same bytes in any folder and from the tarball, which
# `make dist-check` shows.
dist: setup-dist
	@JOBS=$(JOBS) bash scripts/dist

dist-check: setup-dist
	@JOBS=$(JOBS) bash scripts/dist-check

# smokedrift.scr and the helpers of its Wine tests, cross-built with MinGW-w64.
windows-build: setup-dist
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)

# libFuzzer needs clang: the fuzz targets have a build of their own.
fuzz-build: setup
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS each (default 600), one after another at the lowest
# priority; not part of `make test`. tests/fuzz/README.md has the figures of the last long run.
FUZZ_SECONDS ?= 600
fuzz-long: fuzz-build
	@bash tests/fuzz/run_long.sh build-fuzz/tests/fuzz $(FUZZ_SECONDS)

bench: setup build
	@bash scripts/bench

asan-build: setup
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)

asan: asan-build
	@ctest --preset asan -j $(JOBS) -L 'unit|render|soak'

# clang-format over our own C/C++ sources: rewrite them, or only list those that differ (exit 1).
format: setup-style
	@bash scripts/format

format-check: setup-style
	@bash scripts/format --check

# clang-tidy (.clang-tidy) over our own sources with the default build's compile database; the
# build comes first for the headers it generates.
lint: setup-style build
	@JOBS=$(JOBS) bash scripts/lint

clean:
	@rm -rf build build-asan build-fuzz build-windows build-dist build-dist-windows build-local build-field dist
