#!/usr/bin/env bash
# The README's test command: set-up, configure, build, run every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
