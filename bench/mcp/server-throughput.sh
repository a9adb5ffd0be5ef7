#!/bin/sh
# Requests per second of the AI tools server (ping over keep-alive on the
# loopback interface, with 1 and with 50 connections) and the resident memory
# of a headless Tavlin holding 1,000 reminders. Runs a Release build:
#   bench/mcp/server-throughput.sh [build folder, default build/release]
# Needs wrk (scripts/debian-packages.txt). Every request goes to 127.0.0.1,
# each run lasts a fixed few seconds.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/release}
tavlin="$build/src/app/tavlin"
[ -x "$tavlin" ] || { echo "no $tavlin; build it first (make build-release)" >&2; exit 1; }

home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT INT TERM
mkdir -p "$home/config/Tavlin" "$home/reminders/Bench"
echo '{"mcpEnabled": true}' > "$home/config/Tavlin/settings.json"
i=1
while [ $i -le 1000 ]; do
    printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavlin//bench//EN\r\nBEGIN:VTODO\r\nUID:bench-%d\r\nSUMMARY:Reminder %d\r\nDUE;VALUE=DATE:2030%02d%02d\r\nPRIORITY:%d\r\nEND:VTODO\r\nEND:VCALENDAR\r\n' \
        $i $i $((i % 12 + 1)) $((i % 28 + 1)) $((i % 10)) > "$home/reminders/Bench/bench-$i.ics"
    i=$((i + 1))
done

# No session bus: on the user's own, this Tavlin would ask theirs to quit.
XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" TAVLIN_REMINDERS_DIR="$home/reminders" \
    DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=offscreen "$tavlin" 2>"$home/stderr" &
pid=$!
configuration="$home/data/Tavlin/mcp.json"
tries=0
until grep -q '"port"' "$configuration" 2>/dev/null; do
    tries=$((tries + 1)); [ $tries -lt 100 ] || { cat "$home/stderr" >&2; exit 1; }
    sleep 0.1
done
port=$(sed -n 's/.*"port": *\([0-9]*\).*/\1/p' "$configuration")
TAVLIN_TOKEN=$(sed -n 's/.*"token": *"\([0-9a-f]*\)".*/\1/p' "$configuration")
export TAVLIN_TOKEN
url="http://127.0.0.1:$port/mcp"

echo "== ping, 1 connection"
wrk -t1 -c1 -d5s -s "$here/ping.lua" "$url"
echo "== ping, 50 connections"
wrk -t4 -c50 -d5s -s "$here/ping.lua" "$url"
echo "== resident memory with 1,000 reminders"
grep VmRSS "/proc/$pid/status"
