#!/usr/bin/env bash
# Tries pwm20 without a board: starts the board simulator, answering "OK" to every frame, and the
# program with com1 wired to it. The simulator prints every frame it receives in this terminal.
# Arguments go to the program: tools/demo.sh --setup docs/examples/arm.ini --edit docs/examples/reach.txt
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target pwm20 pwm20-board
link="$(mktemp -u /tmp/pwm20-demo-com1.XXXXXX)"
build/tools/pwm20-board --link "$link" --reply OK --stay &
board=$!
trap 'kill "$board" 2>/dev/null || true; wait "$board" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -L "$link" ] && break; sleep 0.1; done
echo "pwm20: com1 is the simulated board at $link; press 打开串口 to start."
build/src/pwm20 --com1 "$link" "$@"
