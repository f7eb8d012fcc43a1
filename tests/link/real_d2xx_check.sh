#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Fetches FTDI's published Linux D2XX library from npm (package ftdi-d2xx 1.3.1),
# links it into a shared library in the build tree and runs the probe against it.
# Exits 77 (skipped) when the package cannot be fetched or built here.
set -uo pipefail
probe="$1"
work="$2"
mkdir -p "$work"
cd "$work" || exit 77

if [ ! -f libftd2xx.so ]; then
    if ! command -v npm >/dev/null 2>&1; then
        echo "SKIPPED: npm is not installed, cannot fetch FTDI's library"
        exit 77
    fi
    if ! timeout 180 npm pack --silent ftdi-d2xx@1.3.1 >npm.log 2>&1; then
        echo "SKIPPED: npm could not fetch ftdi-d2xx@1.3.1:"
        tail -5 npm.log
        exit 77
    fi
    tar xzf ftdi-d2xx-1.3.1.tgz package/lib/Linux/libftd2xx.a || exit 77
    printf '{ global: FT_*; local: *; };\n' >exports.map
    if ! c++ -shared -o libftd2xx.so -Wl,--whole-archive package/lib/Linux/libftd2xx.a \
        -Wl,--no-whole-archive -Wl,--version-script=exports.map -lpthread -lrt; then
        echo "SKIPPED: could not link FTDI's library into a shared library"
        exit 77
    fi
fi

# The same library for the tests against the emulated chip: umockdev's preload as
# its first needed library, so that its own open and ioctl calls reach the
# emulation also when it is loaded with RTLD_DEEPBIND. grep reads the whole list:
# with -q it would stop at the match, and under pipefail ldconfig's SIGPIPE
# would then fail the test now and then.
if [ ! -f libftd2xx-umockdev.so ] && ldconfig -p | grep libumockdev-preload.so.0 >/dev/null; then
    c++ -shared -o libftd2xx-umockdev.so -Wl,--no-as-needed -l:libumockdev-preload.so.0 \
        -Wl,--whole-archive package/lib/Linux/libftd2xx.a -Wl,--no-whole-archive \
        -Wl,--version-script=exports.map -lpthread -lrt ||
        echo "could not link FTDI's library for the emulated chip"
fi

QUVO_D2XX_LIBRARY="$work/libftd2xx.so" "$probe"
