#!/usr/bin/env bash
# Process start to the start-up chooser shown, under Xvfb (the xcb platform), timed by
# hyperfine as a whole process. Usage: bash bench/gui/start_bench.sh <build dir>
set -euo pipefail
build=${1:?usage: start_bench.sh <build dir>}
probe="$build/bin/gui_start_probe"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
       XDG_RUNTIME_DIR="$home" LC_ALL=C
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  \"$probe\" && \"$probe\" &&
  hyperfine -N --warmup 5 --runs 40 \"$probe\"
"
