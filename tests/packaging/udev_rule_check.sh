#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The udev rule, as udev itself applies it to an emulated FT232R: a panel gets
# the "uaccess" tag, the plugdev group with read and write, and the systemd unit
# named for its serial number, whatever the letter case of its description; any
# other chip gets none of it. udev reads rules only from system folders, so the rule is put into
# /run/udev/rules.d of a private mount namespace; the system's own stays as it is.
# Usage: udev_rule_check.sh RULE_FILE     (exit 77: no namespace or tools, skipped)
set -euo pipefail
rule="$1"
for tool in unshare umockdev-run udevadm; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
if ! unshare -m true 2>/dev/null; then
    echo "skipped: no private mount namespace here (needs root)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints what udev makes of the chip with this description: the rule lines that
# matched and the device's properties.
udev_for() {
    cat >"$work/chip.umockdev" <<DEVICE
P: /devices/pci0000:00/0000:00:14.0/usb1/1-1
N: bus/usb/001/002
E: DEVNAME=/dev/bus/usb/001/002
E: DEVTYPE=usb_device
E: DRIVER=usb
E: PRODUCT=403/6001/600
E: SUBSYSTEM=usb
E: BUSNUM=001
E: DEVNUM=002
A: idVendor=0403
A: idProduct=6001
A: bcdDevice=0600
A: manufacturer=FTDI
A: product=$1
A: serial=QV826100
DEVICE
    # shellcheck disable=SC2016
    unshare -m sh -c 'mount -t tmpfs none /run && mkdir -p /run/udev/rules.d &&
        cp "$1" /run/udev/rules.d/ &&
        umockdev-run -d "$2" -- udevadm test --action=add /sys/devices/pci0000:00/0000:00:14.0/usb1/1-1' \
        sh "$rule" "$work/chip.umockdev" 2>&1
}

failures=0
for description in "QUVO-8261-16" "quvo-8261-08" "Quvo-8261-04"; do
    result=$(udev_for "$description")
    grep -q '^TAGS=.*:uaccess:' <<<"$result" || { echo "$description gets no uaccess tag"; failures=1; }
    grep -q '^TAGS=.*:systemd:' <<<"$result" || { echo "$description gets no systemd tag"; failures=1; }
    grep -q '^SYSTEMD_WANTS=.*quvo8261-apply@QV826100\.service' <<<"$result" ||
        { echo "$description does not ask for its unit"; failures=1; }
    grep -q "70-quvo8261.rules:.* GROUP $(getent group plugdev | cut -d: -f3)\$" <<<"$result" ||
        { echo "$description is not given to the plugdev group"; failures=1; }
    grep -q '70-quvo8261.rules:.* MODE 0660$' <<<"$result" ||
        { echo "$description is not readable and writable for its group"; failures=1; }
done
for description in "FT232R USB UART" "QUVO-8262-16"; do
    result=$(udev_for "$description")
    if grep -q '^TAGS=.*:uaccess:\|quvo8261-apply\|70-quvo8261.rules:' <<<"$result"; then
        echo "$description is taken for a panel"
        failures=1
    fi
done
[ "$failures" -eq 0 ] && echo "udev rule check passed"
exit "$failures"
