#!/usr/bin/env bash
# One clang tree with the fuzzer's coverage and ASan/UBSan on every library:
# the whole test suite under the sanitizers (leak checks on), then a short
# run of every fuzz target, one per core. A crash or a broken check fails
# the step; the reproducer is left in build-fuzz/fuzz-out/<target>/.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
# -O1 with line tables only: what the sanitizers' reports need, at well
# under the compile time of an optimised build with full debug information.
# Each fuzz target gets 10 s: a smoke run of every reader on every change
# (the coverage each reached is printed below); longer runs are local.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=None \
  "-DCMAKE_C_FLAGS=-O1 -gline-tables-only" "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" -DFAX_FUZZ_SECONDS=10 \
  -DFAX_FUZZ=ON -DFAX_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-fuzz
built=$(date +%s)
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-fuzz -LE fuzz -j2 --output-on-failure
tested=$(date +%s)
ctest --test-dir build-fuzz -L fuzz -j2 --output-on-failure
# libFuzzer's closing line of each run: how far its coverage got.
awk '/^[0-9]+\/[0-9]+ Test: fuzz\./ { name = $3 } /#[0-9]+[ \t]+DONE/ { print name ": " $0 }' \
  build-fuzz/Testing/Temporary/LastTest.log
echo "sanitizers and fuzzing: $(( built - start )) s to build, $(( tested - built )) s for the suite," \
  "$(( $(date +%s) - tested )) s of fuzzing"
