#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The shipped systemd units, as systemd itself reads them: systemd-analyze verify
# on the boot unit and on an instance of the plug-in unit, with the built tool
# in place of the installed one. verify names a unit's faults but does not fail
# on all of them, so anything it prints fails the check.
# Usage: systemd_units_check.sh PACKAGING_FOLDER TOOL   (exit 77: no systemd-analyze)
set -euo pipefail
packaging="$1"
tool="$2"
command -v systemd-analyze >/dev/null 2>&1 || { echo "skipped: systemd-analyze is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for unit in quvo8261-apply.service quvo8261-apply@.service; do
    sed "s|/usr/bin/quvo8261-cli|$tool|" "$packaging/$unit" >"$work/$unit"
done
cd "$work"
said=$(systemd-analyze verify --man=no ./quvo8261-apply.service \
    ./quvo8261-apply@QV826100.FFFF.service 2>&1) || { echo "$said"; exit 1; }
if [ -n "$said" ]; then
    echo "$said"
    exit 1
fi
# The plug-in unit runs the tool on the panel its instance names, against the
# system's profile folder, as a user of its own in the panel group.
grep -qx 'ExecStart=.* --panel %I apply --profiles /etc/quvo8261/panels' quvo8261-apply@.service
grep -qx 'DynamicUser=yes' quvo8261-apply@.service
grep -qx 'SupplementaryGroups=plugdev' quvo8261-apply@.service
grep -qx 'ConditionDirectoryNotEmpty=/etc/quvo8261/panels' quvo8261-apply@.service
echo "systemd units check passed"
