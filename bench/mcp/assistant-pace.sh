#!/bin/sh
# A headless Release Tavlin over the reminders of bench/store/make_vdir.py, used
# as an assistant uses it: the start until mcp.json names the port and the
# resident memory then; get_summary and list_reminders (limit 50) called once
# every PAUSE seconds; the time from a file written by another program (a
# temporary file renamed over, as vdirsyncer writes) until get_summary counts
# it; create_reminder and update_reminder back to back; get_summary back to
# back for 10 s (the 99th percentile); the resident memory at the end; the
# program's processor time per create and update (its own and the refreshes they ask for).
#   bench/mcp/assistant-pace.sh [build folder, default build/release] [count, default 10000]
# PAUSE (seconds, default 6) and ROUNDS (default 5) set the assistant's pace.
# Needs python3. Every request goes to 127.0.0.1.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../program.sh"
count=${2:-10000}
trap 'rm -rf "$home"' EXIT INT TERM
mkdir -p "$home/config/Tavlin"
echo '{"mcpEnabled": true}' > "$home/config/Tavlin/settings.json"
python3 "$here/../store/make_vdir.py" "$home/reminders" "$count"
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" TAVLIN_REMINDERS_DIR="$home/reminders/Personal:$home/reminders/Work" \
    QT_QPA_PLATFORM=offscreen

python3 - "$tavlin" "$home" "${PAUSE:-6}" "${ROUNDS:-5}" <<'EOF'
import datetime, http.client, json, os, statistics, subprocess, sys, time, uuid

tavlin, home, pause, rounds = sys.argv[1], sys.argv[2], float(sys.argv[3]), int(sys.argv[4])
configuration = os.path.join(home, "data/Tavlin/mcp.json")

def rss(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmRSS"):
            return round(int(line.split()[1]) / 1024, 1)

def cpu_ms(pid):
    # utime and stime, the 14th and 15th fields, after the command's closing parenthesis.
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000 / os.sysconf("SC_CLK_TCK")

def figures(name, values):
    values = sorted(values)
    p = lambda q: values[min(len(values) - 1, int(q * len(values)))]
    print(f"{name}: n={len(values)} min {values[0]:.2f} median {statistics.median(values):.2f} "
          f"p99 {p(0.99):.2f} max {values[-1]:.2f} ms", flush=True)

begin = time.monotonic()
process = subprocess.Popen([tavlin], stderr=open(os.path.join(home, "stderr"), "w"), stdout=subprocess.DEVNULL)
try:
    while True:
        try:
            if '"port"' in open(configuration).read():
                break
        except OSError:
            pass
        if time.monotonic() - begin > 30:
            sys.exit("no port after 30 s")
        time.sleep(0.001)
    print(f"start until mcp.json names the port: {(time.monotonic() - begin) * 1000:.0f} ms", flush=True)
    print(f"resident memory at the port: {rss(process.pid)} MB", flush=True)
    settings = json.load(open(configuration))
    connection = http.client.HTTPConnection("127.0.0.1", settings["port"])
    headers = {"Content-Type": "application/json", "Authorization": "Bearer " + settings["token"]}

    def call(tool, arguments=None):
        body = json.dumps({"jsonrpc": "2.0", "id": 1, "method": "tools/call",
                           "params": {"name": tool, "arguments": arguments or {}}})
        start = time.perf_counter()
        connection.request("POST", "/mcp", body, headers)
        reply = json.loads(connection.getresponse().read())
        return (time.perf_counter() - start) * 1000, reply["result"].get("structuredContent", {})

    # Lets the start's own work end first.
    time.sleep(pause)
    summaries, lists = [], []
    for _ in range(rounds):
        summaries.append(call("get_summary")[0])
        time.sleep(pause)
        lists.append(call("list_reminders", {"limit": 50})[0])
        time.sleep(pause)
    figures(f"get_summary, one call every {pause:g} s", summaries)
    figures(f"list_reminders (limit 50), one call every {pause:g} s", lists)

    folder = os.path.join(home, "reminders/Personal/home")
    reaches = []
    for run in range(5):
        before = call("get_summary")[1]["counts"]["all"]
        uid = str(uuid.uuid4())
        temporary = os.path.join(folder, f".{uid}.tmp")
        with open(temporary, "w") as f:
            f.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VTODO\r\n"
                    f"UID:{uid}\r\nSUMMARY:written elsewhere {run}\r\nEND:VTODO\r\nEND:VCALENDAR\r\n")
        written = time.perf_counter()
        os.rename(temporary, os.path.join(folder, uid + ".ics"))
        while call("get_summary")[1]["counts"]["all"] == before:
            if time.perf_counter() - written > 20:
                sys.exit("the change never reached the counts")
            time.sleep(0.002)
        reaches.append((time.perf_counter() - written) * 1000)
        time.sleep(pause / 2)
    figures("a file renamed in by another program until get_summary counts it", reaches)

    creates, updates = [], []
    processor = cpu_ms(process.pid)
    for run in range(30):
        elapsed, made = call("create_reminder", {"text": f"bench item {run} tomorrow 9:00"})
        creates.append(elapsed)
        identifier = made["reminders"][0]["id"] if "reminders" in made else made["reminder"]["id"]
        updates.append(call("update_reminder", {"id": identifier, "title": f"bench item {run} edited"})[0])
    figures("create_reminder, back to back", creates)
    figures("update_reminder, back to back", updates)
    print(f"processor time per create_reminder and update_reminder: {(cpu_ms(process.pid) - processor) / 30:.1f} ms",
          flush=True)

    steady = []
    end = time.monotonic() + 10
    while time.monotonic() < end:
        steady.append(call("get_summary")[0])
    figures("get_summary, back to back for 10 s", steady)
    print(f"resident memory at the end: {rss(process.pid)} MB", flush=True)
finally:
    process.terminate()
    process.wait()
EOF
