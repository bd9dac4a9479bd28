#!/usr/bin/env bash
# Installs what is missing, builds Voltra and starts it.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
exec build/app/voltra "$@"
