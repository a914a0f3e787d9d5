#!/usr/bin/env bash
# Faxing through CUPS: a private cupsd on loopback ports, Ghostscript's PCL
# XL and a listener as the printer (tests/cups). CI installed the filter's
# and the test's tools at the start, and the README's test command ran the
# test with the whole suite; here it runs once more, verbosely, and must not
# have skipped. (The filter's fuzz target runs with the other fuzz targets.)
set -euo pipefail
cd "$(dirname "$0")/../.."
log=build/cups-queue-test.log
ctest --test-dir build -L cups -V >"$log" 2>&1 || { tail -n 60 "$log"; exit 1; }
if grep -q '\[  SKIPPED \]' "$log"; then
  grep -m1 -A1 'Skipped' "$log" >&2
  echo "the CUPS test skipped although its tools are installed" >&2
  exit 1
fi
grep -E '\[  PASSED  \]' "$log"
