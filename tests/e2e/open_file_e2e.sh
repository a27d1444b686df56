#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Starts the built program under Xvfb with change files made from random field sets, opens
# another with Ctrl+O, and presses "make file" with real input events (a click, then Return
# on the focused button): each file must come back byte for byte, in a locale with a
# decimal comma and one with a point. Also the command line's --version and a bad option.
# usage: open_file_e2e.sh path/to/pelomart path/to/pelomart-chg
set -euo pipefail

program=$(realpath "$1")
chg=$(realpath "$2")

if [ -z "${PELOMART_E2E_INNER:-}" ]; then
    export PELOMART_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 800x650x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime" "$work/elsewhere"
cd "$work/elsewhere"

# Without a display too, as on a console.
[ "$(DISPLAY= "$program" --version)" = "pelomart 1.0.0" ]
[ "$(DISPLAY= "$program" --help | head -n 1)" = "Usage: pelomart [options] [FILE]" ]
for display in "$DISPLAY" ""; do
    status=0
    DISPLAY=$display "$program" -h.chg 2>"$work/usage" || status=$?
    [ "$status" -eq 2 ] || { echo "e2e: a bad option ended with status $status" >&2; exit 1; }
    grep -qF "unknown option '-h.chg'; 'pelomart -- -h.chg' opens a file of that name" "$work/usage"
done
echo "e2e: --version and --help without a display, and a bad option ends with status 2"

# Random texts for every box in the C locale's number format, two humans a locale.
make_files() { # directory seed
    python3 - "$2" >"$1.json" <<'EOF'
import json, random, struct, sys
rng = random.Random(int(sys.argv[1]))
letters = "aZ _'\"äöüß€é,.-0"
def word(longest):
    return "".join(rng.choice(letters) for _ in range(rng.randint(0, longest)))
def single():
    while True:
        value = struct.unpack("<f", struct.pack("<I", rng.getrandbits(32)))[0]
        if value == value and abs(value) != float("inf"):
            return "%.9g" % value
behaviours = ["", "Duck", "No Reaction", "No Reaction on weapon", "React when hit",
              "Reaction on Player", "React on Attack", "React on Attack2", "Afraid"]
humans = []
for i in (1, 2):
    human = {box: single() for box in ["x", "y", "z", "xscalesing", "yscalesing", "zscalesing",
                                        "xrotsing", "yrotsing", "zrotsing"]}
    human.update(namn=word(20), model=word(20) + ".i3d", behavior=rng.choice(behaviours),
                 paramlong1=str(rng.randint(-10, 31)), filenavn="h%d.chg" % i,
                 script="\r\n".join(word(30) for _ in range(rng.randint(0, 5))))
    humans.append(human)
json.dump(humans, sys.stdout, ensure_ascii=False)
EOF
    mkdir "$1" "$1.expected"
    "$chg" make --locale C --dir "$1" "$1.json" >/dev/null
    cp "$1"/*.chg "$1.expected/"
}

start() { # locale file
    LC_ALL="$1.UTF-8" "$program" "$2" &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name '^Pelomart' | head -n 1)
    sleep 0.5
}

made_again() { # file expected
    for _ in $(seq 50); do
        [ -s "$1" ] && break
        sleep 0.1
    done
    cmp "$1" "$2"
}

stop() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}

seed=$RANDOM
for locale in de_DE en_US; do
    dir="$work/$locale"
    make_files "$dir" "$seed"
    start "$locale" "$dir/h1.chg"
    rm "$dir/h1.chg"
    xdotool mousemove --window "$window" 488 56 click 1 # make file
    made_again "$dir/h1.chg" "$dir.expected/h1.chg"

    xdotool key ctrl+o
    xdotool search --sync --onlyvisible --name '^Open a change file' >/dev/null
    sleep 0.3
    xdotool type --delay 5 "$dir/h2.chg"
    xdotool key Return
    while xdotool search --onlyvisible --name '^Open a change file' >/dev/null; do
        sleep 0.1
    done
    sleep 0.3
    rm "$dir/h2.chg"
    xdotool key Return # the focus is back on make file
    made_again "$dir/h2.chg" "$dir.expected/h2.chg"
    stop
    echo "e2e: $locale: opened by argument and by Ctrl+O, made again byte for byte (seed $seed)"
done

# A name that is not UTF-8 opens; the box names it, and make file writes what filenavn shows.
cp "$work/en_US.expected/h1.chg" "$work/caf"$'\xe9'".chg"
start en_US "$work/caf"$'\xe9'".chg"
xdotool key Return # closes the box that lists the file name
sleep 0.3
xdotool mousemove --window "$window" 488 56 click 1
made_again "$work/caf"$'\xef\xbf\xbd'".chg" "$work/en_US.expected/h1.chg"
stop
echo "e2e: a name that is not UTF-8 opens"
