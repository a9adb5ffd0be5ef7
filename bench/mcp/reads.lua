-- 1,000 reads, get_summary, list_reminders and get_lists in turn, then stop.
wrk.method = "POST"
wrk.headers["Content-Type"] = "application/json"
wrk.headers["Authorization"] = "Bearer " .. os.getenv("TAVLIN_TOKEN")
local tools = { "get_summary", "list_reminders", "get_lists" }
local sent, answered = 0, 0
request = function()
    sent = sent + 1
    return wrk.format(nil, nil, nil, '{"jsonrpc":"2.0","id":' .. sent ..
        ',"method":"tools/call","params":{"name":"' .. tools[sent % 3 + 1] .. '","arguments":{}}}')
end
response = function()
    answered = answered + 1
    if answered >= 1000 then wrk.thread:stop() end
end
