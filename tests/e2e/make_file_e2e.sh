#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Starts the built program under Xvfb, fills in fields and presses "make file" with
# real input events, then checks the file the program wrote.
# usage: make_file_e2e.sh path/to/pelomart path/to/pelomart-chg
set -euo pipefail

program=$(realpath "$1")
chg=$(realpath "$2")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ -z "${PELOMART_E2E_INNER:-}" ]; then
    export PELOMART_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 800x650x24" "$0" "$@"
fi

# Made after the exec: a trap set before it would never run.
work=$(mktemp -d)
pid=
cleanup() {
    # The program is left running only when a check failed.
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/mission"
cd "$work/mission"
LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=xcb "$program" &
pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Pelomart' | head -n 1)
sleep 0.5

# Window-relative pixel positions of the controls' centres.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.1; }
replace() { # x y text
    click "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$3"
    sleep 0.1
}

replace 100 33 "E2E_Walker"       # namn
replace 444 273 "12,5"            # x
replace 176 57 "45"               # paramlong1: held at 31
replace 484 33 "walker.chg"       # filenavn
click 324 58                      # behavior: open the list
xdotool key End Return
sleep 0.2
click 488 56                      # make file

for _ in $(seq 50); do
    [ -s walker.chg ] && break
    sleep 0.1
done
# The file is read back by the program's own strict reader.
"$chg" show --json walker.chg | python3 -c '
import json, sys
[human] = json.load(sys.stdin)
typed = {"x": "12.5", "y": "-5", "z": "18", "namn": "E2E_Walker", "behavior": "Afraid",
         "paramlong1": "31", "filenavn": "walker.chg"}
wrong = {key: human[key] for key, text in typed.items() if human[key] != text}
assert not wrong, wrong
print("e2e: change file as typed")
'
# And it comes back byte for byte through show --json and make.
"$chg" show --json walker.chg >walker.json
mkdir again
"$chg" make --locale C --dir again walker.json >/dev/null
cmp walker.chg again/walker.chg
echo "e2e: made again from show --json, byte for byte"

# Closing the window ends the program, successfully.
close_and_wait() {
    python3 "$here/close_window.py" "$window"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        echo "e2e: the program did not end when its window was closed" >&2
        exit 1
    fi
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || { echo "e2e: exit status $status after closing" >&2; exit 1; }
}
close_and_wait
echo "e2e: window closed, exit status 0"

# Started in a directory whose name is not UTF-8, as archives made elsewhere unpack, the
# window makes its file there, where its list shows it.
odd=$(printf '%s/caf\xE9' "$work")
mkdir "$odd"
cd "$odd"
LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=xcb "$program" &
pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Pelomart' | head -n 1)
sleep 0.5
click 488 56                      # make file
for _ in $(seq 50); do
    [ -s clovek.chg ] && break
    sleep 0.1
done
if ! "$chg" check clovek.chg >/dev/null; then
    kill "$pid"
    echo "e2e: no change file made in the directory named caf\\xE9" >&2
    exit 1
fi
close_and_wait
echo "e2e: made in a directory whose name is not UTF-8"
