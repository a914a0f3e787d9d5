#!/usr/bin/env bash
# Faxing through CUPS: a private cupsd on loopback ports, Ghostscript's PCL
# XL and a listener as the printer (tests/cups). Installs what the filter
# and the test need first; with them present the test must not skip.
set -euo pipefail
scripts/deps.sh libcups2-dev cups cups-filters ghostscript
# Configured again: libcups may have arrived after the tree was configured.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target faxcups faxrender faxhost cups_queue_tests cups_filter_tests
ctest --test-dir build -R '^(RecipientText|Delay|FaxJob|PhonebookPick|PjlSplice)\.' --output-on-failure
log=build/cups-queue-test.log
ctest --test-dir build -L cups -V >"$log" 2>&1 || { tail -n 60 "$log"; exit 1; }
if grep -q '\[  SKIPPED \]' "$log"; then
  grep -m1 -A1 'Skipped' "$log" >&2
  echo "the CUPS test skipped although its tools are installed" >&2
  exit 1
fi
grep -E '\[  PASSED  \]' "$log"
