#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the .deb from a build folder, checks what it holds, validates the
# desktop entry and runs the installed program from a temporary root.
# Usage: package_check.sh BUILD_DIR WORK_DIR     (exit 77: tools missing, skipped)
set -euo pipefail
build="$1"
work="$2"
for tool in cpack dpkg-deb desktop-file-validate lintian appstreamcli mandb; do
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
        ./usr/share/man/man1/QUVO8261.1.gz ./usr/share/man/man1/quvo8261-cli.1.gz \
        ./usr/share/applications/quvo8261-settings.desktop \
        ./usr/share/icons/hicolor/scalable/apps/quvo8261-settings.svg \
        ./usr/share/icons/hicolor/16x16/apps/quvo8261-settings.png \
        ./usr/share/icons/hicolor/256x256/apps/quvo8261-settings.png \
        ./usr/share/metainfo/org.quvo8261.settings.metainfo.xml \
        ./usr/share/bash-completion/completions/quvo8261-cli \
        ./usr/share/doc/quvo8261-settings/copyright \
        ./usr/share/doc/quvo8261-settings/changelog.Debian.gz \
        ./usr/lib/udev/rules.d/70-quvo8261.rules \
        ./usr/lib/systemd/system/quvo8261-apply.service \
        ./usr/lib/systemd/system/quvo8261-apply@.service; do
    if ! grep -q " $path\$" <<<"$contents"; then
        echo "missing from the package: $path"
        echo "$contents"
        exit 1
    fi
done
# Read whole first: grep -q would end the pipe early and fail it under pipefail.
control=$(dpkg-deb -I "$package")
for dependency in libqt6widgets6 libftdi1-2 libc6 libstdc++6 libusb-1.0-0 qt6-qpa-plugins; do
    grep -q "^ Depends:.* $dependency" <<<"$control" || { echo "no dependency on $dependency"; exit 1; }
done
# The program falls back to other fonts without Wine's.
grep -q "^ Recommends:.*fonts-wine" <<<"$control" || { echo "fonts-wine is not recommended"; exit 1; }
if grep -q "^ Depends:.*fonts-wine" <<<"$control"; then
    echo "fonts-wine is a hard dependency"
    exit 1
fi
# The scripts reload the udev rules only where the udev daemon runs: where
# /run/udev exists without it (a container), udevadm is not called, so nothing
# says "Failed to send reload request".
made_run_udev=0
if [ ! -e /run/udev ] && [ "$(id -u)" -eq 0 ] && mkdir -p /run/udev 2>/dev/null; then
    made_run_udev=1
fi
fake_bin=$(mktemp -d)
printf '#!/bin/sh\necho "udevadm $*" >>"%s/calls"\n' "$fake_bin" >"$fake_bin/udevadm"
chmod +x "$fake_bin/udevadm"
for script in postinst postrm; do
    grep -q "udevadm control --reload-rules" <<<"$(dpkg-deb -I "$package" $script)" || {
        echo "$script does not reload the udev rules"
        exit 1
    }
    dpkg-deb -I "$package" $script >"$fake_bin/$script"
    argument=$([ $script = postinst ] && echo configure || echo remove)
    said=$(PATH="$fake_bin:$PATH" sh "$fake_bin/$script" "$argument" 2>&1)
    if [ -S /run/udev/control ] ; then
        [ -s "$fake_bin/calls" ] || { echo "$script did not reload a running udev"; exit 1; }
    elif [ -e "$fake_bin/calls" ] || [ -n "$said" ]; then
        echo "$script called udevadm without a udev daemon: $(cat "$fake_bin/calls" 2>/dev/null) $said"
        exit 1
    fi
    rm -f "$fake_bin/calls"
done
rm -rf "$fake_bin"
[ $made_run_udev -eq 0 ] || rmdir /run/udev
if [ -z "${QUVO_SANITIZED_BUILD:-}" ]; then
    size=$(stat -c %s "$package")
    [ "$size" -lt 2000000 ] || { echo "the package has $size bytes, more than 2 MB"; exit 1; }
    # What a distribution checks: no lintian error or warning.
    lintian --fail-on error,warning "$package" || { echo "lintian found the faults above"; exit 1; }
fi
root="$work/root"
dpkg-deb -x "$package" "$root"
desktop-file-validate "$root/usr/share/applications/quvo8261-settings.desktop"
[ -f "$root/usr/share/mime/packages/quvo8261-settings.xml" ] || {
    echo "the package does not register the settings files' MIME type"
    exit 1
}
# Valid AppStream data, as software centres need it.
appstreamcli validate --pedantic --no-net "$root/usr/share/metainfo/org.quvo8261.settings.metainfo.xml"

# One version: the package's, the programs', the changelog's and the metadata's.
version=$(dpkg-deb -f "$package" Version)
upstream="${version%-*}"
for program in QUVO8261 quvo8261-cli; do
    [ "$("$root/usr/bin/$program" --version)" = "$program $upstream" ] || {
        echo "$program --version does not say $upstream"
        exit 1
    }
done
zcat "$root/usr/share/doc/quvo8261-settings/changelog.Debian.gz" | head -1 |
    grep -qF "quvo8261-settings ($version)" || { echo "the changelog's last entry is not $version"; exit 1; }
grep -qF "<release version=\"$upstream\"" \
    "$root/usr/share/metainfo/org.quvo8261.settings.metainfo.xml" || {
    echo "the AppStream metadata names no release $upstream"
    exit 1
}

# Each manual page documents every option and command its program's --help names,
# and man -k finds both.
for program in QUVO8261 quvo8261-cli; do
    # The page's text without its font changes and escapes.
    page=$(zcat "$root/usr/share/man/man1/$program.1.gz" | sed -E 's/\\f[BIRP]//g; s/\\[,/]//g; s/\\-/-/g')
    help=$("$root/usr/bin/$program" --help)
    words=$(grep -oE -- '--[a-z][a-z0-9-]*(=[a-z0-9|]+)?' <<<"$help" | sort -u)
    words+=$'\n'$(sed -n '/^Commands:/,/^$/p' <<<"$help" | sed -nE 's/^  ([a-z]+).*/\1/p')
    for word in $words; do
        grep -qF -- "$word" <<<"$page" || { echo "man $program does not name $word"; exit 1; }
    done
    for section in "EXIT STATUS" ENVIRONMENT EXAMPLES FILES; do
        [ $program = quvo8261-cli ] && [ "$section" = FILES ] && continue
        grep -qx "\.SH \"\{0,1\}$section\"\{0,1\}" <<<"$page" || {
            echo "man $program has no section $section"
            exit 1
        }
    done
done
# The index goes into the unpacked tree, as an installation's goes into /usr.
mandb -q -C /dev/null "$root/usr/share/man" >/dev/null 2>&1 || true
listed=$(apropos -M "$root/usr/share/man" quvo 2>/dev/null || true)
for program in QUVO8261 quvo8261-cli; do
    grep -q "^$program (1)" <<<"$listed" || { echo "man -k does not list $program: $listed"; exit 1; }
done
grep -qa "quvo8261-settings" "$root/usr/bin/QUVO8261" || {
    echo "the program does not name its desktop entry"
    exit 1
}
grep -q "^StartupWMClass=QUVO-8261 Settings$" \
    "$root/usr/share/applications/quvo8261-settings.desktop" || {
    echo "the desktop entry names no window class"
    exit 1
}
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
