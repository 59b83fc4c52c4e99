#!/usr/bin/env bash
# Builds the fuzz programs of fuzz/ with clang (libFuzzer, AddressSanitizer, UBSan) in
# build-fuzz and runs each for a bounded time, starting from seeds out of the generated data
# set. Any crash, leak or broken property fails the run; the input is left in build-fuzz/crashes.
# Usage: scripts/fuzz.sh [SECONDS_EACH]   (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# The seeds come from the data set of the regular build.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
fi
cmake --build build --target dataset -j"$(nproc)"

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTAMSEL_FUZZ=ON -DTAMSEL_FUZZ_DATA="$PWD/build/data" "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target fuzzers -j"$(nproc)"

mkdir -p build-fuzz/crashes
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# One fuzz program per core at a time; each keeps its own log.
fuzz_one() {
  local name=$1 corpus=build-fuzz/corpus/$1
  mkdir -p "$corpus"
  build-fuzz/fuzz/fuzz_"$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/crashes/"$name"- "$corpus" build-fuzz/fuzz/seeds/"$name" \
    >build-fuzz/"$name".log 2>&1
}
names=()
for program in build-fuzz/fuzz/fuzz_*; do
  [ -f "$program" ] && [ -x "$program" ] && names+=("${program##*/fuzz_}")
done
failed=()
for ((first = 0; first < ${#names[@]}; first += jobs)); do
  batch=("${names[@]:first:jobs}")
  pids=()
  for name in "${batch[@]}"; do
    echo "== fuzz_$name for ${seconds}s"
    fuzz_one "$name" &
    pids+=($!)
  done
  for k in "${!batch[@]}"; do
    name=${batch[k]}
    if ! wait "${pids[k]}"; then
      tail -n 40 build-fuzz/"$name".log
      failed+=("$name")
    fi
    echo "fuzz_$name: $(grep -E '^#[0-9]+[[:space:]]+DONE' build-fuzz/"$name".log || echo 'no summary')"
  done
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in build-fuzz/crashes)" >&2
  exit 1
fi
