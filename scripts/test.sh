#!/usr/bin/env bash
# Builds everything and runs all tests with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# FAX_WARNINGS_AS_ERRORS=ON (as CI sets it) makes every warning an error.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_COMPILE_WARNING_AS_ERROR="${FAX_WARNINGS_AS_ERRORS:-OFF}"
cmake --build build
ctest --test-dir build --output-on-failure -j2
