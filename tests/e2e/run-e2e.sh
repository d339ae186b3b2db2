#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of the real program: starts build/bin/festoria under X (an Xvfb of its
# own when no display is set), types the details with real input events, makes an
# invitation, zooms, drags, saves it as .doc and (from the picture's menu) as PDF, goes back,
# makes a second one and closes; then checks the saved files, the settings file, the
# temporary folder and the office processes.
#   run-e2e.sh <bin folder> <artifact folder>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

"$bin/festoria" >"$artifacts/festoria.log" 2>&1 &
app_pid=$!
main=$(wait_window '^Festoria$' 60) || fail "the main window did not appear"
xdotool windowfocus --sync "$main" 2>/dev/null || true
sleep 0.5

# Tabbing into a picker selects its first section; each full section moves to the next.
click "$main" $field_x "$(field_y 6)"
xdotool key Tab Tab Tab Tab # the three buttons, then the date picker
xdotool type --delay 40 "21Aug2021"
xdotool key Tab
xdotool type --delay 40 "73000PM" # the whole "PM": a lone "P" keeps the time's old half of the day
type_into "$main" $field_x "$(field_y 2)" "Harbor Gala"
type_into "$main" $field_x "$(field_y 3)" "Pier 9, Boston"
type_into "$main" $field_x "$(field_y 4)" "lanterns and a smile"
type_into "$main" $field_x "$(field_y 5)" "Route 1 north, exit 22"
type_into "$main" $field_x "$(field_y 6)" "host@example.org"
"$bin/festoria-screenshot" "$artifacts/main-window.png"

click "$main" 268 21 # Start Creating Template
preview=$(wait_window '^Festoria$' 90 "$main") || fail "the preview did not appear"
sleep 1
"$bin/festoria-screenshot" "$artifacts/preview.png"

click "$preview" 168 557 # Zoom In
xdotool mousemove --window "$preview" 300 300 mousedown 1 mousemove --window "$preview" 250 240 \
    mousemove --window "$preview" 200 200 mouseup 1
sleep 0.3
"$bin/festoria-screenshot" "$artifacts/preview-zoomed.png"

saved="$work/out/Harbor Gala.doc"
click "$preview" 488 603 # Save Results To Word File
dialog=$(wait_window '^Save File$' 20) || fail "the save dialog did not appear"
sleep 0.5
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 2 -- "$saved"
xdotool key Return
done_box=$(wait_window '^Festoria$' 20 "$main" "$preview") || fail "no Done. message"
"$bin/festoria-screenshot" "$artifacts/done.png"
xdotool windowfocus --sync "$done_box" 2>/dev/null || true
xdotool key Return
sleep 0.5
[[ -f $saved ]] || fail "nothing saved at $saved"

# The same invitation as a PDF, from the picture's context menu: the name's extension picks
# the format while the Word filter is still selected.
pdf="$work/out/Harbor Gala.PDF"
xdotool mousemove --window "$preview" 300 300 click 3
sleep 0.5
"$bin/festoria-screenshot" "$artifacts/context-menu.png"
xdotool key Down Return # "Save As..."
dialog=$(wait_window '^Save File$' 20) || fail "the context menu did not open the save dialog"
sleep 0.5
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 2 -- "$pdf"
xdotool key Return
done_box=$(wait_window '^Festoria$' 60 "$main" "$preview") || fail "no Done. after the PDF"
xdotool windowfocus --sync "$done_box" 2>/dev/null || true
xdotool key Return
sleep 0.5
[[ -f $pdf ]] || fail "nothing saved at $pdf"

click "$preview" 164 603 # < Back
main_again=$(wait_window '^Festoria$' 20 "$preview") || fail "the main window did not come back"
type_into "$main" $field_x "$(field_y 2)" "Harbor Gala II"
click "$main" 268 21
sleep 1
preview2=$(wait_window '^Festoria$' 90 "$main") || fail "the second preview did not appear"
sleep 1
"$bin/festoria-screenshot" "$artifacts/preview-second.png"
"$bin/festoria-xclose" "$preview2"
for _ in $(seq 1 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "closing the preview did not end the program"
wait "$app_pid" || true
app_pid=

# The saved file is a Word 97 document (an OLE compound file) holding exactly our texts.
[[ $(head -c 8 "$saved" | od -An -tx1 | tr -d ' \n') == d0cf11e0a1b11ae1 ]] || fail "not an OLE file"
"$bin/festoria-doctext" "$saved" >"$artifacts/saved.txt" 2>/dev/null || fail "the office cannot read $saved"
expect() { grep -qxF -- "$1" "$artifacts/saved.txt" || fail "saved document lacks the line «$1»"; }
expect "Harbor Gala"
expect "When:  Saturday, August 21st, 2021  7:30 PM"
expect "Where:  Pier 9, Boston"
expect "What to bring: lanterns and a smile"
expect "Driving directions: Route 1 north, exit 22"
expect "RSVP to: host@example.org"

# The PDF: one US Letter page with every font embedded.
cp "$pdf" "$artifacts/saved.pdf"
pdfinfo "$pdf" >"$artifacts/saved-pdf.txt" || fail "$pdf is no PDF"
grep -qE '^Pages: +1$' "$artifacts/saved-pdf.txt" || fail "the PDF has not one page"
grep -qE '^Page size: +612 x 792 pts' "$artifacts/saved-pdf.txt" || fail "the PDF page is not US Letter"
pdffonts "$pdf" | tail -n +3 | awk '{ if ($(NF-4) != "yes") bad = 1 } END { exit bad }' ||
    fail "a font of the PDF is not embedded"
pdftotext "$pdf" - | grep -qiF "Harbor Gala" || fail "the PDF lacks the event's name"

settings=$XDG_CONFIG_HOME/Quillmont.conf
for line in "txtEventName=Harbor Gala II" "txtLocation=\"Pier 9, Boston\"" \
    "txtItems=lanterns and a smile" "txtDrive=\"Route 1 north, exit 22\"" "txtRSVP=host@example.org" \
    "dtpDate=8/21/2021" "dtpTime=$(date +%-m/%-d/%Y) 7:30:00 PM"; do
    grep -qxF -- "$line" "$settings" || { cat "$settings" >&2; fail "settings lack «$line»"; }
done
grep -qxF "[Festoria]" "$settings" || fail "settings lack their group"

leftovers=$(ls -A "$TEMP")
[[ -z $leftovers ]] || fail "the temporary folder still holds: $leftovers"
sleep 1
if [[ -n $(offices_of "$XDG_CACHE_HOME") ]]; then
    fail "an office process outlived the program"
fi
echo "e2e: passed; screenshots in $artifacts"
