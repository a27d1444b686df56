#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Installs Pelomart silently into a Windows of its own (a copy of the build's Wine prefix),
# as a user without administrator rights, and checks what a user of it sees: every file of
# the package in place, the Start-menu entry, .chg files opening in Pelomart with its icon;
# then uninstalls silently and checks that only Pelomart's own files and keys are gone.
# usage: installer_test.sh path/to/wine-run path/to/wine-prefix setup.exe stage/pelomart
set -euo pipefail

wine_run=$(realpath "$1")
prefix=$(realpath "$2")
setup=$(realpath "$3")
stage=$(realpath "$4")

work=$(mktemp -d)
trap 'PELOMART_WINEPREFIX=$work/wine wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
cp -a "$prefix" "$work/wine"
export PELOMART_WINEPREFIX=$work/wine
fail() { echo "installer: $*" >&2; exit 1; }
# Waits for every process of this Windows: the uninstaller runs a copy of itself and ends.
run() { "$wine_run" "$@"; WINEPREFIX=$PELOMART_WINEPREFIX wineserver -w; }
value() { # key [value name]: the value's data, or nothing when it is missing
    local args=(/ve)
    [ $# -lt 2 ] || args=(/v "$2")
    "$wine_run" reg query "$1" "${args[@]}" 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *[^ ].*REG_[A-Z_]* *//p' | head -n 1
}

run "$setup" /S
users="$work/wine/drive_c/users"
installed=$(find "$users" -maxdepth 5 -path '*/AppData/Local/Programs/Pelomart' -type d)
[ -n "$installed" ] || fail "nothing installed under %LOCALAPPDATA%\\Programs\\Pelomart"
# The installer names its files one by one: a file the package gained and the installer's
# list did not shows here.
diff <(cd "$stage" && find . -type f | sort) \
    <(cd "$installed" && find . -type f ! -name uninstall.exe | sort) ||
    fail "the installed files differ from the package's (< package, > installed)"
[ -e "$installed/uninstall.exe" ] || fail "no uninstaller"
find "$users" -path '*/Start Menu/Programs/Pelomart.lnk' | grep -q . || fail "no Start-menu entry"

exe='C:\users\'"$(basename "$(dirname "$(dirname "$(dirname "$(dirname "$installed")")")")")"'\AppData\Local\Programs\Pelomart\pelomart.exe'
classes='HKCU\Software\Classes'
while IFS='|' read -r key name expected; do
    actual=$(value "$key" ${name:+"$name"})
    [ "$actual" = "$expected" ] || fail "$key ${name:-(default)}: '$actual', expected '$expected'"
done <<EOF
$classes\\.chg||Pelomart.ChangeFile
$classes\\Pelomart.ChangeFile\\shell\\open\\command||"$exe" "%1"
$classes\\Pelomart.ChangeFile\\DefaultIcon||"$exe",0
HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelomart|UninstallString|"${exe%pelomart.exe}uninstall.exe"
EOF
echo "installer: installed silently, .chg opens in Pelomart"

# A change file the user keeps in the program's folder, and another program that took .chg
# after Pelomart: the uninstaller leaves both alone.
printf 'mine' >"$installed/mission.chg"
"$wine_run" reg add "$classes\\.chg" /ve /d Other.File /f >/dev/null
run "$installed/uninstall.exe" /S
[ "$(cat "$installed/mission.chg" 2>/dev/null)" = mine ] || fail "the user's file is gone"
[ "$(find "$installed" -type f)" = "$installed/mission.chg" ] ||
    fail "left behind: $(find "$installed" -type f ! -name mission.chg)"
[ "$(value "$classes\\.chg")" = Other.File ] || fail "another program's .chg was taken away"
for key in "$classes\\Pelomart.ChangeFile" \
    'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelomart'; do
    ! "$wine_run" reg query "$key" >/dev/null 2>&1 || fail "$key is still there"
done
! find "$users" -path '*/Start Menu/Programs/Pelomart.lnk' | grep -q . ||
    fail "the Start-menu entry is still there"
echo "installer: uninstalled silently, the user's file and another program's .chg kept"
