-- One tools/call over keep-alive with the token of the Tavlin under test;
-- TAVLIN_TOOL names the tool, TAVLIN_ARGUMENTS its arguments (JSON).
wrk.method = "POST"
wrk.body = '{"jsonrpc":"2.0","id":1,"method":"tools/call","params":{"name":"' .. os.getenv("TAVLIN_TOOL") ..
    '","arguments":' .. (os.getenv("TAVLIN_ARGUMENTS") or "{}") .. '}}'
wrk.headers["Content-Type"] = "application/json"
wrk.headers["Authorization"] = "Bearer " .. os.getenv("TAVLIN_TOKEN")
