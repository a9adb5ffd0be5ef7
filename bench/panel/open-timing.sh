#!/bin/sh
# The program's own panel opens (--open-timing: three opens, each phase
# timed) over a vdir of COUNT reminders from bench/store/make_vdir.py, on a
# private X display (Xvfb, openbox) and session bus with a stand-in tray
# (tray_watcher.py), RUNS times. Prints every
# open's milliseconds and phases, then the min/median/max of all opens and
# the program's resident memory after the last (VmRSS and VmHWM, in KiB).
#   bench/panel/open-timing.sh [build folder] [COUNT, 1000] [RUNS, 5]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../program.sh"
count=${2:-1000}
runs=${3:-5}
display_pid=
trap 'kill $wm_pid $display_pid 2>/dev/null; rm -rf "$home"' EXIT INT TERM
mkdir -p "$home/config" "$home/data"
python3 "$here/../store/make_vdir.py" "$home/reminders" "$count" > /dev/null

# Xvfb writes the display number it took.
exec 3> "$home/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp > /dev/null 2>&1 &
display_pid=$!
while [ ! -s "$home/display" ]; do sleep 0.1; done
export DISPLAY=":$(head -n 1 "$home/display")"
openbox > /dev/null 2>&1 &
wm_pid=$!

export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" TAVLIN_REMINDERS_DIR="$home/reminders/Personal:$home/reminders/Work" \
    QT_QPA_PLATFORM=xcb
: > "$home/opens"
for run in $(seq "$runs"); do
    # The program reports its memory as it ends: read it just before.
    setsid dbus-run-session -- sh -c '/usr/bin/python3 "$3" > "$2.tray" & tray=$!
        while [ ! -s "$2.tray" ]; do sleep 0.1; done
        "$1" --open-timing & pid=$!
        while kill -0 $pid 2>/dev/null; do grep -E "VmRSS|VmHWM" /proc/$pid/status > "$2.mem" 2>/dev/null; sleep 0.2; done
        wait $pid; kill $tray' sh "$tavlin" "$home/run" "$here/tray_watcher.py" > "$home/run.out" 2>/dev/null || true
    cat "$home/run.out"
    sed -n 's/^.*round [0-9]*: open() \([0-9.]*\)ms.*$/\1/p' "$home/run.out" >> "$home/opens"
    tr -s ' \t' ' ' < "$home/run.mem"
done
sort -n "$home/opens" | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "no opens"; exit 1 }
    printf "%d opens of %s reminders: min %.1f ms, median %.1f ms, max %.1f ms\n", NR, count, v[1],
        (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }' count="$count"
