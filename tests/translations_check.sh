#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The translations hold every text of the sources, each translated: lupdate run
# over the sources changes nothing in them. When it fails, build the target
# update_translations and translate what it marks unfinished.
# Usage: translations_check.sh LUPDATE CMAKE PROJECT_GENERATOR PROJECT_CMAKE TRANSLATIONS_FOLDER
# (the build describes the sources to lupdate in PROJECT_CMAKE; PROJECT_GENERATOR
# turns that into lupdate's project file)
set -euo pipefail
lupdate="$1"
cmake="$2"
generator="$3"
description="$4"
folder="$5"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
project="$work/project.json"
"$cmake" -DIN_FILE="$description" -DOUT_FILE="$project" -P "$generator"
status=0
for ts in "$folder"/*.ts; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    "$lupdate" -silent -project "$project" -no-obsolete -locations none -ts "$copy"
    if ! diff -u "$ts" "$copy"; then
        echo "$(basename "$ts") is not current: build the target update_translations" >&2
        status=1
    fi
    if grep -q 'type="unfinished"' "$copy"; then
        echo "$(basename "$ts") has texts without a translation:" >&2
        grep -B1 'type="unfinished"' "$copy" | grep '<source>' >&2
        status=1
    fi
done
exit $status
