#!/usr/bin/env bash
# Gathers the program's texts into translations/pwm20_en.ts after they change, then lists the
# English translations still missing (open the file in Qt Linguist, or edit it, to add them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
/usr/lib/qt6/bin/lupdate -no-obsolete -locations none -source-language zh_CN -target-language en \
    src -ts translations/pwm20_en.ts
if grep -B2 'type="unfinished"' translations/pwm20_en.ts | grep '<source>'; then
    echo "update-translations: the texts above have no English yet" >&2
    exit 1
fi
