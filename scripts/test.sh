#!/usr/bin/env bash
# Sets up everything, builds Corvane with warnings as errors and runs every
# test. With --sanitize the same suite runs under AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

folder=build-test
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_WERROR=ON -DCORVANE_BUILD_BENCHMARKS=ON)
if [[ "${1:-}" == "--sanitize" ]]; then
  folder=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DCORVANE_WERROR=ON -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_BENCHMARKS=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # The sanitized build runs the kill trials for their checks, not their count.
  export CORVANE_KILL_TRIALS=${CORVANE_KILL_TRIALS:-20}
fi

scripts/install-deps.sh
cmake -S . -B "$folder" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$folder"
# No display and no sound card are needed: screens draw offscreen.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$folder" --output-on-failure -j "$(nproc)"
