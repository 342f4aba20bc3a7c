#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs one for a while:
#   scripts/fuzz.sh TARGET [SECONDS]      e.g. scripts/fuzz.sh ConfigRecordFuzz 600
# Findings land in build-fuzz/findings/TARGET; the corpus in build-fuzz/corpus/TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_BUILD_FUZZERS=ON -DCORVANE_WERROR=OFF -DCORVANE_BUILD_GUI=OFF \
  -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target "$target"
mkdir -p "build-fuzz/corpus/$target" "build-fuzz/findings/$target"
seeds="fuzz/seeds/$target"
[[ -d "$seeds" ]] || seeds=""
exec "build-fuzz/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
  -artifact_prefix="build-fuzz/findings/$target/" "build-fuzz/corpus/$target" $seeds
