#!/usr/bin/env bash
# Renders the real window under Xvfb and saves a PNG of it: tools/screenshot.sh BUILD_DIR OUT.png
set -euo pipefail
bash "$(dirname "$0")/install-deps.sh" --screenshot
build=${1:-build}
out=${2:-docs/screenshot.png}
mkdir -p "$(dirname "$out")"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" bash -c '
    "$0" & pid=$!
    win=$(xdotool search --sync --onlyvisible --name "20路PWM" | head -n 1)
    sleep 1
    import -window "$win" "$1"
    kill $pid
' "$build/src/pwm20" "$out"
echo "saved $out"
