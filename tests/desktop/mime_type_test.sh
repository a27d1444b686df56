#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Installs the build into a temporary prefix and checks, with the desktop's own tools
# (shared-mime-info and GIO), that change files are typed by their content: the worked
# example, made by the built pelomart-chg, is application/x-pelomart-change under any
# name, a text file named notes.chg is not, and the desktop entry opens that type.
# usage: mime_type_test.sh BUILD-DIR path/to/pelomart-chg
set -euo pipefail

for tool in update-mime-database:shared-mime-info update-desktop-database:desktop-file-utils \
    gio:libglib2.0-bin; do
    command -v "${tool%%:*}" >/dev/null ||
        { echo "needs ${tool%%:*}, from Debian's package ${tool#*:}" >&2; exit 1; }
done
build=$(realpath "$1")
chg=$(realpath "$2")
type=application/x-pelomart-change
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
# Only the installed files and the system's: no user's own MIME data or default
# applications, and GIO's local file system alone, so that no GVfs daemon or message
# bus is asked, on a desktop either.
export XDG_DATA_HOME=$work/home XDG_DATA_DIRS=$prefix/share:/usr/share GIO_USE_VFS=local
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/config
# What Debian's triggers run when the package is installed: the MIME database, and the
# index of the applications that open each type, which GIO reads.
update-mime-database "$prefix/share/mime"
update-desktop-database "$prefix/share/applications"

content_type() {
    gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
failures=0
expect() { # description, what it is, what it should be
    if [ "$2" = "$3" ]; then
        echo "ok: $1: $2"
    else
        echo "FAILED: $1: $2, not $3" >&2
        failures=$((failures + 1))
    fi
}
expect_not() { # description, what it is, what it should not be
    if [ "$2" != "$3" ]; then
        echo "ok: $1: $2"
    else
        echo "FAILED: $1: $2" >&2
        failures=$((failures + 1))
    fi
}

# The worked example: the window's start texts, the rotation in C's number format.
cd "$work"
printf '{"xrotsing": "0.68114573", "zrotsing": "-0.73214793"}\n' >worked.json
"$chg" make --locale C worked.json >/dev/null
[ "$(stat -c %s clovek.chg)" -eq 284 ] || { echo "FAILED: the worked example is not 284 bytes" >&2; exit 1; }
cp clovek.chg clovek
# All three fixed numbers must match, not just the first.
cp clovek.chg block8.chg
printf '\x08' | dd of=block8.chg bs=1 seek=12 conv=notrunc status=none
printf 'Things to do before the next mission:\n- more pedestrians\n' >notes.chg

expect "the worked example, clovek.chg" "$(content_type clovek.chg)" "$type"
expect "the worked example without a suffix" "$(content_type clovek)" "$type"
expect_not "the worked example with block 8 at offset 12" "$(content_type block8.chg)" "$type"
expect_not "a text file named notes.chg" "$(content_type notes.chg)" "$type"

desktop=$prefix/share/applications/org.pelomart.Pelomart.desktop
mime_types=$(sed -n 's/^MimeType=//p' "$desktop")
expect "the desktop entry's MimeType= lists it" \
    "$(tr ';' '\n' <<<"$mime_types" | grep -Fx "$type" || true)" "$type"
# GIO reads the same entry: Pelomart opens the type. (GIO leaves out an entry whose
# program is not on the PATH.)
expect "the application GIO opens it with" \
    "$(PATH=$prefix/bin:$PATH gio mime "$type" | sed -n 's/^Default application for .*: //p')" \
    org.pelomart.Pelomart.desktop

[ "$failures" -eq 0 ]
