#!/usr/bin/env bash
# Fuzzes one of the text readers with libFuzzer: tools/fuzz.sh entry|batch [SECONDS] (default 60).
#   entry  the value boxes' number reader
#   batch  the batch text reader
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --fuzz
target=${1:-entry}
out=build-fuzz/$target
mkdir -p "$out/corpus"
case "$target" in
entry)
    sources=(tests/fuzz/EntryParserFuzzer.cpp src/channels/EntryParser.cpp)
    printf '12' > "$out/corpus/plain"
    printf ' -2.5e1 ' > "$out/corpus/exponent" ;;
batch)
    sources=(tests/fuzz/BatchScriptFuzzer.cpp src/batch/BatchScript.cpp)
    printf 'repeat 3\n1=100 2=50\nwait 500\nS 5 19 E\nend\noff # done\n' > "$out/corpus/gait" ;;
*)
    echo "usage: tools/fuzz.sh entry|batch [SECONDS]" >&2
    exit 2 ;;
esac
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -Isrc "${sources[@]}" -o "$out/fuzzer"
"$out/fuzzer" -max_total_time="${2:-60}" -max_len=256 "$out/corpus"
