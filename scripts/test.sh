#!/usr/bin/env bash
# Builds Tamsel, runs every test, builds and checks the Debian package, then runs the same
# suite under AddressSanitizer + UBSan, then every fuzz program for 20 seconds (scripts/fuzz.sh).
# Usage: scripts/test.sh [--no-sanitize]   (skips both sanitizer passes)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
# Rebuilds of unchanged sources come from the compiler cache.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
scripts/check-package.sh build

if [ "${1:-}" != "--no-sanitize" ]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAMSEL_SANITIZE=ON -DTAMSEL_BENCH=OFF "${launcher[@]}" >/dev/null
  cmake --build build-asan -j"$jobs"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$jobs")
  scripts/fuzz.sh 20
fi
