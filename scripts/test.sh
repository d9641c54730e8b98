#!/usr/bin/env bash
# The README's test command: set-up, configure, build, run every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
build=${BUILD_DIR:-build}
# Warnings are errors here (and so in CI); a plain build only shows them.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCALDREN_WERROR=ON "$@"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
