#!/usr/bin/env bash
# Runs the test suite under the sanitizers, each configuration in a build folder of its own.
#
# Default: the non-GUI tests under AddressSanitizer and UndefinedBehaviorSanitizer (build
# folder build-sanitize, the windows not built). Any sanitizer report fails the test that
# triggers it (errors are not recoverable in this build), so ctest fails.
#
# --gui (or SANITIZE_GUI=1): the window tests (label "gui": the main window, the input form,
# the report viewers and printing, the chart, Save as PDF) under AddressSanitizer with leak
# checking, in a build with the window library (build folder build-sanitize-gui). Leaks
# inside the system's libraries (fontconfig, Qt's own caches) are suppressed by
# scripts/lsan-gui.supp; a leak through the program's own code still fails.
#
#   bash scripts/sanitize.sh
#   bash scripts/sanitize.sh --gui
#   BUILD_DIR=/tmp/san bash scripts/sanitize.sh -R ProfileStore   # extra args go to ctest
set -euo pipefail
cd "$(dirname "$0")/.."
gui=${SANITIZE_GUI:-0}
if [ "${1:-}" = "--gui" ]; then
  gui=1
  shift
fi

if [ "$gui" = 1 ]; then
  build=${BUILD_DIR:-build-sanitize-gui}
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCALDREN_SANITIZE=address -DCALDREN_BUILD_GUI=ON -DCALDREN_BUILD_BENCH=OFF -DCALDREN_WERROR=ON
  cmake --build "$build" -j"$(nproc)"
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan-gui.supp:print_suppressions=0}
  ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -L gui "$@"
  exit
fi

build=${BUILD_DIR:-build-sanitize}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCALDREN_SANITIZE=address,undefined -DCALDREN_BUILD_GUI=OFF -DCALDREN_BUILD_BENCH=OFF -DCALDREN_WERROR=ON
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The window tests (label "gui") are not built in this configuration.
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -LE gui "$@"
