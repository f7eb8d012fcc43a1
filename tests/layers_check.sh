#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Layers point down only: no file of a folder includes a header of a folder it
# may not use (the table in docs/architecture.md), and the README shows that
# same table.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
declare -A may_use=(
    [model]="model"
    [link]="link model"
    [sim]="sim link model"
    [ui]="ui model"
    [editor]="editor ui link model"
    [app]="app editor ui sim link model"
    [cli]="cli sim link model"
)
status=0
for folder in "${!may_use[@]}"; do
    while IFS= read -r line; do
        file="${line%%:*}"
        used="$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$line")"
        if [[ " ${may_use[$folder]} " != *" $used "* ]]; then
            echo "$file includes a header of $used/, which $folder/ may not use"
            status=1
        fi
    done < <(grep -rnE '^#include "[a-z]+/' "$root/$folder" --include='*.h' --include='*.cpp' || true)
    # Every header by its path from the repository root.
    if grep -rnE '^#include "[A-Za-z0-9_]+\.h"' "$root/$folder" --include='*.h' --include='*.cpp'; then
        echo "^ include these headers by their path from the repository root"
        status=1
    fi
done
# The README's folder table is the map's own.
folders() { grep -E '^\| `[a-z]+/` \|' "$1"; }
if ! diff <(folders "$root/docs/architecture.md") <(folders "$root/README.md"); then
    echo "the folder tables of README.md and docs/architecture.md differ"
    status=1
fi
exit "$status"
