#!/usr/bin/env bash
# Times the whole batch run of DEMO.CLD (process start to exit) against batch_baseline, a
# plain C program that does the least a batch run must do with its files (reads the data
# file, saves it back through a flushed temporary file and a rename, appends a report of the
# same size and flushes it), with hyperfine; and batch_baseline_cxx, the same C program with
# the shared C++ runtime loaded, which is the floor of any C++ program doing that work.
#   bash bench/app/batch_bench.sh [build dir] [second build dir]     (default: build)
# A second build (another way of linking, say) is timed beside the first. The commands run
# in ROUNDS rounds (default 6) of RUNS runs each (default 40), all commands in every round,
# so that a machine whose speed drifts moves every command alike; the ratio is each round's
# median against the baseline's in the same round, and the median of the rounds'.
# Prints Markdown table rows for bench/RESULTS.md. BENCH_DIR picks the file system the files
# live on (default: the temporary folder).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
second=${2:-}
cmake --build "$build" -j2 --target CaldrenCalc batch_baseline batch_baseline_cxx >/dev/null
bin="$(cd "$build/bin" && pwd)"
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/caldren-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME"

for name in batch second base floor; do cp "$bin/DEMO.CLD" "$work/$name.cld"; done
"$bin/CaldrenCalc" /input "$work/batch.cld" /output "$work/size.txt" /silent
bytes=$(stat -c %s "$work/size.txt")

commands=(-n batch "$bin/CaldrenCalc /input $work/batch.cld /output $work/batch.txt /silent")
if [[ -n "$second" ]]; then
  cmake --build "$second" -j2 --target CaldrenCalc vesmora >/dev/null
  commands+=(-n second "$(cd "$second/bin" && pwd)/CaldrenCalc /input $work/second.cld \
/output $work/second.txt /silent")
fi
commands+=(-n baseline "$bin/batch_baseline $work/base.cld $work/base.txt $bytes"
  -n floor "$bin/batch_baseline_cxx $work/floor.cld $work/floor.txt $bytes")

rounds=${ROUNDS:-6}
for ((r = 1; r <= rounds; r++)); do
  hyperfine -N --warmup 10 --runs "${RUNS:-40}" --export-json "$work/round$r.json" \
    --prepare "rm -f $work/batch.txt $work/second.txt $work/base.txt $work/floor.txt" \
    "${commands[@]}" >/dev/null 2>&1
done

python3 - "$work" "$rounds" "$bytes" "$second" <<'PY'
import json, statistics, sys
work, rounds, size, second = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
data = [{x["command"]: x["median"] * 1000 for x in json.load(open(f"{work}/round{r}.json"))["results"]}
        for r in range(1, rounds + 1)]
labels = {"batch": f"batch run of DEMO.CLD ({size} bytes of reports)",
          "second": f"the same, built in {second}",
          "floor": "the C baseline with the C++ runtime loaded"}
base = statistics.median(d["baseline"] for d in data)
for key in ("batch", "second", "floor"):
    if key not in data[0]:
        continue
    ratios = [d[key] / d["baseline"] for d in data]
    print(f"| {labels[key]} | {statistics.median(d[key] for d in data):.2f} ms | {base:.2f} ms | "
          f"{statistics.median(ratios):.2f} | rounds {min(ratios):.2f} to {max(ratios):.2f} |")
PY
