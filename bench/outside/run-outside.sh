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
# The office starts, answers the start-up check and prepares itself in its first idle moment
# (a rehearsed request, the template opened ahead), as it does while a user reads the window:
# wait until its processor time has stood still for half a second.
office_ticks() {
    local total=0 pid fields p
    for p in /proc/[0-9]*; do
        tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -q "^UserInstallation=file://$work/" ||
            continue
        pid=${p#/proc/}
        read -ra fields <<<"$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null || true)"
        ((${#fields[@]} > 12)) && total=$((total + fields[11] + fields[12]))
    done
    echo "$total"
}
last=-1 quiet=0
for _ in $(seq 1 240); do
    sleep 0.25
    now=$(office_ticks)
    if ((now > 0 && now == last)); then ((++quiet >= 2)) && break; else quiet=0; fi
    last=$now
done
"$bin/festoria-click-to-preview" "$main" "$clicks" "$pause"
