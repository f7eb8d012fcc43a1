# SPDX-License-Identifier: Apache-2.0
# bash completion for quvo8261-cli: commands, options, driver names, settings
# files and the serial numbers of the attached panels.

# The serial numbers the tool lists, asked with the driver the command line names.
_quvo8261_cli_serials() {
    local driver
    mapfile -t driver < <(grep -oE -- '--driver=[a-z0-9]+|--simulate(=[0-9]+)?' <<<"${COMP_LINE:0:COMP_POINT}")
    "${COMP_WORDS[0]}" "${driver[@]}" list --json 2>/dev/null |
        sed -n 's/^ *"serial": "\(.*\)",\{0,1\}$/\1/p'
}

_quvo8261_cli() {
    local current="${COMP_WORDS[COMP_CWORD]}"
    local previous="${COMP_WORDS[COMP_CWORD-1]}"
    local commands="list status export import factory gpio apply"
    local options="--panel --all --verify --json --driver= --simulate --watch --profiles --dry-run --diagnose --report --help --version --"
    COMPREPLY=()

    # bash splits "--driver=sim" at the "=" unless told otherwise.
    if [ "$current" = "=" ] && [ "$previous" = --driver ]; then
        mapfile -t COMPREPLY < <(compgen -W "d2xx libftdi sim")
        return
    fi
    if [ "$previous" = "=" ] && [ "${COMP_WORDS[COMP_CWORD-2]}" = --driver ]; then
        mapfile -t COMPREPLY < <(compgen -W "d2xx libftdi sim" -- "$current")
        return
    fi
    if [ "$previous" = --profiles ]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$current")
        return
    fi
    if [ "$previous" = --panel ]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_quvo8261_cli_serials)" -- "$current")
        return
    fi
    case "$current" in
    --driver=*)
        mapfile -t COMPREPLY < <(compgen -P --driver= -W "d2xx libftdi sim" -- "${current#--driver=}")
        return
        ;;
    -*)
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$current")
        [ "${COMPREPLY[0]}" = --driver= ] && compopt -o nospace 2>/dev/null
        return
        ;;
    esac

    # What comes after the command depends on which one it is.
    local word command="" after=0 last=""
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        if [ "$word" = "=" ] || [ "$last" = "=" ]; then
            last="$word"
            continue
        fi
        last="$word"
        if [ -n "$command" ]; then
            [[ $word != -* ]] && after=$((after + 1))
        elif [[ " $commands " == *" $word "* ]]; then
            command="$word"
        fi
    done
    case "$command" in
    "")
        mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$current")
        ;;
    export | import)
        if [ "$after" -eq 0 ]; then
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -X '!*.[gG][pP][iI]' -- "$current"; compgen -d -- "$current")
        fi
        ;;
    gpio)
        if [ "$after" -eq 0 ]; then
            mapfile -t COMPREPLY < <(compgen -W "off $(seq 1 16)" -- "$current")
        elif [ "$after" -eq 1 ] && [ "$previous" != off ]; then
            mapfile -t COMPREPLY < <(compgen -W "press release" -- "$current")
        fi
        ;;
    esac
}
complete -F _quvo8261_cli quvo8261-cli
