#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The version is set once, in CMakeLists.txt; the programs take it from there.
# The package's changelog and the AppStream releases name it too, newest first:
# their newest entry must be that version.
# Usage: version_check.sh VERSION PACKAGING_DIR
set -euo pipefail
version="$1"
packaging="$2"
failures=0
changelog=$(head -1 "$packaging/changelog")
if [[ $changelog != *"($version-"* ]]; then
    echo "the changelog's newest entry is not $version: $changelog"
    failures=1
fi
release=$(grep -m1 -o '<release version="[^"]*"' "$packaging/org.quvo8261.settings.metainfo.xml")
if [ "$release" != "<release version=\"$version\"" ]; then
    echo "the metainfo's newest release is not $version: $release"
    failures=1
fi
[ $failures -eq 0 ] && echo "version $version in the changelog and the metainfo"
exit $failures
