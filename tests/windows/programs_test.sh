#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# What Windows reads from the two programs' headers before running them: the window is a
# GUI program (no console window opens beside it), pelomart-chg a console program (cmd.exe
# waits for it and shows its output) that loads no Qt GUI library; each carries its icon
# and the project's version for Explorer.
# usage: programs_test.sh objdump windres version pelomart.exe pelomart-chg.exe
set -euo pipefail
objdump=$1 windres=$2 version=$3 window=$4 chg=$5

fail() { echo "programs: $*" >&2; exit 1; }
while IFS='|' read -r program subsystem needs refuses; do
    headers=$("$objdump" -p "$program")
    name=$(basename "$program")
    grep -q "^Subsystem.*($subsystem)" <<<"$headers" || fail "$name is not a $subsystem program"
    grep -q "DLL Name: $needs" <<<"$headers" || fail "$name does not load $needs"
    if [ -n "$refuses" ] && grep -E "DLL Name: ($refuses)" <<<"$headers"; then
        fail "$name loads a library it must not"
    fi
    resources=$("$windres" -i "$program" -O rc)
    grep -q 'RT_GROUP_ICON' <<<"$resources" || fail "$name has no icon"
    grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" ||
        fail "$name does not carry the version $version"
done <<ROWS
$window|Windows GUI|Qt6Widgets.dll|
$chg|Windows CUI|Qt6Core.dll|Qt6Gui.dll|Qt6Widgets.dll
ROWS
echo "programs: the window a GUI program, pelomart-chg a console one without Qt's GUI; icons and version $version"
