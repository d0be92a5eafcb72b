#!/usr/bin/env bash
# Fuzzes one of the text readers with libFuzzer: tools/fuzz.sh entry|batch|setup [SECONDS]
# (default 60).
#   entry  the value boxes' number reader
#   batch  the batch text reader
#   setup  the channel setup reader
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --fuzz
target=${1:-entry}
out=build-fuzz/$target
mkdir -p "$out/corpus"
case "$target" in
entry)
    sources=(tools/fuzz/EntryParserFuzzer.cpp src/channels/EntryParser.cpp)
    printf '12' > "$out/corpus/plain"
    printf ' -2.5e1 ' > "$out/corpus/exponent" ;;
batch)
    sources=(tools/fuzz/BatchScriptFuzzer.cpp src/batch/BatchScript.cpp src/batch/BatchLines.cpp src/channels/ChannelTable.cpp)
    printf 'repeat 3\n1=100 2=50\nwait 500\nS 5 19 E\nend\noff # done\n' > "$out/corpus/gait" ;;
setup)
    sources=(tools/fuzz/SetupTextFuzzer.cpp src/setup/SetupText.cpp src/channels/ChannelTable.cpp)
    printf '[channel5]\nname=shoulder\nmin=7\nmax=32\nhome=12\nspeed=40\naccel=200\n[batch]\non_stop=home\n' \
        > "$out/corpus/arm" ;;
*)
    echo "usage: tools/fuzz.sh entry|batch|setup [SECONDS]" >&2
    exit 2 ;;
esac
# The readers use Qt Core for names in any script.
qt=$(pkg-config --cflags --libs Qt6Core)
# shellcheck disable=SC2086
clang++ -std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -Isrc "${sources[@]}" $qt \
    -o "$out/fuzzer"
"$out/fuzzer" -max_total_time="${2:-60}" -max_len=256 "$out/corpus"
