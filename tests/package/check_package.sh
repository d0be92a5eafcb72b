#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks what it installs, what it depends on, and
# what lintian says of it:   check_package.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() { # check WHAT COMMAND...
    if "${@:2}" >/dev/null 2>&1; then passed=$((passed + 1)); echo "ok   $1"
    else failed=$((failed + 1)); echo "FAIL $1"; fi
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >/dev/null
deb=$(ls "$work"/out/*.deb 2>/dev/null | head -n 1)
[ -f "$deb" ] || { echo "0 passed, 1 failed: no .deb was built"; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in bin/pwm20 share/applications/org.pwm20.pwm20.desktop \
            share/metainfo/org.pwm20.pwm20.metainfo.xml share/man/man1/pwm20.1.gz \
            share/doc/pwm20/copyright share/doc/pwm20/changelog.gz \
            share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/pwm20.png; do
    check "installs $path" grep -qx "./usr/$path" <<<"$contents"
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6serialport6 libqt6charts6 fonts-arphic-uming \
               fonts-wqy-microhei qt6-qpa-plugins qt6-translations-l10n; do
    check "depends on $package" grep -q "\\b$package\\b" <<<"$depends"
done

dpkg-deb -x "$deb" "$work/root"
share="$work/root/usr/share"
check "the desktop entry is valid" desktop-file-validate "$share/applications/org.pwm20.pwm20.desktop"
check "the metainfo is valid" appstreamcli validate --no-net "$share/metainfo/org.pwm20.pwm20.metainfo.xml"
check "the 256px icon is 256 x 256 with alpha" \
    grep -q "256 x 256, 8-bit/color RGBA" <<<"$(file "$share/icons/hicolor/256x256/apps/pwm20.png")"
check "lintian: no error, no warning" lintian --fail-on error,warning "$deb"
# apt resolves every dependency against Debian's archive (simulated: nothing is installed).
check "apt can install it" apt-get install -s -q "$deb"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
