#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a desktop citizen: the desktop entry, the AppStream metainfo and the manual
# page pass their validators and install where they belong, and --help / --version answer
# without a display, an office or a window.
# Usage: check-desktop.sh <source dir> <build dir>
set -euo pipefail
source=$1
build=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$source/packaging/festoria.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$source/packaging/com.quillmont.festoria.metainfo.xml" ||
    fail "metainfo"
warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$source/packaging/festoria.1" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "manual page: $warnings"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
DESTDIR=$out cmake --install "$build" --prefix /usr >/dev/null
for f in usr/bin/festoria usr/lib/festoria/festoria usr/lib/festoria/office/festoria-in-office.so \
    usr/share/applications/festoria.desktop usr/share/metainfo/com.quillmont.festoria.metainfo.xml usr/share/man/man1/festoria.1.gz; do
    [[ -e $out/$f ]] || fail "not installed: $f"
done
man -l "$out/usr/share/man/man1/festoria.1.gz" 2>/dev/null | grep -q "festoria - turn party details" ||
    fail "the installed manual page does not read"

# No display, and an office that would leave a mark if it were started.
marker=$out/office-started
fake=$out/soffice
printf '#!/bin/sh\ntouch %q\n' "$marker" >"$fake"
chmod +x "$fake"
for option in --help -h; do
    help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= FESTORIA_SOFFICE="$fake" \
        "$build/bin/festoria" "$option") || fail "$option exits with an error"
    grep -q -- "--version" <<<"$help" || fail "$option: $help"
done
# As the launcher runs it: the usage names the command, not the program's path.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= FESTORIA_SOFFICE="$fake" \
    "$out/usr/bin/../lib/festoria/festoria" --help) || fail "--help from the launcher's path"
grep -q "^Usage: festoria \[options\]" <<<"$help" || fail "--help names the path: $help"

version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= FESTORIA_SOFFICE="$fake" \
    "$build/bin/festoria" --version) || fail "--version exits with an error"
[[ $version =~ ^Festoria\ [0-9]+\.[0-9]+ ]] || fail "--version: $version"
[[ ! -e $marker ]] || fail "the office was started"
echo "desktop entry, metainfo, manual page, --help and --version: fine"
