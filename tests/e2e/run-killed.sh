#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program killed (SIGKILL) in the middle of a request: its office goes with it, the next
# start works and cleans up what was left, and the settings hold the last typed values.
#   run-killed.sh <bin folder> <artifact folder>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

office_running() { pgrep -f "UserInstallation=file://$XDG_CACHE_HOME" >/dev/null; }

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
# A document the killed request had already saved stays (TEMP may be shared with a second
# instance of the program, whose document must never be deleted behind its back); the
# template copy is reused and removed by the next request.
orphans=$(ls -A "$TEMP" | grep -vxF template.dot || true)
grep -qxF "txtEventName=Killed Party" "$XDG_CONFIG_HOME/Quillmont.conf" ||
    fail "the settings lost the last typed value"

"$bin/festoria" >"$artifacts/killed-second.log" 2>&1 &
app_pid=$!
main=$(wait_window '^Festoria$' 60) || fail "the next start did not show the main window"
sleep 1
if xdotool search --onlyvisible --name '^Application Error$' >/dev/null 2>&1; then
    fail "the next start reported an error"
fi
click "$main" 268 21
preview=$(wait_window '^Festoria$' 90 "$main") || fail "the next start cannot make an invitation"
"$bin/festoria-screenshot" "$artifacts/killed-then-preview.png"
"$bin/festoria-xclose" "$preview"
for _ in $(seq 1 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "closing the preview did not end the program"
app_pid=
sleep 1
office_running && fail "an office process outlived the program"
leftovers=$(ls -A "$TEMP")
[[ $leftovers == "$orphans" ]] || fail "the temporary folder holds «$leftovers», not only «$orphans»"
echo "killed: passed"
