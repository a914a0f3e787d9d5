#!/usr/bin/env bash
# Fuzzes the resource reader briefly. (The Windows-side conformance run
# under wine is not built yet.)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/deps.sh clang
cmake -S . -B build-fuzz-ui -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF
cmake --build build-fuzz-ui --target res_fuzz
build-fuzz-ui/fuzz/platform_user/res_fuzz -max_total_time=30 -max_len=4096
