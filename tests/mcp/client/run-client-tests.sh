#!/bin/sh
# Runs client-tests.mjs with the official MCP SDK (major version 1), which is
# installed from the npm registry into <node folder> on first use. Without
# Node.js, or without the registry, the test is skipped (exit 77).
#   run-client-tests.sh <tavlin binary> <fixture folder> <node folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tavlin=$1 fixture=$2 folder=$3

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "skipped: Node.js and npm are not installed"
    exit 77
fi
if [ ! -f "$folder/node_modules/@modelcontextprotocol/sdk/package.json" ]; then
    mkdir -p "$folder"
    if ! timeout 300 npm install --prefix "$folder" --no-audit --no-fund --loglevel=error \
            "@modelcontextprotocol/sdk@1" >"$folder/npm-install.log" 2>&1; then
        echo "skipped: @modelcontextprotocol/sdk could not be installed from the npm registry (see $folder/npm-install.log)"
        exit 77
    fi
fi
cp "$here/client-tests.mjs" "$folder/client-tests.mjs"
exec node --test-reporter=spec "$folder/client-tests.mjs" "$tavlin" "$fixture"
