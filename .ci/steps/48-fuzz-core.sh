#!/usr/bin/env bash
# Fuzzes faxui's reader of the job's settings image (document-event hook and
# option page) for about 30 seconds under ASan/UBSan, starting from the
# built-in job's image. A crash or a broken invariant fails the step; the
# reproducer is left in fuzz-out/core/.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/deps.sh clang
dir=build-fuzz-core
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake --build "$dir" -j2 --target core_image_fuzz core_image_seeds
out=fuzz-out/core
seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
mkdir -p "$out/corpus"
"$dir/fuzz/core/core_image_seeds" "$seeds"
"$dir/fuzz/core/core_image_fuzz" -max_total_time=30 -max_len=16384 \
  -artifact_prefix="$out/" "$out/corpus" "$seeds"
echo "core image fuzzing: no crashes"
