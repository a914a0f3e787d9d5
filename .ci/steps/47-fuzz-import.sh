#!/usr/bin/env bash
# Fuzzes the contact file reader and the speed-dial export reader with its
# decoders, and our command line's piecewise reading of both, for about 30
# seconds each under ASan/UBSan.
set -euo pipefail
cd "$(dirname "$0")/../.."
source .ci/fuzz_jobs.sh
scripts/deps.sh clang
dir=build-fuzz-import
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake --build "$dir" -j2 --target import_fuzz_csv import_fuzz_speed_dial import_fuzz_file_recipients
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$corpus/csv" "$corpus/speed_dial" "$corpus/file"
cp tests/data/import/yhteystiedot.csv tests/data/import/contacts_en.csv tests/data/import/bom_utf8.csv "$corpus/csv/"
cp tests/data/import/lyhytvalinnat.csv "$corpus/speed_dial/"
cp "$corpus"/csv/* "$corpus"/speed_dial/* "$corpus/file/"
fuzz_start "$dir/fuzz/import/import_fuzz_csv" -max_total_time=30 -max_len=8192 "$corpus/csv"
fuzz_start "$dir/fuzz/import/import_fuzz_speed_dial" -max_total_time=30 -max_len=8192 "$corpus/speed_dial"
fuzz_start "$dir/fuzz/import/import_fuzz_file_recipients" -max_total_time=30 -max_len=8192 "$corpus/file"
fuzz_wait
