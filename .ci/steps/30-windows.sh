#!/usr/bin/env bash
# Both Windows builds: the x86-64 tree, whose tests run under 64-bit wine
# (cmake/wine-run.sh: the toolchain's emulator, a prefix in each tree) while
# the i686 tree compiles (two cores), and the i686 tree, whose modules are
# the ones users install; its tests run in step 40.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
# The x86-64 tree is for running the tests only: no optimisation, no
# debug information, both of which only cost compile time here.
cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=None -DFAX_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-win64
built64=$(date +%s)
ctest --test-dir build-win64 --output-on-failure >build-win64/ctest.log 2>&1 &
tests64=$!

# The shipped modules as the release build makes them.
cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DFAX_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-win32
built32=$(date +%s)
status=0
wait "$tests64" || status=$?
cat build-win64/ctest.log
[ "$status" = 0 ] || { echo "the x86-64 tests failed under wine" >&2; exit 1; }
echo "windows: x86-64 $(( built64 - start )) s to build; i686 $(( built32 - built64 )) s to build" \
  "while the x86-64 tests ran (they ended $(( $(date +%s) - built64 )) s after their start)"
