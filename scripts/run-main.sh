#!/usr/bin/env bash
# Builds the project and prints a fax job through both add-ons with the
# host simulator's built-in job; the PJL header goes to standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh >&2
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build build --target faxhost faxrender faxui >&2
exec build/host/faxhost "$@"
