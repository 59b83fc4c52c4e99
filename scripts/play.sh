#!/usr/bin/env bash
# Installs what is missing, builds Tamsel with its data set and starts the game.
# Any arguments are passed on to the game (for example --windowed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSEL_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tamsel dataset
exec build/tamsel --data build/data "$@"
