#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The bash completion of quvo8261-cli: commands, options, driver names, settings
# files, and the serial numbers of the virtual panels, asked from the tool itself.
# Usage: completion_check.sh COMPLETION_SCRIPT CLI_FOLDER
set -uo pipefail
# shellcheck source=/dev/null
source "$1"
PATH="$(cd "$2" && pwd):$PATH"
export PATH
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" && touch panel.gpi RACK.GPI notes.txt && mkdir saved

failures=0
expect() {
    local line="$1" wanted="$2"
    COMP_LINE="$line"
    COMP_POINT=${#line}
    # Split as bash does for completion, "=" being a word of its own.
    read -ra COMP_WORDS <<<"${line//=/ = }"
    [[ $line == *" " || $line == *"=" ]] && COMP_WORDS+=("")
    [[ $line == *"=" ]] && unset 'COMP_WORDS[-1]'
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _quvo8261_cli 2>/dev/null
    local got=""
    [ ${#COMPREPLY[@]} -gt 0 ] && got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    if [ "$got" != "$wanted" ]; then
        echo "[$line] completes to '$got', not '$wanted'"
        failures=$((failures + 1))
    fi
}
expect "quvo8261-cli " "apply export factory gpio import list status "
expect "quvo8261-cli --simulate st" "status "
expect "quvo8261-cli --simulate --panel " "QV826100.FFFF QV826101.FF00 "
expect "quvo8261-cli --driver=sim --panel QV826101" "QV826101.FF00 "
expect "quvo8261-cli --simulate=5 --panel " \
    "QV826100.FFFF QV826101.FF00 QV826102.FFFF QV826103.FFFF QV826104.FFFF "
expect "quvo8261-cli --dr" "--driver= --dry-run "
expect "quvo8261-cli --all apply --pro" "--profiles "
expect "quvo8261-cli --all apply --profiles " "saved "
expect "quvo8261-cli --driver=" "d2xx libftdi sim "
expect "quvo8261-cli --driver=li" "libftdi "
expect "quvo8261-cli --simulate import " "RACK.GPI panel.gpi saved "
expect "quvo8261-cli export p" "panel.gpi "
expect "quvo8261-cli import panel.gpi --v" "--verify --version "
expect "quvo8261-cli gpio " "1 10 11 12 13 14 15 16 2 3 4 5 6 7 8 9 off "
expect "quvo8261-cli gpio 3 " "press release "
expect "quvo8261-cli gpio off " ""
expect "quvo8261-cli --driver=sim gpio 3 " "press release "
[ "$failures" -eq 0 ] && echo "bash completion check passed"
exit $((failures > 0))
