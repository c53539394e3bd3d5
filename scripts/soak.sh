#!/bin/sh
# Memory soak: the tool with its windows on the simulated unit at the line's
# rate (19200 baud), the data walk running and the comm log open, for a
# given time; samples the resident memory and the heap in use.
#
#   scripts/soak.sh [MINUTES (default 60)] [SAMPLE_SECONDS (default 60)] [-- soak options]
#
# Soak options (see bench/soak.cpp): --pty SIM_BINARY runs the unit as the
# orlix6-sim program behind a pseudo-terminal; --no-echo turns the comm
# log's echo off. The samples go to build/soak-<time>.txt; a summary
# follows at the end.
#
# The comm log window holds up to 31,500 characters and is emptied when it
# passes them, so memory rises while it fills (about 19 minutes at the
# walk's traffic) and then falls back: compare the peaks of its cycles, not
# the start with the first peak.
set -eu

cd "$(dirname "$0")/.."
MINUTES=${1:-60}
SAMPLE=${2:-60}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] && shift
[ "${1:-}" = "--" ] && shift

BUILD=${BUILD:-build}
[ -f "$BUILD/build.ninja" ] || make configure
cmake --build "$BUILD" --target orlix6-soak >/dev/null

OUT="$BUILD/soak-$(date +%Y%m%d-%H%M%S).txt"
echo "soak for $MINUTES min, a sample every $SAMPLE s: $OUT"
"$BUILD/bench/orlix6-soak" --seconds "$((MINUTES * 60))" --sample "$SAMPLE" "$@" >"$OUT" 2>/dev/null

awk -v minutes="$MINUTES" '
    /^ *[0-9]/ {
        t = $1; rss = $2
        if (!started) { first = rss; started = 1 }
        if (t >= 600 && !at10) { at10 = rss }
        if (rss > peak) { peak = rss; peakAt = t }
        last = rss; lastAt = t
    }
    END {
        printf "RSS at start %d KB, after 10 min %d KB, at the end (%d s) %d KB, peak %d KB at %d s\n",
            first, at10, lastAt, last, peak, peakAt
    }' "$OUT"
