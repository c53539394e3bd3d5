#!/bin/sh
# Takes the README's pictures of the Monitor Data window under Xvfb at
# 1280x800:
#   docs/monitor-data.png          the simulated unit after one walk of its
#                                  data items (about a minute): adjustments
#   docs/monitor-data-readings.png the same unit's readings and status
#   docs/monitor-data-compare.png  the before/after pair of a service job
#                                  compared with no unit attached
# Needs Xvfb, xdotool and ImageMagick's import (apt-get install xvfb xdotool
# imagemagick). Run from the top of the worktree after "make build".
set -eu

BIN=${BIN:-build/orlix6}
OUT=${OUT:-docs}
GOLDEN=$(pwd)/tests/core/dataview/golden
WALK_SECONDS=${WALK_SECONDS:-55}

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "error: $tool is needed" >&2; exit 1; }
done
[ -x "$BIN" ] || { echo "error: $BIN not built (make build)" >&2; exit 1; }
mkdir -p "$OUT"

work=$(mktemp -d)
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
tool=""
cleanup() {
    [ -n "$tool" ] && kill "$tool" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=":$display"
sleep 1

# The main window over the whole screen (1280 x 800 pixels in twips).
settings() {
    printf '[Locations]\nfrmMainTop=0\nfrmMainLeft=0\nfrmMainWidth=19200\nfrmMainHeight=12000\nfrmMainWindowstate=2\n' >"$work/$1.ini"
}

start_tool() { # settings name, extra arguments
    name=$1
    shift
    settings "$name"
    "$BIN" --settings "$work/$name.ini" "$@" >"$work/$name.log" 2>&1 &
    tool=$!
    main=$(xdotool search --sync --name "Orlix6 Backlight" | head -1)
    sleep 2
}

stop_tool() {
    kill "$tool" 2>/dev/null || true
    wait "$tool" 2>/dev/null || true
    tool=""
}

keys() { # keys for the main window
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    for k in "$@"; do
        xdotool key "$k"
        sleep 0.4
    done
}

# Types a path into the file dialog that has just opened.
choose_file() {
    dialog=$(xdotool search --sync --name "$1" | head -1)
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    sleep 0.5
    xdotool type --delay 20 "$2"
    xdotool key Return
    sleep 1.5
}

# A click at a point of the Monitor Data window (it fills the main window).
click() {
    xdotool mousemove "$1" "$2" click 1
    sleep 1
}

# --- the simulated unit, after one walk of the data items --------------------
start_tool live --simulator
keys alt+m u              # Monitor > Update All Data
keys alt+m m              # Monitor > Monitor Data
sleep "$WALK_SECONDS"
import -window root "$OUT/monitor-data.png"
click 373 116             # the "Readings and Status" tab
import -window root "$OUT/monitor-data-readings.png"
stop_tool

# --- two files compared, the unit let go -------------------------------------
start_tool compare --simulator
keys alt+m f              # Monitor > Go Offline
keys alt+f o              # File > Open ...
choose_file "Open" "$GOLDEN/before.mdv"
keys alt+m m
click 78 85               # Compare with File ...
choose_file "Open" "$GOLDEN/after.mdv"
import -window root "$OUT/monitor-data-compare.png"
stop_tool
echo "wrote $OUT/monitor-data.png, monitor-data-readings.png and monitor-data-compare.png"
