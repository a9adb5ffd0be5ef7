#!/bin/sh
# The developer switches --parse-batch and --parse-json over the 2,300 lines
# of bench/parsing/quickadd-corpus.tsv: the time per line, that is the run
# with the corpus less the run with an empty file (so not the start of the
# program), each the fastest of three runs of a Release build. Compare with
# ParseCorpusBatch of bench_parsing, the same lines parsed in one process.
#   bench/devmodes/parse-switches.sh [build folder, default build/release]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../program.sh"
trap 'rm -rf "$home"' EXIT INT TERM
mkdir -p "$home/reminders" "$home/config"
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" TAVLIN_REMINDERS_DIR="$home/reminders" \
    QT_QPA_PLATFORM=offscreen
corpus="$here/../parsing/quickadd-corpus.tsv"
lines=$(wc -l < "$corpus")
awk -F '\t' '{ printf "case%d\t%s\t%s\n", NR, $1, $2 }' "$corpus" > "$home/cases.tsv"
: > "$home/empty.tsv"

# The fastest of three runs, in milliseconds.
fastest() {
    best=
    for run in 1 2 3; do
        start=$(date +%s%N)
        "$tavlin" "$@" > /dev/null 2>&1
        end=$(date +%s%N)
        ms=$(( (end - start) / 1000000 ))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

for switch in --parse-batch --parse-json; do
    input="$home/cases.tsv"
    [ "$switch" = --parse-batch ] && input="$corpus"
    full=$(fastest "$switch" "$input")
    empty=$(fastest "$switch" "$home/empty.tsv")
    awk -v s="$switch" -v n="$lines" -v f="$full" -v e="$empty" \
        'BEGIN { printf "%s: %d lines in %d ms, an empty file in %d ms: %.1f µs per line\n", s, n, f, e, (f - e) * 1000 / n }'
done
