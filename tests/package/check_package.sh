#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks what it installs and depends on:
#   check_package.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@" >/dev/null 2>&1; then
        passed=$((passed + 1)); echo "ok   $what"
    else
        failed=$((failed + 1)); echo "FAIL $what"
    fi
}

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/*.deb 2>/dev/null | head -n 1)
check "a .deb is built" test -f "$deb"
[ -f "$deb" ] || { echo "$passed passed, $((failed)) failed"; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/pwm20 \
            ./usr/share/applications/org.pwm20.pwm20.desktop \
            ./usr/share/metainfo/org.pwm20.pwm20.metainfo.xml; do
    check "installs $path" grep -qx "$path" <<<"$contents"
done
for size in 16 22 24 32 48 64 128 256; do
    check "installs the ${size}px icon" \
        grep -qx "./usr/share/icons/hicolor/${size}x${size}/apps/pwm20.png" <<<"$contents"
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6serialport6 libqt6gui6 libqt6core6 fonts-arphic-uming \
               qt6-qpa-plugins; do
    check "depends on $package" grep -q "\\b$package\\b" <<<"$depends"
done

dpkg-deb -x "$deb" "$work/root"
check "the desktop entry is valid" \
    desktop-file-validate "$work/root/usr/share/applications/org.pwm20.pwm20.desktop"
check "the desktop entry has a Chinese name" \
    grep -q "^Name\\[zh_CN\\]=20路PWM上机位程序" "$work/root/usr/share/applications/org.pwm20.pwm20.desktop"
check "the metainfo is valid" \
    appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.pwm20.pwm20.metainfo.xml"
check "the 256px icon is 256 x 256" \
    grep -q "256 x 256" <<<"$(file "$work/root/usr/share/icons/hicolor/256x256/apps/pwm20.png")"
# apt resolves every dependency against Debian's archive (simulated: nothing is installed).
check "apt can install it" apt-get install -s -q "$deb"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
