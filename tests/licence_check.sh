#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Every source file names its licence in its first lines, and the licence's
# full text is at the top of the tree.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"
grep -q "Apache License" LICENSE && grep -q "Version 2.0, January 2004" LICENSE || {
    echo "LICENSE does not hold the Apache License 2.0"
    exit 1
}
missing=$(find app bench cli editor fuzz link model packaging scripts sim tests ui .ci \
    -path fuzz/corpus -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' \
    -o -name CMakeLists.txt -o -name '*.supp' -o -name '*.rules' -o -name '*.desktop' \
    -o -name '*.svg' -o -name '*.bash' -o -name 'post*' -o -path 'scripts/*' -o -path '.ci/*' \) \
    -print | sort | while read -r file; do
    head -3 "$file" | grep -q "SPDX-License-Identifier: Apache-2.0" || echo "$file"
done)
missing+=$(head -3 CMakeLists.txt | grep -q "SPDX-License-Identifier: Apache-2.0" || echo CMakeLists.txt)
if [ -n "$missing" ]; then
    echo "These files do not name their licence (SPDX-License-Identifier: Apache-2.0):"
    echo "$missing"
    exit 1
fi
echo "every source file names its licence"
