#!/usr/bin/env bash
# Lays out the C++ sources with the house .clang-format. With --check it changes nothing and
# fails when a file is not laid out (CI runs it that way).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  clang-format --dry-run --Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
