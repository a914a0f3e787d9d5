#!/usr/bin/env bash
# Faxing through CUPS: a private cupsd on loopback ports, Ghostscript's PCL
# XL and a listener as the printer (tests/cups); the filter's readers are
# fuzzed alongside for 20 seconds. Installs what the filter and the test
# need first; with them present the test must not skip.
set -euo pipefail
source "$(dirname "$0")/../fuzz_jobs.sh"
scripts/deps.sh libcups2-dev cups cups-filters ghostscript clang libclang-rt-14-dev
# Both trees are configured again: libcups may have arrived after them.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target faxcups faxrender faxhost cups_queue_tests cups_filter_tests
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF
cmake --build build-fuzz --target cups_options_fuzz

out=fuzz-out/cups
mkdir -p "$out/corpus"
fuzz_start build-fuzz/fuzz/cups/cups_options_fuzz -max_total_time=20 -dict=fuzz/cups/options.dict \
  -artifact_prefix="$out/" "$out/corpus" fuzz/cups/seeds

ctest --test-dir build -R "^(RecipientText|Delay|FaxJob|QueueSettings|PhonebookPick|PjlSplice|FaxcupsProgram)\\." --output-on-failure
log=build/cups-queue-test.log
ctest --test-dir build -L cups -V >"$log" 2>&1 || { tail -n 60 "$log"; fuzz_wait || true; exit 1; }
if grep -q '\[  SKIPPED \]' "$log"; then
  grep -m1 -A1 'Skipped' "$log" >&2
  echo "the CUPS test skipped although its tools are installed" >&2
  exit 1
fi
grep -E '\[  PASSED  \]' "$log"
fuzz_wait
echo "cups fuzzing: no crashes"
