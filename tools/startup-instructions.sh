#!/usr/bin/env bash
# Instructions from exec to the first paint on screen (the first backing-store flush), for pwm20
# and the bare window, counted by callgrind: repeatable on a busy machine, where start-up times in
# milliseconds are not. Run under an X server (xvfb-run -a tools/startup-instructions.sh ...).
#   tools/startup-instructions.sh PROGRAM FLOOR
set -euo pipefail
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

# Prints the instructions to the first flush of PROGRAM, which is then ended.
count() {
  QT_QPA_PLATFORM=xcb valgrind --tool=callgrind --callgrind-out-file="$out/$2" \
    --dump-after='QBackingStore::flush*' "$1" >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 600); do [ -s "$out/$2.1" ] && break; sleep 0.1; done
  sleep 0.5 # the dump's last lines
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -s "$out/$2.1" ] || { echo "startup-instructions.sh: $1 showed nothing in 60 s" >&2; exit 1; }
  sed -n 's/^summary: //p' "$out/$2.1"
}

program=$(count "$1" program)
floor=$(count "$2" floor)
echo "instructions to the first paint  pwm20 $program  floor $floor  ratio" \
  "$(awk -v p="$program" -v f="$floor" 'BEGIN { printf "%.3f", p / f }')"
