#!/usr/bin/env bash
# Times the whole batch comparison of six data files (process start to exit) with
# hyperfine: DEMO.CLD under six year ends (2021 to 2026, twelve months, both methods), each
# loaded and calculated in an engine object of its own, the comparison appended to the
# output file (removed before each run).
#   bash bench/compare/compare_bench.sh [build dir]      (default: build)
# BENCH_DIR picks the file system the files live on (default: the temporary folder).
# Prints a Markdown table row for bench/RESULTS.md.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
cmake --build "$build" -j2 --target CaldrenCalc >/dev/null
bin="$(cd "$build/bin" && pwd)"
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/caldren-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME"

files=()
for y in 2021 2022 2023 2024 2025 2026; do
  sed "s#^Current end-of-year=.*#Current end-of-year=06/30/$y#" "$bin/DEMO.CLD" > "$work/fy$y.cld"
  files+=("$work/fy$y.cld")
done
"$bin/CaldrenCalc" /compare "${files[@]}" /output "$work/check.txt" /silent
bytes=$(stat -c %s "$work/check.txt")

runs=${RUNS:-200}
hyperfine -N --warmup 20 --runs "$runs" --export-json "$work/times.json" \
  --prepare "rm -f $work/out.txt" \
  -n compare "$bin/CaldrenCalc /compare ${files[*]} /output $work/out.txt /silent" >&2

python3 - "$work/times.json" "$bytes" "${BENCH_DIR:-/tmp}" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
ms = lambda s: s * 1000
print(f"| {sys.argv[3]} | six files, {sys.argv[2]} bytes of report | {ms(r['median']):.2f} ms | "
      f"mean {ms(r['mean']):.2f} ± {ms(r['stddev']):.2f} ms, min {ms(r['min']):.2f} ms, "
      f"{len(r['times'])} runs |")
PY
