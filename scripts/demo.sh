#!/usr/bin/env bash
# The README's main-job command: set-up, configure, build, then a batch run of the sample
# analysis DEMO.CLD (on a copy: the batch run saves its input back) and the report file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j"$(nproc)" --target CaldrenCalc
program="$build/bin/CaldrenCalc"

work=$(mktemp -d "${TMPDIR:-/tmp}/caldren-demo.XXXXXX")
cp "$build/bin/DEMO.CLD" "$work/DEMO.CLD"
echo "Batch run: $program /input $work/DEMO.CLD /output $work/DEMO.txt /silent"
"$program" /input "$work/DEMO.CLD" /output "$work/DEMO.txt" /silent
echo "Report file $work/DEMO.txt:"
echo
cat "$work/DEMO.txt"
