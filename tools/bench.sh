#!/usr/bin/env bash
# Builds an optimised pwm20 and runs every benchmark, one line per figure:
#   tools/bench.sh [CHANGES] [SECONDS]  (10,000 input changes; a 60-second endless batch)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-bench --target pwm20 pwm20_floor pwm20_latency_bench pwm20_startup_bench \
    pwm20_batch_bench pwm20_limits_bench pwm20_check_bench
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
# The batch first: the receive flood at the end of the latency benchmark leaves the machine busy
# for a while after it.
QT_QPA_PLATFORM=offscreen build-bench/bench/pwm20_batch_bench "${2:-60}"
QT_QPA_PLATFORM=offscreen build-bench/bench/pwm20_limits_bench
QT_QPA_PLATFORM=offscreen build-bench/bench/pwm20_latency_bench "${1:-10000}"
QT_QPA_PLATFORM=offscreen build-bench/bench/pwm20_check_bench
# Start-up in both languages: Chinese needs no translation, English loads one.
for language in C.UTF-8 en_US.UTF-8; do
    echo "start-up with LANG=$language"
    LANG=$language xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
        build-bench/bench/pwm20_startup_bench 15 build-bench/src/pwm20 build-bench/bench/pwm20_floor
    LANG=$language xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
        tools/startup-instructions.sh build-bench/src/pwm20 build-bench/bench/pwm20_floor
done
