#!/usr/bin/env bash
# Three runs side by side, for two of them mostly wait on wine and X: the
# i686 tests under 32-bit wine (with the checks of the shipped images'
# exports), pictures of every dialog under 64-bit wine from the x86-64 tree
# (build-win64/pictures/*.png, for a person to look at the layouts without
# Windows), and a 10 s run of every fuzz target, two at a time. A crash or
# a broken check fails the step; a fuzz reproducer is left in
# build-fuzz/fuzz-out/<target>/.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
ctest --test-dir build-win32 --output-on-failure >build-win32/ctest.log 2>&1 &
wine32=$!
scripts/dialog-pictures.sh build-win64 >build-win64/pictures.log 2>&1 &
pictures=$!
ctest --test-dir build-fuzz -L fuzz -j2 --output-on-failure >build-fuzz/fuzz.log 2>&1 &
fuzz=$!

failed=()
wait "$wine32" || failed+=("the i686 tests under wine")
wine32_done=$(date +%s)
wait "$pictures" || failed+=("the dialog pictures")
pictures_done=$(date +%s)
wait "$fuzz" || failed+=("the fuzz runs")
cat build-win32/ctest.log build-win64/pictures.log build-fuzz/fuzz.log
# libFuzzer's closing line of each run: how far its coverage got.
awk '/^[0-9]+\/[0-9]+ Test: fuzz\./ { name = $3 } /#[0-9]+[ \t]+DONE/ { print name ": " $0 }' \
  build-fuzz/Testing/Temporary/LastTest.log
echo "side by side: i686 tests $(( wine32_done - start )) s, pictures $(( pictures_done - start )) s," \
  "fuzzing $(( $(date +%s) - start )) s"
if [ ${#failed[@]} -gt 0 ]; then
  printf '%s failed\n' "${failed[@]}" >&2
  exit 1
fi
