#!/usr/bin/env bash
# The one place where two threads share work: reading a contact file (the
# reading thread splits lines, a second one checks repeats and feeds the
# sink). Its tests, the reader's own and faxhost's import commands (which
# run this tree's faxhost), under ThreadSanitizer: any race fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
flags="-O1 -gline-tables-only -fsanitize=thread"
CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=None \
  "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags" -DFAX_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-tsan --target import_reader_tests faxhost_import_tests
built=$(date +%s)
export TSAN_OPTIONS="halt_on_error=1 exitcode=66"
build-tsan/tests/import/import_reader_tests --gtest_brief=1
build-tsan/tests/import/faxhost_import_tests --gtest_brief=1
echo "threads: $(( built - start )) s to build, $(( $(date +%s) - built )) s for the tests"
