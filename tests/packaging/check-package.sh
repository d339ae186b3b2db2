#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as Debian's own checker sees it: CPack builds it from the build folder,
# and lintian finds no error and no warning beyond those the package's overrides explain
# (each with its reason). An override that no longer silences anything fails too, so a
# reason never outlives its cause.
# Usage: check-package.sh <build dir>
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || {
    cat "$out/cpack.log"
    fail "cpack could not build the package"
}
packages=("$out"/*.deb)
[[ ${#packages[@]} -eq 1 && -f ${packages[0]} ]] || fail "cpack made no single package"

report=$(lintian --fail-on none --info --display-info --show-overrides "${packages[0]}" \
    2>"$out/lintian.err") || {
    cat "$out/lintian.err"
    fail "lintian did not run"
}
echo "$report" | grep -v '^N:' || true
problems=$(grep -E '^[EW]: |unused-override' <<<"$report" || true)
[[ -z $problems ]] || fail "lintian: $problems"
echo "$(basename "${packages[0]}"): no lintian error or warning beyond its overrides"
