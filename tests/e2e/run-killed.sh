#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program killed (SIGKILL) in the middle of a request: its office goes with it, the next
# start works and cleans up what was left, and the settings hold the last typed values. Ended
# by a signal with the preview open (SIGTERM, SIGHUP, SIGUSR1, or a second signal while the
# first one's orderly end runs), it leaves nothing behind.
#   run-killed.sh <bin folder> <artifact folder>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

office_running() { [[ -n $(offices_of "$XDG_CACHE_HOME") ]]; }

"$bin/festoria" >"$artifacts/killed-first.log" 2>&1 &
app_pid=$!
main=$(wait_window '^Festoria$' 60) || fail "the main window did not appear"
sleep 0.5
type_into "$main" $field_x "$(field_y 2)" "Killed Party"
click "$main" 268 21 # Start Creating Template
sleep 0.3
office_running || fail "no office ran during the request"
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=
for _ in $(seq 1 50); do office_running || break; sleep 0.1; done
office_running && fail "the office outlived the killed program"
# What the killed request made (its template copy, maybe its document) goes at the next start,
# once that run is known to have ended; a running copy's files are never touched.
grep -qxF "txtEventName=Killed Party" "$XDG_CONFIG_HOME/Quillmont.conf" ||
    fail "the settings lost the last typed value"

# Each start must make an invitation; each end, by closing the preview or by a signal with the
# preview open, leaves nothing in TEMP and no office.
for ending in close TERM HUP USR1 TERM,HUP INT,TERM; do
    "$bin/festoria" >"$artifacts/killed-$ending.log" 2>&1 &
    app_pid=$!
    main=$(wait_window '^Festoria$' 60) || fail "the next start did not show the main window"
    sleep 1
    if xdotool search --onlyvisible --name '^Application Error$' >/dev/null 2>&1; then
        fail "the next start reported an error"
    fi
    [[ -z $(ls -A "$TEMP") ]] || fail "the killed run's files are left: $(ls -A "$TEMP")"
    click "$main" 268 21
    preview=$(wait_window '^Festoria$' 90 "$main") || fail "the next start cannot make an invitation"
    [[ -n $(ls -A "$TEMP") ]] || fail "no document while the preview is open"
    if [[ $ending == close ]]; then
        "$bin/festoria-screenshot" "$artifacts/killed-then-preview.png"
        "$bin/festoria-xclose" "$preview"
    else
        for signal in ${ending//,/ }; do
            kill -"$signal" "$app_pid" 2>/dev/null || true
            sleep 0.05
        done
    fi
    for _ in $(seq 1 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$app_pid" 2>/dev/null && fail "the program did not end ($ending)"
    app_pid=
    sleep 1
    office_running && fail "an office process outlived the program ($ending)"
    leftovers=$(ls -A "$TEMP")
    [[ -z $leftovers ]] || fail "ended by $ending, the temporary folder holds «$leftovers»"
done
echo "killed: passed"
