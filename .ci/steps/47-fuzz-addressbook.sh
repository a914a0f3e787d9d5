#!/usr/bin/env bash
# Fuzzes the vCard reader of the stand-in address book briefly under ASan/UBSan.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/deps.sh clang
dir=build-fuzz-addressbook
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DFAX_FUZZ=ON -DFAX_TESTS=OFF -DFAX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake --build "$dir" -j2 --target vcard_fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/data/vcard/*.vcf "$corpus/"
"$dir/fuzz/addressbook/vcard_fuzz" -max_total_time=30 -max_len=4096 "$corpus"
