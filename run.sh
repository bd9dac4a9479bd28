#!/usr/bin/env bash
# Installs what is missing, builds the program alone and starts it. The tests and
# benchmarks build in ./test.sh, so a first run waits only for Voltra itself.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target voltra
exec build/app/voltra "$@"
