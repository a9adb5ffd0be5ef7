-- ping over keep-alive with the token of the Tavlin under test.
wrk.method = "POST"
wrk.body = '{"jsonrpc":"2.0","id":1,"method":"ping"}'
wrk.headers["Content-Type"] = "application/json"
wrk.headers["Authorization"] = "Bearer " .. os.getenv("TAVLIN_TOKEN")
