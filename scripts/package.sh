#!/usr/bin/env bash
# Installs what is missing, builds Tamsel and writes its Debian package into build/:
#   scripts/package.sh && sudo apt install ./build/tamsel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSEL_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
rm -f build/tamsel_*.deb
(cd build && cpack -G DEB)
