#!/usr/bin/env bash
# Renders the motion editor after a play of the arm example, under Xvfb, and saves a PNG of it:
#   tools/screenshot-editor.sh BUILD_DIR OUT.png [--lang en]
set -euo pipefail
bash "$(dirname "$0")/install-deps.sh" --screenshot
build=${1:-build}
out=$(realpath -m "${2:-docs/editor.png}")
mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" \
    python3 "$(dirname "$0")/screenshot-editor.py" "$(realpath "$build/src/pwm20")" "$out" "${@:3}"
