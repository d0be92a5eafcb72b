#!/usr/bin/env bash
# Installs what is missing, builds pwm20 and starts it. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target pwm20
exec build/src/pwm20 "$@"
