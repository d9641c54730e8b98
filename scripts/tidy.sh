#!/usr/bin/env bash
# The static checks of .clang-tidy over every translation unit of our own code, read from a
# configured build's compile_commands.json (the build folder of scripts/test.sh by default).
# A finding is an error: the script exits non-zero and names it.
#   bash scripts/tidy.sh [FILE-REGEX]    e.g. bash scripts/tidy.sh 'engine/'
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/compile_commands.json" ] || {
    echo "tidy.sh: $build/compile_commands.json is missing: run scripts/test.sh first" >&2
    exit 2
}
command -v run-clang-tidy >/dev/null || {
    echo "tidy.sh: run-clang-tidy is missing: apt-get install clang-tidy" >&2
    exit 2
}
# Our sources only: not the generated moc files, not the tests' or the fuzz targets' code.
filter=${1:-"$PWD/(app|components|engine|reports)/.*\\.cpp\$"}
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "$filter" 2>&1 \
    | sed 's/\x1b\[[0-9;]*m//g' >"$build/tidy.log" || true
if grep -E '^/.*: (warning|error): ' "$build/tidy.log" | sort -u >"$build/tidy.findings" && [ -s "$build/tidy.findings" ]; then
    cat "$build/tidy.findings"
    echo "tidy.sh: $(wc -l <"$build/tidy.findings") findings (details: $build/tidy.log)" >&2
    exit 1
fi
echo "tidy.sh: no findings"
