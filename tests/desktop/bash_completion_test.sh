#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Runs pelomart-chg's bash completion as bash would call it, in a bash without start-up
# files, and checks what it offers: once bare, and once with bash-completion's helpers
# loaded, as they are when bash-completion loads this file on a desktop.
# usage: bash_completion_test.sh path/to/completions/pelomart-chg
set -euo pipefail

completion=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
touch f.chg g.json notes.txt
mkdir sub

cat >checks.bash <<'CHECKS'
failures=0
# compopt only works while bash itself completes: record what the function asks for.
compopt() { asked+=" $*"; }
# Completes LINE at its end as bash would: words split at blanks and "=".
complete_line() {
    local line=$1
    local spaced=${line//=/ = }
    read -r -a COMP_WORDS <<<"$spaced"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    asked=""
    _pelomart_chg pelomart-chg "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    offered=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
}
expect() { # LINE, what is offered, in sorted order
    complete_line "$1"
    if [[ $offered == "$2 " ]]; then
        echo "ok ($mode): '$1' -> $2"
    else
        echo "FAILED ($mode): '$1' -> $offered, not $2" >&2
        failures=$((failures + 1))
    fi
}
expect_option() { # LINE, a compopt option it must set
    complete_line "$1"
    if [[ $asked == *"-o $2"* ]]; then
        echo "ok ($mode): '$1' sets -o $2"
    else
        echo "FAILED ($mode): '$1' sets${asked:- nothing}, not -o $2" >&2
        failures=$((failures + 1))
    fi
}

expect "pelomart-chg ch" "check"
expect "pelomart-chg make --l" "--locale"
expect "pelomart-chg set f.chg paraml" "paramlong1="
expect_option "pelomart-chg set f.chg paraml" nospace
expect "pelomart-chg " "--help --version -h check list make set show"
expect "pelomart-chg check -" "--help --help-all --verbose -h -v"
expect "pelomart-chg show --j" "--json"
expect "pelomart-chg show -" "--bytes --help --help-all --json -h"
expect "pelomart-chg list " "f.chg sub"
expect "pelomart-chg set --d" "--dry-run"
expect "pelomart-chg show " "f.chg sub"
expect "pelomart-chg check -v " "f.chg sub"
expect "pelomart-chg make --dir sub " "g.json sub"
expect "pelomart-chg make --dir " "sub"
expect "pelomart-chg make --locale POSI" "POSIX"
expect "pelomart-chg make --locale=POSI" "POSIX"
expect "pelomart-chg set " "f.chg sub"
expect "pelomart-chg set --locale=C " "f.chg sub"
expect "pelomart-chg set --locale C f.chg x=1 paramsing1" "paramsing10= paramsing11= paramsing12= paramsing13= paramsing14= paramsing15= paramsing16= paramsing17="
expect "pelomart-chg set f.chg namn=Zozed fil" "filenavn="
expect "pelomart-chg set f.chg x=" ""
exit $((failures > 0))
CHECKS

status=0
mode=bare bash --norc --noprofile -c 'source "$1"; source checks.bash' bash "$completion" ||
    status=1
helpers=/usr/share/bash-completion/bash_completion
if [ -f "$helpers" ]; then
    mode=bash-completion bash --norc --noprofile -c \
        'source "$1"; source "$2"; source checks.bash' bash "$helpers" "$completion" || status=1
else
    echo "skipped: bash-completion is not installed ($helpers)"
fi
exit "$status"
