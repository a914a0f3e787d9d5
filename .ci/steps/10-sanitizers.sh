#!/usr/bin/env bash
# One clang tree with the fuzzer's coverage and ASan/UBSan on every library:
# the whole test suite under the sanitizers (leak checks on). The fuzz
# targets of the same tree run in step 40.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
# -O1 with line tables only: what the sanitizers' reports need, at well
# under the compile time of an optimised build with full debug information.
# Each fuzz target gets 10 s: a smoke run of every reader on every change
# (the coverage each reached is printed); longer runs are local.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=None \
  "-DCMAKE_C_FLAGS=-O1 -gline-tables-only" "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" -DFAX_FUZZ_SECONDS=10 \
  -DFAX_FUZZ=ON -DFAX_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-fuzz
built=$(date +%s)
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-fuzz -LE fuzz -j2 --output-on-failure
echo "sanitizers: $(( built - start )) s to build, $(( $(date +%s) - built )) s for the suite"
