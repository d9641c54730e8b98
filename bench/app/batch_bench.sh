#!/usr/bin/env bash
# Times the whole batch run of DEMO.CLD (process start to exit) against batch_baseline, a
# plain C program that does the least a batch run must do with its files (reads the data
# file, saves it back through a flushed temporary file and a rename, appends a report of the
# same size and flushes it), with hyperfine; and batch_baseline_cxx, the same C program with
# the shared C++ runtime loaded, which is the floor of any C++ program doing that work.
#   bash bench/app/batch_bench.sh [build dir]      (default: build)
# Prints the medians and the ratios to the C baseline as Markdown table rows for
# bench/RESULTS.md.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
cmake --build "$build" -j2 --target CaldrenCalc batch_baseline batch_baseline_cxx >/dev/null
bin="$(cd "$build/bin" && pwd)"
# BENCH_DIR picks the file system the files live on (default: the temporary folder).
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/caldren-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME"

cp "$bin/DEMO.CLD" "$work/DEMO.CLD"
cp "$bin/DEMO.CLD" "$work/base.cld"
cp "$bin/DEMO.CLD" "$work/floor.cld"
"$bin/CaldrenCalc" /input "$work/DEMO.CLD" /output "$work/size.txt" /silent
bytes=$(stat -c %s "$work/size.txt")

runs=${RUNS:-300}
hyperfine -N --warmup 30 --runs "$runs" --export-json "$work/times.json" \
  --prepare "rm -f $work/out.txt $work/base.txt $work/floor.txt" \
  -n batch "$bin/CaldrenCalc /input $work/DEMO.CLD /output $work/out.txt /silent" \
  -n baseline "$bin/batch_baseline $work/base.cld $work/base.txt $bytes" \
  -n floor "$bin/batch_baseline_cxx $work/floor.cld $work/floor.txt $bytes" >&2

python3 - "$work/times.json" "$bytes" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
b, p, f = r["batch"], r["baseline"], r["floor"]
ms = lambda s: s * 1000
print(f"| batch run of DEMO.CLD ({sys.argv[2]} bytes of reports) | {ms(b['median']):.2f} ms | "
      f"{ms(p['median']):.2f} ms | {b['median'] / p['median']:.2f} | "
      f"mean {ms(b['mean']):.2f} ± {ms(b['stddev']):.2f} ms, baseline mean {ms(p['mean']):.2f} ms, "
      f"{len(b['times'])} runs each |")
print(f"| the baseline with the C++ runtime loaded | {ms(f['median']):.2f} ms | "
      f"{ms(p['median']):.2f} ms | {f['median'] / p['median']:.2f} | "
      f"mean {ms(f['mean']):.2f} ± {ms(f['stddev']):.2f} ms |")
PY
