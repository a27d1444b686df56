#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Holds data/pelomart-change.ksy to the strict reader: the built pelomart-chg makes files
# from a few JSON objects, the Kaitai Struct compiler turns the .ksy into a JavaScript
# parser, and every field that parser reads must be the value `show --json` reads. Files
# that pelomart-chg refuses must be refused by the parser too.
# The compiler and its runtime come from npm at the versions that package-lock.json pins,
# installed into TOOLS-DIR (in the build directory, never the source tree); scripts/dev
# test installs them. Run alone, the test installs them itself when npm is there, and is
# skipped (status 77) only when there is no npm and it is not run by scripts/dev.
# usage: kaitai_parse_test.sh KSY path/to/pelomart-chg TOOLS-DIR
set -euo pipefail

ksy=$(realpath "$1")
chg=$(realpath "$2")
tools=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Installed again when the pinned versions have changed since.
if [ ! -d "$tools/node_modules" ] || ! cmp -s "$here/package-lock.json" "$tools/package-lock.json"; then
    if command -v npm >/dev/null; then
        mkdir -p "$tools"
        cp "$here/package.json" "$here/package-lock.json" "$tools/"
        npm ci --prefix "$tools" --no-audit --no-fund >"$tools/npm-ci.log" 2>&1 ||
            { cat "$tools/npm-ci.log" >&2; echo "FAILED: npm ci in $tools" >&2; exit 1; }
    elif [ -n "${PELOMART_DEV_TEST:-}" ]; then
        echo "FAILED: no npm, and the Kaitai Struct compiler is not in $tools/node_modules" \
            "at the pinned versions" >&2
        exit 1
    else
        echo "SKIPPED: needs node and npm (Debian's packages nodejs and npm), or" \
            "scripts/dev test, which installs them and the Kaitai Struct compiler"
        exit 77
    fi
fi
export NODE_PATH=$tools/node_modules

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir out

# The objects, as JSON: the worked example; empty texts with the extremes of a float; the
# longest record (32,767 bytes: N + M + S = 32,592); and every behaviour of the list, with
# texts that are not ASCII and types either side of the man/woman line.
node - >objects.json <<'EOF'
const worked = { xrotsing: '0.68114573', zrotsing: '-0.73214793' };
const behaviours = ['Duck', 'No Reaction', 'No Reaction on weapon', 'React when hit',
    'Reaction on Player', 'React on Attack', 'React on Attack2', 'Afraid'];
let script = '';
while (script.length < 32555 - 21) {
    script += 'findactor 1,"Zozed"\r\n';
}
script += 'x'.repeat(32555 - script.length);
const objects = [
    { ...worked, filenavn: 'worked.chg' },
    { ...worked, filenavn: 'empty.chg', namn: '', model: '', script: '',
      x: '1e-45', y: '-0', z: '3.4028235e38', xscalesing: '-1.17549435e-38',
      yscalesing: '0.1', zscalesing: '16777217' },
    { ...worked, filenavn: 'longest.chg', script },
    ...behaviours.map((behavior, i) => ({
        ...worked, filenavn: `behaviour${i}.chg`, behavior, paramlong1: String([0, 28, 29, 31][i % 4]),
        namn: ['Zoë', 'café', 'Straße', 'naïve «x»'][i % 4], x: String(-i * 0.1), yrotsing: String(i / 3),
    })),
];
console.log(JSON.stringify(objects));
EOF
"$chg" make --locale C --dir out objects.json >/dev/null
files=(out/worked.chg out/empty.chg out/longest.chg out/behaviour{0..7}.chg)
[ "$(stat -c %s out/longest.chg)" -eq 32769 ] ||
    { echo "FAILED: longest.chg is $(stat -c %s out/longest.chg) bytes, not 32769" >&2; exit 1; }
# The code page of the C locale, the one the .ksy names.
LC_ALL=C "$chg" show --json "${files[@]}" >shown.json

# Files the strict reader refuses, each the worked example with one fault:
# name, offset, bytes written there.
mkdir refused
while read -r name offset bytes; do
    cp out/worked.chg "refused/$name.chg"
    printf "$bytes" | dd of="refused/$name.chg" bs=1 seek="$offset" conv=notrunc status=none
done <<'EOF'
magic 1 \x05
record-length-283 2 \x1b
record-length-high-half 4 \x01
fixed-value-8 12 \x08
block-length-114 8 \x72
sector-name-capital 85 S
human-kind-7 129 \x07
script-section-258 202 \x02
line-end-lf-lf 282 \x0a\x0a
EOF
cp out/worked.chg refused/trailing-byte.chg
printf 'x' >>refused/trailing-byte.chg
head -c 283 out/worked.chg >refused/no-lf.chg
refused=(refused/*.chg)
for file in "${refused[@]}"; do
    if "$chg" check "$file" >/dev/null 2>&1; then
        echo "FAILED: pelomart-chg check takes $file, which should be a refused file" >&2
        exit 1
    fi
done

node "$here/parse_with_ksy.js" "$ksy" "$work" shown.json "${files[@]}" -- "${refused[@]}"
