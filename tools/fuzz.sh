#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour
# sanitizers on) and runs each one for the given number of seconds, starting from
# its seed corpus under tests/fuzz/corpus/. Usage: tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"

tools/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVOLTRA_FUZZ=ON -DVOLTRA_GUI=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2 --target fuzz_targets

for corpus in tests/fuzz/corpus/*/; do
  target=$(basename "$corpus")
  work="build-fuzz/corpus/$target"
  mkdir -p "$work"
  echo "Fuzzing $target for ${seconds}s"
  "build-fuzz/tests/fuzz/${target}_fuzz" "$work" "$corpus" -max_total_time="$seconds" \
    -artifact_prefix="build-fuzz/${target}-" -print_final_stats=1 2>&1 | grep -E "stat::number_of_executed_units|cov:.*DONE|Done|ERROR|SUMMARY" || true
  if ls "build-fuzz/${target}-"* >/dev/null 2>&1; then
    echo "Fuzzing $target found a failing input: $(ls "build-fuzz/${target}-"*)"
    exit 1
  fi
done
echo "Fuzzing: all targets clean"
