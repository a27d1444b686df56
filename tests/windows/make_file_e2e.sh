#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Starts pelomart.exe from the package's folder under Wine and Xvfb, with no DLL path but
# its own, once per Windows language: a name with letters of that code page, a number in
# that language's notation and a file name are typed, make file is pressed with a real
# click, and the file must hold the bytes that the Linux pelomart-chg makes of the same
# texts in the same code page.
# usage: make_file_e2e.sh path/to/wine-run path/to/type_text.exe stage/pelomart \
#                         path/to/linux/pelomart-chg
set -euo pipefail

wine_run=$(realpath "$1")
type_text=$(realpath "$2")
stage=$(realpath "$3")
chg=$(realpath "$4")
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
# The program runs as it would from the unzipped folder: no DLL path but its own.
eval "$(grep -E '^export WINE(PREFIX|DEBUG|DLLOVERRIDES)=' "$wine_run")"
unset WINEPATH QT_PLUGIN_PATH

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.1; }
replace() { # x y text
    click "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 -- "$3"
    sleep 0.1
}
unicode() { # x y text: letters that no X keyboard layout here has, through Windows' input
    click "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    printf '%s' "$3" >"$work/typed.txt"
    "${in_language[@]}" "$wine_run" "$type_text" "$work/typed.txt"
    sleep 0.1
}
json() { # namn x filenavn
    python3 -c 'import json, sys; print(json.dumps(dict(zip(["namn", "x", "filenavn"], sys.argv[1:]))))' "$@"
}

# Wine takes the ANSI code page and the number format from LANG; the Linux program takes
# the code page from LC_ALL and reads "." numbers by default. Each name holds letters that
# only its code page has ("ñ", "Œ" and "ƒ" are not in 1250, "ř", "Ł" and "Ť" not in 1252).
# The numbers are typed with the language's decimal separator; the rotations too, whose
# start texts hold a comma that English refuses.
cases=(
    "de_DE|1252|,|Señor_Œuvre_ƒ"
    "en_US|1252|.|Señor_Œuvre_ƒ"
    "cs_CZ|1250|,|Hříbek_Łódź_Ťť"
)
for row in "${cases[@]}"; do
    IFS='|' read -r language codepage point name <<<"$row"
    case=$work/$language
    mkdir -p "$case/linux"
    json "$name" 12.5 walker.chg >"$case/walker.json"
    LC_ALL=$language.UTF-8 "$chg" make --dir "$case/linux" "$case/walker.json" >/dev/null

    cd "$case"
    # Every Windows program of the case in one language: Wine writes the language of each
    # program it starts into the user's settings, which the running window reads.
    in_language=(env LANG="$language.UTF-8" LC_ALL="$language.UTF-8")
    "${in_language[@]}" wine "$stage/pelomart.exe" </dev/null &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name '^Pelomart' | head -n 1)
    sleep 1
    unicode 100 33 "$name"            # namn
    replace 444 273 "12${point}5"         # x
    replace 552 273 "0${point}68114573"   # xrotsing
    replace 552 337 "-0${point}73214793"  # zrotsing
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
    echo "e2e: $language, code page $codepage, \"$point\" numbers: the Linux program's bytes"
done
