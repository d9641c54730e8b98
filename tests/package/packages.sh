#!/usr/bin/env bash
# The Debian packages of this build: builds them with CPack into <work>, extracts each with
# dpkg-deb -x and checks
#  - what each holds, and that the batch package's files need no Qt library (ldd, which
#    follows every library down) while the Depends computed for it name none;
#  - the extracted command does a batch run of the extracted DEMO.CLD (on a copy, private
#    HOME, no display): exit 0, the report file as <expected>;
#  - lintian finds no error in either package (its warnings are printed);
#  - appstreamcli validate passes the software-centre entry, whose pictures lie in
#    docs/screenshots;
#  - the manual page renders without a warning and names under OPTIONS exactly the switches
#    that `CaldrenCalc --help` names.
#   packages.sh <build folder> <work folder> <source folder> <expected report>
set -uo pipefail
build=$1 work=$2 source=$3 expected=$4
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work"
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/debs" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAILED: cpack"
  exit 1
fi
batch=$(ls "$work"/debs/caldrencalc-batch_*.deb)
windows=$(ls "$work"/debs/caldrencalc_*.deb)
for deb in "$batch" "$windows"; do
  echo "== $(basename "$deb"): $(stat -c %s "$deb") bytes"
  dpkg-deb -f "$deb" Version Installed-Size Depends Recommends
done

# ---- what each package holds ----------------------------------------------------------
dpkg-deb -x "$batch" "$work/batch"
dpkg-deb -x "$windows" "$work/windows"
folder=usr/lib/caldrencalc
for f in $folder/CaldrenCalc $folder/libvesmora.so $folder/libcaldrencore.so \
  $folder/libcaldrencomponents.so $folder/libcaldrencommon.so $folder/libcaldrenworkpaper.so \
  $folder/libcaldrensummarybook.so $folder/DEMO.CLD \
  usr/bin/CaldrenCalc usr/share/man/man1/CaldrenCalc.1.gz \
  usr/share/doc/caldrencalc-batch/copyright usr/share/doc/caldrencalc-batch/changelog.gz; do
  [ -e "$work/batch/$f" ] || fail "caldrencalc-batch lacks /$f"
done
for f in $folder/libcaldrengui.so $folder/help/manual/cldguide.md \
  $folder/help/screenshots/main-window.png usr/share/applications/caldrencalc.desktop \
  usr/share/mime/packages/caldrencalc.xml usr/share/icons/hicolor/scalable/apps/caldrencalc.svg \
  usr/share/metainfo/com.orlenwick.caldrencalc.metainfo.xml \
  usr/share/doc/caldrencalc/copyright usr/share/doc/caldrencalc/changelog.gz; do
  [ -e "$work/windows/$f" ] || fail "caldrencalc lacks /$f"
done
[ -e "$work/batch/$folder/libcaldrengui.so" ] && fail "caldrencalc-batch holds the window library"
grep -q '^Exec=/usr/bin/CaldrenCalc %f$' "$work/windows/usr/share/applications/caldrencalc.desktop" ||
  fail "the menu entry does not start /usr/bin/CaldrenCalc"

# ---- no Qt in the batch package ----------------------------------------------------------
dpkg-deb -f "$batch" Depends | grep -qi qt && fail "caldrencalc-batch depends on Qt"
dpkg-deb -f "$windows" Depends | grep -q 'caldrencalc-batch (= ' || fail "caldrencalc does not depend on caldrencalc-batch"
dpkg-deb -f "$windows" Depends | grep -q 'libqt6widgets6' || fail "caldrencalc does not depend on Qt"
while IFS= read -r file; do
  file -b "$file" | grep -q '^ELF' || continue
  deps=$(env -u LD_LIBRARY_PATH ldd "$file")
  grep -q 'not found' <<<"$deps" && fail "${file#"$work"/} misses a library: $deps"
  grep -qi 'libQt' <<<"$deps" && fail "${file#"$work"/} needs Qt: $(grep -i libQt <<<"$deps")"
done < <(find "$work/batch" -type f)

# ---- a batch run of the extracted program -------------------------------------------
mkdir -p "$work/home" "$work/client"
cp "$work/batch/$folder/DEMO.CLD" "$work/client/DEMO.CLD"
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LD_LIBRARY_PATH HOME="$work/home" \
    XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
    "$work/batch/usr/bin/CaldrenCalc" "$@"
}
run /input "$work/client/DEMO.CLD" /output "$work/client/DEMO.txt" /silent ||
  fail "the extracted program's batch run exited with $?"
cmp -s "$work/client/DEMO.txt" "$expected" || fail "the batch run's report differs from $expected"

# ---- lintian -------------------------------------------------------------------------
lintian --fail-on error --tag-display-limit 0 "$batch" "$windows" >"$work/lintian.log" 2>&1 ||
  fail "lintian found errors"
grep -v '^N:' "$work/lintian.log"

# ---- the software-centre entry -----------------------------------------------------------
metainfo="$work/windows/usr/share/metainfo/com.orlenwick.caldrencalc.metainfo.xml"
appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate"
for picture in $(grep -o '/screenshots/[^<]*' "$metainfo"); do
  [ -f "$source/docs$picture" ] || fail "the software-centre picture docs$picture does not exist"
done

# ---- the manual page against --help ----------------------------------------------------
page="$work/batch/usr/share/man/man1/CaldrenCalc.1.gz"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page renders with warnings: $warnings"
# A switch: "/" or "--" and letters where a word begins.
help_switches=$(run --help | grep -oE '(^|[ [])(/|--)[a-z]+' | tr -d ' [' | sort -u)
# The manual page's switches: the lines after ".TP" in OPTIONS.
man_switches=$(zcat "$page" | sed -n '/^\.SH OPTIONS/,/^\.SH /p' | grep -A1 '^\.TP' |
  grep -v '^\.TP' | sed 's/\\f[BIRP]//g; s/\\-/-/g' | grep -oE '(^|[ ,"])(/|--)[a-z]+' | tr -d ' ,"' | sort -u)
for s in $(comm -23 <(echo "$help_switches") <(echo "$man_switches")); do
  fail "the manual page lacks $s, which --help names: add it under OPTIONS in dist/CaldrenCalc.1"
done
for s in $(comm -13 <(echo "$help_switches") <(echo "$man_switches")); do
  fail "the manual page names $s under OPTIONS, which --help does not"
done
[ -n "$help_switches" ] || fail "no switch found in --help"

if ((failures)); then
  echo "$failures failed"
  exit 1
fi
echo "the packages pass"
