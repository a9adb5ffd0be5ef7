#!/bin/sh
# A headless Release Tavlin over the 10,000 reminders of bench/store/make_vdir.py:
# the time from its start until mcp.json names the port (median of five
# starts) and its resident memory then; the latency of get_summary and of
# list_reminders (limit 50) over one keep-alive connection; ping with 1 and
# with 50 connections; the resident memory after 1,000 more reads.
#   bench/mcp/server-throughput.sh [build folder, default build/release]
# Needs wrk and python3. Every request goes to 127.0.0.1.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../program.sh"
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT INT TERM
mkdir -p "$home/config/Tavlin"
echo '{"mcpEnabled": true}' > "$home/config/Tavlin/settings.json"
python3 "$here/../store/make_vdir.py" "$home/reminders" 10000
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" TAVLIN_REMINDERS_DIR="$home/reminders/Personal:$home/reminders/Work" \
    QT_QPA_PLATFORM=offscreen
configuration="$home/data/Tavlin/mcp.json"

# Starts Tavlin and prints its pid and the milliseconds until mcp.json holds a port.
start() {
    rm -f "$configuration"
    python3 - "$tavlin" "$configuration" "$home/stderr" <<'EOF'
import os, subprocess, sys, time
tavlin, configuration, log = sys.argv[1:]
begin = time.monotonic()
process = subprocess.Popen([tavlin], stderr=open(log, "w"), stdout=subprocess.DEVNULL)
while time.monotonic() - begin < 20:
    try:
        if '"port"' in open(configuration).read():
            break
    except OSError:
        pass
    time.sleep(0.001)
else:
    sys.exit("no port after 20 s")
print(process.pid, round((time.monotonic() - begin) * 1000))
EOF
}

stop() {
    kill "$pid"
    while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    pid=
}

echo "== start until mcp.json names the port (ms), five starts"
times=
for run in 1 2 3 4 5; do
    set -- $(start)
    pid=$1
    times="$times $2"
    [ $run -eq 5 ] || stop
done
echo "$times" | tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{ a[NR] = $1 } END { printf "runs: %s\nmedian: %d ms\n", "'"$times"'", a[3] }'
echo "== resident memory at that point"
grep VmRSS "/proc/$pid/status"

port=$(sed -n 's/.*"port": *\([0-9]*\).*/\1/p' "$configuration")
TAVLIN_TOKEN=$(sed -n 's/.*"token": *"\([0-9a-f]*\)".*/\1/p' "$configuration")
export TAVLIN_TOKEN
url="http://127.0.0.1:$port/mcp"

echo "== get_summary, 1 connection"
TAVLIN_TOOL=get_summary wrk -t1 -c1 -d5s --latency -s "$here/tool.lua" "$url"
echo "== list_reminders (limit 50), 1 connection"
TAVLIN_TOOL=list_reminders TAVLIN_ARGUMENTS='{"limit":50}' wrk -t1 -c1 -d5s --latency -s "$here/tool.lua" "$url"
echo "== ping, 1 connection"
wrk -t1 -c1 -d5s -s "$here/ping.lua" "$url"
echo "== ping, 50 connections"
wrk -t4 -c50 -d5s -s "$here/ping.lua" "$url"
echo "== resident memory after 1,000 more reads"
wrk -t1 -c1 -d10s -s "$here/reads.lua" "$url"
grep VmRSS "/proc/$pid/status"
