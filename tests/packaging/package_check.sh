#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the .deb from a build folder, checks what it holds, validates the
# desktop entry and runs the installed program from a temporary root.
# Usage: package_check.sh BUILD_DIR WORK_DIR     (exit 77: tools missing, skipped)
set -euo pipefail
build="$1"
work="$2"
for tool in cpack dpkg-deb desktop-file-validate; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
rm -rf "$work"
mkdir -p "$work"
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) || {
    cat "$work/cpack.log"
    exit 1
}
package=$(ls "$work"/*.deb)
echo "package: $package"
contents=$(dpkg-deb -c "$package")
for path in ./usr/bin/QUVO8261 ./usr/bin/quvo8261-cli \
        ./usr/share/applications/quvo8261-settings.desktop \
        ./usr/share/icons/hicolor/scalable/apps/quvo8261-settings.svg \
        ./usr/lib/udev/rules.d/70-quvo8261.rules; do
    if ! grep -q " $path\$" <<<"$contents"; then
        echo "missing from the package: $path"
        echo "$contents"
        exit 1
    fi
done
# Read whole first: grep -q would end the pipe early and fail it under pipefail.
control=$(dpkg-deb -I "$package")
grep -q "Depends: libqt6widgets6" <<<"$control" || { echo "no Qt dependency"; exit 1; }
grep -q "libftdi1-2" <<<"$control" || { echo "no libftdi1 dependency"; exit 1; }
postinst=$(dpkg-deb -I "$package" postinst)
grep -q "udevadm control --reload-rules" <<<"$postinst" || {
    echo "postinst does not reload the udev rules"
    exit 1
}
root="$work/root"
dpkg-deb -x "$package" "$root"
desktop-file-validate "$root/usr/share/applications/quvo8261-settings.desktop"
"$root/usr/bin/QUVO8261" --help >/dev/null
"$root/usr/bin/quvo8261-cli" --help >/dev/null
# The rule's product pattern takes what the program lists as a panel, in any
# letter case, and nothing else (udev matches as the shell's patterns do).
pattern=$(sed -nE 's/.*ATTR\{product\}=="([^"]+)".*/\1/p' \
    "$root/usr/lib/udev/rules.d/70-quvo8261.rules")
for product in "QUVO-8261-16" "quvo-8261-08" "Panel Quvo-8261-04"; do
    # shellcheck disable=SC2053
    [[ $product == $pattern ]] || { echo "the udev rule leaves out $product"; exit 1; }
done
for product in "FT232R USB UART" "QUVO-8262-16" "QUVO8261"; do
    # shellcheck disable=SC2053
    [[ $product != $pattern ]] || { echo "the udev rule takes $product"; exit 1; }
done
echo "package check passed"
