#!/usr/bin/env bash
# One clang tree with the fuzzer's coverage and ASan/UBSan on every library:
# the whole test suite under the sanitizers (leak checks on), then a short
# run of every fuzz target, one per core. A crash or a broken check fails
# the step; the reproducer is left in build-fuzz/fuzz-out/<target>/.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFAX_FUZZ=ON -DFAX_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-fuzz
built=$(date +%s)
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-fuzz -LE fuzz -j2 --output-on-failure
tested=$(date +%s)
ctest --test-dir build-fuzz -L fuzz -j2 --output-on-failure
echo "sanitizers and fuzzing: $(( built - start )) s to build, $(( tested - built )) s for the suite," \
  "$(( $(date +%s) - tested )) s of fuzzing"
