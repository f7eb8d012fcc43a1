#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# A distribution builds the programs without the tests and perhaps without
# help2man or rsvg-convert: configuring so must need neither GoogleTest nor
# Google Benchmark, say what is left out, and leave no test behind.
# Usage: build_without_testing_check.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source_dir="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work"

log="$work/configure.log"
if ! cmake -S "$source_dir" -B "$work/build" -G Ninja -DBUILD_TESTING=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
    -DHELP2MAN=OFF -DRSVG_CONVERT=OFF >"$log" 2>&1; then
    cat "$log"
    echo "FAIL: configuring without the tests' libraries failed"
    exit 1
fi
for said in "help2man was not found: the manual pages are neither made nor installed" \
    "rsvg-convert was not found: only the scalable icon is installed"; do
    if ! tr -s ' \n' ' ' <"$log" | grep -qF "$said"; then
        cat "$log"
        echo "FAIL: the configure step did not say: $said"
        exit 1
    fi
done
targets=$(ninja -C "$work/build" -t targets all)
for program in app/QUVO8261 cli/quvo8261-cli; do
    if ! grep -q "^$program:" <<<"$targets"; then
        echo "FAIL: $program is not built"
        exit 1
    fi
done
if grep -qE "^(tests|bench|fuzz)/" <<<"$targets"; then
    echo "FAIL: tests, benchmarks or fuzzers are built without BUILD_TESTING"
    exit 1
fi
if grep -q "\.1\.gz:" <<<"$targets"; then
    echo "FAIL: manual pages are made without help2man"
    exit 1
fi
echo "PASS: the programs configure without the tests, their libraries, help2man or rsvg-convert"
