#!/usr/bin/env bash
# Fuzzes the phonebook readers (current version and older-version
# converter) and the hand-off reader for about 30 seconds each under
# ASan/UBSan.
set -euo pipefail
cd "$(dirname "$0")/../.."
source .ci/fuzz_jobs.sh
scripts/deps.sh clang
dir=build-fuzz-phonebook
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake --build "$dir" -j2 --target phonebook_fuzz_reader phonebook_fuzz_convert phonebook_fuzz_handoff
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$corpus/reader" "$corpus/convert" "$corpus/handoff"
cp tests/data/v2000*.KFD "$corpus/reader/"
cp tests/data/v0000.KFD tests/data/v1000.KFD "$corpus/convert/"
fuzz_start "$dir/fuzz/phonebook/phonebook_fuzz_reader" -max_total_time=30 -max_len=20000 "$corpus/reader"
fuzz_start "$dir/fuzz/phonebook/phonebook_fuzz_convert" -max_total_time=30 "$corpus/convert"
fuzz_start "$dir/fuzz/phonebook/phonebook_fuzz_handoff" -max_total_time=30 "$corpus/handoff"
fuzz_wait
