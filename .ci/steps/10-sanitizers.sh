#!/usr/bin/env bash
# The whole test suite again under AddressSanitizer and UBSan.
set -euo pipefail
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFAX_SANITIZE=ON -DFAX_BENCH=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j2
