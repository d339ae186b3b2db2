# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the tests that drive the real program under X: a private home, config, cache and
# temporary folder, an Xvfb of its own when no display is set, and real input events.
#   source lib.sh <bin folder> <artifact folder>
bin=$(cd "$1" && pwd)
artifacts=$2
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/festoria-e2e-XXXXXX)
export XDG_RUNTIME_DIR=$work/runtime
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache TEMP=$work/temp
mkdir -p -m 0700 "$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$work/out"
# A private TEMP whatever the umask: in a folder others may write to, the program works in a
# private folder of its own inside it.
mkdir -p -m 0700 "$TEMP"
# Qt takes the regional formats from these names; the C library need not know them.
export LANG=en_US.UTF-8 QT_QPA_PLATFORM=xcb
unset LC_ALL LC_TIME
unset QT_QPA_PLATFORMTHEME SESSION_MANAGER

# The office processes whose profile lies in a cache folder: the office is given its profile
# in its environment, not on its command line.
offices_of() {
    local p
    for p in /proc/[0-9]*; do
        tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -q "^UserInstallation=file://$1" &&
            echo "${p#/proc/}"
    done
    return 0
}

xvfb_pid=
app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill -9 "$app_pid" 2>/dev/null || true
    # Waited for: an X server still ending would remove the socket of the next test's server
    # under the same display number.
    [[ -n $xvfb_pid ]] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true
    offices_of "$XDG_CACHE_HOME" | xargs -r kill -9 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "e2e: FAILED: $*" >&2
    "$bin/festoria-screenshot" "$artifacts/failure-$(basename "$0" .sh).png" 2>/dev/null || true
    exit 1
}

if [[ -z ${DISPLAY:-} ]]; then
    # Xvfb picks a free display itself and says which: two runs at once never race for one.
    Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 300); do [[ -s $work/display ]] && break; sleep 0.1; done
    [[ -s $work/display ]] || { echo "e2e: FAILED: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n 1 "$work/display")"
fi

# Waits for a visible top-level window whose title matches, other than the ones given.
wait_window() {
    local title=$1 seconds=$2
    shift 2
    local deadline=$((SECONDS + seconds)) id
    while ((SECONDS < deadline)); do
        for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
            local other=0
            for skip in "$@"; do [[ $id == "$skip" ]] && other=1; done
            ((other == 0)) && { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}

click() { # window x y (client coordinates)
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.2
}

type_into() { # window x y text
    click "$1" "$2" "$3"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 2 -- "$4"
    sleep 0.1
}

field_y() { echo $((74 + 20 + 30 * $1 + 11)); } # the frame's top, the field's row, its middle
field_x=$((8 + 136 + 100))

