#!/usr/bin/env bash
# Runs the non-GUI test suite under AddressSanitizer and UndefinedBehaviorSanitizer in a
# build folder of its own (default build-sanitize). Any sanitizer report fails the test
# that triggers it (errors are not recoverable in this build), so ctest fails.
#
#   bash scripts/sanitize.sh
#   BUILD_DIR=/tmp/san bash scripts/sanitize.sh -R ProfileStore   # extra args go to ctest
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-sanitize}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCALDREN_SANITIZE=address,undefined -DCALDREN_BUILD_GUI=OFF -DCALDREN_BUILD_BENCH=OFF
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The window tests (label "gui") are not built in this configuration.
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -LE gui "$@"
