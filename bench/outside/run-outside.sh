#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on an Xvfb of its own (with its own home, so the user's settings
# and cache stay untouched), waits for the main window and an idle office, and times clicks
# on "Start Creating Template" from outside.
#   bench/outside/run-outside.sh [clicks = 60] [pause ms = 300]
set -euo pipefail
bin=${FESTORIA_BUILD_DIR:-$(dirname "$0")/../../build}/bin
clicks=${1:-60}
pause=${2:-300}
work=$(mktemp -d /tmp/festoria-outside-XXXXXX)
cleanup() {
    [[ -n ${app_pid:-} ]] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [[ -n ${xvfb_pid:-} ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 300); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")" HOME=$work XDG_CONFIG_HOME=$work/config \
    XDG_CACHE_HOME=$work/cache TEMP=$work/temp
mkdir -p "$TEMP"
"$bin/festoria" >"$work/festoria.log" 2>&1 &
app_pid=$!
main=
for _ in $(seq 1 600); do
    main=$(xdotool search --onlyvisible --name '^Festoria$' 2>/dev/null | head -n 1) && [[ -n $main ]] && break
    sleep 0.1
done
[[ -n $main ]] || { echo "run-outside: the main window did not appear" >&2; exit 1; }
sleep 3 # the office starts and the template is opened ahead
"$bin/festoria-click-to-preview" "$main" "$clicks" "$pause"
