#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Starts pelomart.exe from the package's folder under Wine and Xvfb, with no DLL path but
# its own, once per Windows language: it opens a change file whose name holds letters of
# that code page, the number and the file name are typed, make file is pressed with a real
# click, and the file must hold the bytes that the Linux pelomart-chg makes of the same
# texts in the same code page.
# usage: make_file_e2e.sh path/to/wine-prefix stage/pelomart path/to/linux/pelomart-chg
set -euo pipefail

prefix=$(realpath "$1")
stage=$(realpath "$2")
chg=$(realpath "$3")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ -z "${PELOMART_E2E_INNER:-}" ]; then
    export PELOMART_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 800x650x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH QT_PLUGIN_PATH

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.1; }
replace() { # x y text
    click "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$3"
    sleep 0.1
}
json() { # namn x filenavn
    python3 -c 'import json, sys; print(json.dumps(dict(zip(["namn", "x", "filenavn"], sys.argv[1:]))))' "$@"
}

# Wine takes the ANSI code page and the number format from LANG; the Linux program takes
# the code page from LC_ALL and reads "." numbers by default. Letters that only that code
# page has: "ñ" and "Œ" are not in 1250, "ř" and "Ł" not in 1252.
cases=(
    "de_DE|1252|Señor_Œuvre|12,5"
    "en_US|1252|Señor_Œuvre|12.5"
    "cs_CZ|1250|Hříbek_Łódź|12,5"
)
for row in "${cases[@]}"; do
    IFS='|' read -r language codepage name typed <<<"$row"
    case=$work/$language
    mkdir -p "$case/linux"
    json "$name" 0.5 source.chg >"$case/source.json"
    json "$name" 12.5 walker.chg >"$case/walker.json"
    LC_ALL=$language.UTF-8 "$chg" make --dir "$case" "$case/source.json" >/dev/null
    LC_ALL=$language.UTF-8 "$chg" make --dir "$case/linux" "$case/walker.json" >/dev/null

    cd "$case"
    LANG=$language.UTF-8 LC_ALL=$language.UTF-8 wine "$stage/pelomart.exe" source.chg </dev/null &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name '^Pelomart' | head -n 1)
    sleep 1
    replace 444 273 "$typed"          # x
    replace 484 33 "walker.chg"       # filenavn
    click 488 56                      # make file
    for _ in $(seq 50); do
        [ -s walker.chg ] && break
        sleep 0.1
    done
    if ! cmp walker.chg linux/walker.chg; then
        echo "e2e: $language (code page $codepage): not the Linux program's bytes" >&2
        cmp -l walker.chg linux/walker.chg | head >&2 || true
        exit 1
    fi
    python3 "$here/../e2e/close_window.py" "$window"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || { echo "e2e: $language: exit status $status after closing" >&2; exit 1; }
    echo "e2e: $language, code page $codepage, x typed as $typed: the Linux program's bytes"
done
