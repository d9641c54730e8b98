#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + AddressSanitizer + UndefinedBehaviorSanitizer)
# in their own build folder, replays the kept regression inputs, then fuzzes each target
# for a bounded time. Fails on any finding (crash, sanitizer report, broken invariant,
# timeout, memory blow-up); the reproducer lands in <build>/artifacts/<target>/.
#
#   bash fuzz/run.sh                 # 12 s per target, about a minute in all
#   FUZZ_SECONDS=600 bash fuzz/run.sh  # longer, per target
#   BUILD_DIR=/tmp/fz bash fuzz/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-12}
targets=(fuzz_profilestore fuzz_fetch fuzz_conversions fuzz_cmdline fuzz_batch)

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DCALDREN_SANITIZE=address,undefined \
  -DCALDREN_BUILD_FUZZ=ON -DCALDREN_BUILD_GUI=OFF -DCALDREN_BUILD_BENCH=OFF -DBUILD_TESTING=OFF \
  -DCALDREN_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
summary=()
for t in "${targets[@]}"; do
  bin="$build/bin/$t"
  [ -x "$bin" ] || bin="$build/fuzz/$t"
  artifacts="$build/artifacts/$t/"
  work="$build/corpus/$t"
  rm -rf "$artifacts"
  mkdir -p "$artifacts" "$work"
  case $t in
    fuzz_conversions) maxlen=256 ;;
    fuzz_cmdline) maxlen=512 ;;
    *) maxlen=16384 ;;
  esac

  # The regression inputs kept from earlier findings must all pass.
  if compgen -G "fuzz/regressions/$t/*" >/dev/null; then
    if ! "$bin" -runs=0 -rss_limit_mb=2048 -timeout=10 fuzz/regressions/$t/* >"$build/$t.regressions.log" 2>&1; then
      echo "FAIL $t: a kept regression input fails again (see $build/$t.regressions.log)"
      status=1
    fi
  fi

  # Fork mode goes on past a finding, so that one known fault does not stop the search
  # for others; every finding leaves its input in the artifacts folder.
  log="$build/$t.log"
  "$bin" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -max_len=$maxlen -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts" "$work" "fuzz/corpus/$t" >"$log" 2>&1 || true
  runs=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
  findings=$(find "$artifacts" -type f | wc -l)
  if [ "$findings" -eq 0 ] && grep -q 'INFO: exiting: 0' "$log"; then
    summary+=("$t: ${runs:-?} executions in ${seconds}s, no finding")
  else
    status=1
    summary+=("$t: ${runs:-?} executions in ${seconds}s, $findings FINDING(S) (log $log, inputs in $artifacts)")
    grep -E 'FINDING|ERROR: |runtime error' "$log" | sort | uniq -c | sort -rn | head -5 || true
  fi
done
printf '%s\n' "${summary[@]}"
# Scratch folders of the targets (the files they write on every input).
rm -rf /dev/shm/caldren-fuzz.* /tmp/caldren-fuzz.* 2>/dev/null || true
exit $status
