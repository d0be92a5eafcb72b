#!/usr/bin/env bash
# Fuzzes the value-entry parser with libFuzzer: tools/fuzz-entry.sh [SECONDS] (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
out=build-fuzz
mkdir -p "$out/corpus"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -Isrc \
    tests/fuzz/EntryParserFuzzer.cpp src/channels/EntryParser.cpp -o "$out/entry-fuzzer"
printf '12' > "$out/corpus/plain"
printf ' -2.5e1 ' > "$out/corpus/exponent"
"$out/entry-fuzzer" -max_total_time="${1:-60}" -max_len=64 "$out/corpus"
