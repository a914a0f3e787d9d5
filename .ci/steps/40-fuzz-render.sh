#!/usr/bin/env bash
# Fuzzes the render add-on's readers for about 30 seconds each: the settings
# image given to the write hook, and faxhost's job files. Any crash or
# broken PJL line fails the step; the reproducer is left in fuzz-out/.
set -euo pipefail
source "$(dirname "$0")/../fuzz_jobs.sh"
scripts/deps.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF
cmake --build build-fuzz --target render_header_fuzz render_jobfile_fuzz

out=fuzz-out/render
mkdir -p "$out/header" "$out/jobfile"
fuzz_start build-fuzz/fuzz/render/render_header_fuzz -max_total_time=30 -max_len=15100 \
  -artifact_prefix="$out/" "$out/header" fuzz/render/seeds/header
fuzz_start build-fuzz/fuzz/render/render_jobfile_fuzz -max_total_time=30 \
  -dict=fuzz/render/jobfile.dict -artifact_prefix="$out/" "$out/jobfile" fuzz/render/seeds/jobfile
fuzz_wait
echo "render fuzzing: no crashes"
