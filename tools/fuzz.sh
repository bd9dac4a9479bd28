#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour
# sanitizers on) and runs each one for the given number of seconds, starting from
# its seed corpus under tests/fuzz/corpus/, under a German locale that writes
# decimal commas (each target compares its results with the C locale's).
# Usage: tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"

tools/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVOLTRA_FUZZ=ON -DVOLTRA_GUI=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2 --target fuzz_targets

# The locale is made in the build tree, so none needs to be installed. It is given
# to the targets alone: this shell cannot take it, as LOCPATH is not in its own
# environment.
comma_locale=()
if command -v localedef >/dev/null; then
  mkdir -p build-fuzz/locales
  localedef -i de_DE -f UTF-8 build-fuzz/locales/de_DE.UTF-8
  comma_locale=(LOCPATH="$PWD/build-fuzz/locales" LC_ALL=de_DE.UTF-8)
else
  echo "localedef is missing: fuzzing under the environment's locale, not a comma-decimal one"
fi

for corpus in "$PWD"/tests/fuzz/corpus/*/; do
  target=$(basename "$corpus")
  work="$PWD/build-fuzz/corpus/$target"
  mkdir -p "$work"
  echo "Fuzzing $target for ${seconds}s"
  env "${comma_locale[@]}" "build-fuzz/tests/fuzz/${target}_fuzz" "$work" "$corpus" -max_total_time="$seconds" \
    -artifact_prefix="$PWD/build-fuzz/${target}-" -print_final_stats=1 2>&1 |
    grep -E "^Locale:|stat::number_of_executed_units|cov:.*DONE|Done|ERROR|SUMMARY" || true
  if ls "$PWD/build-fuzz/${target}-"* >/dev/null 2>&1; then
    echo "Fuzzing $target found a failing input: $(ls "$PWD/build-fuzz/${target}-"*)"
    exit 1
  fi
done
echo "Fuzzing: all targets clean"
