#!/usr/bin/env bash
# Short libFuzzer runs of the kernel layer's readers of outside data
# (profile/registry files, code-page conversion).
set -euo pipefail
source "$(dirname "$0")/../fuzz_jobs.sh"
scripts/deps.sh clang
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF
cmake --build build-fuzz --target fuzz_profile_registry fuzz_codepage
mkdir -p build-fuzz/corpus/profile build-fuzz/corpus/codepage
fuzz_start build-fuzz/fuzz/platform_kernel/fuzz_profile_registry -max_total_time=60 -max_len=4096 build-fuzz/corpus/profile
fuzz_start build-fuzz/fuzz/platform_kernel/fuzz_codepage -max_total_time=60 -max_len=4096 build-fuzz/corpus/codepage
fuzz_wait
