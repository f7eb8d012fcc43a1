#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Settings files open from the file manager: the package's MIME type names a
# .gpi, and the desktop entry takes that type and a file on its command line.
# Usage: mime_check.sh PACKAGING_DIR
set -euo pipefail
packaging="$1"
for tool in update-mime-database xdg-mime; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/mime/packages"
cp "$packaging/quvo8261-settings.xml" "$data/mime/packages/"
XDG_DATA_HOME="$data" XDG_DATA_DIRS="$data:/usr/share" update-mime-database "$data/mime"
printf '[COMMON]\nSAVE=0\n' >"$data/rack.gpi"
cp "$data/rack.gpi" "$data/RACK.GPI"
failures=0
for file in rack.gpi RACK.GPI; do
    type=$(XDG_DATA_HOME="$data" XDG_DATA_DIRS="$data:/usr/share" XDG_CURRENT_DESKTOP= \
        xdg-mime query filetype "$data/$file")
    if [ "$type" != application/x-quvo8261-settings ]; then
        echo "xdg-mime names $file $type"
        failures=1
    fi
done
entry="$packaging/quvo8261-settings.desktop"
grep -qx "MimeType=application/x-quvo8261-settings;" "$entry" || {
    echo "the desktop entry does not take the settings files' type"
    failures=1
}
grep -qx "Exec=QUVO8261 %f" "$entry" || {
    echo "the desktop entry does not pass the file to the program"
    failures=1
}
[ $failures -eq 0 ] && echo "a .gpi is application/x-quvo8261-settings, opened by the program"
exit $failures
