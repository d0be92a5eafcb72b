#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   tools/test.sh              the normal build, in build/
#   tools/test.sh --sanitize   the same under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --test --bench

dir=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    flags=(-DCMAKE_BUILD_TYPE=Debug
           "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer")
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}"
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure
