#include "mcp/MCPService.h"

#include "mcp/JSONRPCCodec.h"
#include "mcp/MCPArguments.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace tavlin::mcp;
using namespace tavlin::platform;
using nlohmann::json;

namespace {

std::string request(const std::string& id, const std::string& method, const std::string& params = "") {
    std::string text = R"({"jsonrpc":"2.0","id":)" + id + R"(,"method":")" + method + '"';
    if (!params.empty()) text += R"(,"params":)" + params;
    return text + "}";
}

std::string notification(const std::string& method) { return R"({"jsonrpc":"2.0","method":")" + method + R"("})"; }

std::string call(const std::string& id, const std::string& tool, const std::string& arguments = "") {
    std::string params = R"({"name":")" + tool + '"';
    if (!arguments.empty()) params += R"(,"arguments":)" + arguments;
    return request(id, "tools/call", params + "}");
}

class MCPServiceTest : public ::testing::Test {
protected:
    // The serialized reply once every waiting tool has finished.
    std::string answer(const std::string& body) {
        const Task<std::optional<QByteArray>> task = service.handle(QByteArray::fromStdString(body));
        clock.advance(1h);
        if (!task.isDone()) return "<still waiting>";
        return task.result() ? task.result()->toStdString() : "<no reply>";
    }

    static MCPTool tool(const char16_t* name, MCPTool::Run run, json schema = {{"type", "object"}}) {
        return {QString::fromUtf16(name), u"Test tool "_s + QString::fromUtf16(name), std::move(schema),
                std::move(run)};
    }

    std::vector<MCPTool> testTools() {
        return {
            tool(u"echo",
                 [](json arguments) -> Task<MCPToolResult> {
                     co_return MCPToolResult{u"echoed"_s, false, json{{"arguments", std::move(arguments)}}};
                 },
                 {{"type", "object"}, {"properties", {{"text", {{"type", "string"}}}}}}),
            tool(u"refuse",
                 [](json) -> Task<MCPToolResult> {
                     throw MCPToolError(u"No list is named “Wrok” — call get_lists to see the lists."_s);
                     co_return MCPToolResult{};
                 }),
            tool(u"flag",
                 [](json) -> Task<MCPToolResult> {
                     co_return MCPToolResult{u"Nothing matched."_s, true, json{{"ignored", true}}};
                 }),
            tool(u"protocol",
                 [](json) -> Task<MCPToolResult> {
                     throw JSONRPCFailure(-32001, "Store unavailable");
                     co_return MCPToolResult{};
                 }),
            tool(u"crash",
                 [](json) -> Task<MCPToolResult> {
                     throw std::runtime_error("disk/full");
                     co_return MCPToolResult{};
                 }),
            // Throws before it is a task at all.
            tool(u"eager", [](json) -> Task<MCPToolResult> { throw std::logic_error("not a coroutine"); }),
            tool(u"slow",
                 [this](json arguments) -> Task<MCPToolResult> {
                     started.push_back(MCPArguments(arguments).number("n").value_or(0));
                     co_await sleep(1s);
                     co_return MCPToolResult{u"slept"_s};
                 }),
        };
    }

    ManualClock clock;
    ScopedMainClock useClock{clock};
    std::vector<std::int64_t> started;  // the `n` of each slow call, as it starts
    MCPService service{u"1.2.3"_s, u"Use the tools/ to read “reminders”."_s, testTools()};
};

}  // namespace

TEST_F(MCPServiceTest, AnswersRequestsAndNeverNotifications) {
    struct Case {
        const char* name;
        std::string body;
        std::string reply;
    };
    const Case cases[] = {
        {"ping", request("1", "ping"), R"({"id":1,"jsonrpc":"2.0","result":{}})"},
        {"a string id stays a string", request(R"("a/b")", "ping"), R"({"id":"a/b","jsonrpc":"2.0","result":{}})"},
        {"a fractional id", request("7.9", "ping"), R"({"id":7,"jsonrpc":"2.0","result":{}})"},
        {"a notification", notification("notifications/initialized"), "<no reply>"},
        {"a notification of a method we lack", notification("no/such"), "<no reply>"},
        {"an id of true is no id", request("true", "ping"), "<no reply>"},
        {"a batch of notifications", "[" + notification("a") + "," + notification("b") + "]", "<no reply>"},
        {"a response object", R"({"jsonrpc":"2.0","id":1,"result":{}})", "<no reply>"},
        {"a batch of one", "[" + request("1", "ping") + "]", R"([{"id":1,"jsonrpc":"2.0","result":{}}])"},
        {"requests around a notification",
         "[" + request("1", "ping") + "," + notification("x") + "," + request(R"("2")", "ping") + "]",
         R"([{"id":1,"jsonrpc":"2.0","result":{}},{"id":"2","jsonrpc":"2.0","result":{}}])"},
        {"an unknown method", request("3", "tools/lists"),
         R"({"error":{"code":-32601,"message":"Method not found: tools/lists"},"id":3,"jsonrpc":"2.0"})"},
        {"method names are exact", request("4", "Ping"),
         R"({"error":{"code":-32601,"message":"Method not found: Ping"},"id":4,"jsonrpc":"2.0"})"},
        {"a failing request does not stop the batch", "[" + request("1", "nope") + "," + request("2", "ping") + "]",
         R"([{"error":{"code":-32601,"message":"Method not found: nope"},"id":1,"jsonrpc":"2.0"},)"
         R"({"id":2,"jsonrpc":"2.0","result":{}}])"},
        {"a body that is not JSON", "{",
         R"({"error":{"code":-32700,"message":"Parse error"},"id":null,"jsonrpc":"2.0"})"},
        {"an invalid message fails the whole batch", "[" + request("1", "ping") + ",[]]",
         R"({"error":{"code":-32600,"message":"Invalid Request"},"id":null,"jsonrpc":"2.0"})"},
        {"an empty batch", "[]", R"({"error":{"code":-32600,"message":"Empty batch"},"id":null,"jsonrpc":"2.0"})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answer(c.body), c.reply);
    }
}

TEST_F(MCPServiceTest, Initialize) {
    EXPECT_EQ(answer(request("1", "initialize", R"({"protocolVersion":"2025-03-26","capabilities":{"x":1}})")),
              R"({"id":1,"jsonrpc":"2.0","result":{"capabilities":{"tools":{"listChanged":false}},)"
              R"("instructions":"Use the tools/ to read “reminders”.","protocolVersion":"2025-03-26",)"
              R"("serverInfo":{"name":"Tavlin","version":"1.2.3"}}})");
}

TEST_F(MCPServiceTest, InitializeAnswersTheClientsVersionOnlyWhenItIsOneWeSpeak) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({"protocolVersion":"2024-11-05"})", "2024-11-05"},
        {R"({"protocolVersion":"2025-03-26"})", "2025-03-26"},
        {R"({"protocolVersion":"2025-06-18"})", "2025-06-18"},
        {R"({"protocolVersion":"2026-01-01"})", "2025-06-18"},
        {R"({"protocolVersion":"2024-11-05 "})", "2025-06-18"},
        {R"({"protocolVersion":20241105})", "2025-06-18"},
        {R"({"protocolVersion":null})", "2025-06-18"},
        {"{}", "2025-06-18"},
        {"", "2025-06-18"},
    };
    for (const auto& [params, version] : cases) {
        SCOPED_TRACE(params);
        const json reply = json::parse(answer(request("1", "initialize", params)));
        EXPECT_EQ(reply.at("result").at("protocolVersion"), version);
    }
}

TEST_F(MCPServiceTest, ABatchOfInitializeAndANotificationGetsOneReply) {
    const json reply = json::parse(answer("[" + request("1", "initialize") + "," + notification("initialized") + "]"));
    ASSERT_TRUE(reply.is_array());
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_EQ(reply[0].at("result").at("serverInfo").at("name"), "Tavlin");
}

TEST_F(MCPServiceTest, ListsToolsInTheirOrder) {
    const json tools = json::parse(answer(request("1", "tools/list", R"({"cursor":"next"})"))).at("result").at("tools");
    std::vector<std::string> names;
    for (const json& t : tools) names.push_back(t.at("name"));
    EXPECT_EQ(names, (std::vector<std::string>{"echo", "refuse", "flag", "protocol", "crash", "eager", "slow"}));
    EXPECT_EQ(JSONRPCCodec::serialize(tools.front()).toStdString(),
              R"({"description":"Test tool echo",)"
              R"("inputSchema":{"properties":{"text":{"type":"string"}},"type":"object"},"name":"echo"})");
}

TEST_F(MCPServiceTest, CallsTools) {
    struct Case {
        const char* name;
        std::string body;
        std::string result;
    };
    const Case cases[] = {
        {"structured content", call("1", "echo", R"({"text":"a/b"})"),
         R"({"content":[{"text":"echoed","type":"text"}],"isError":false,)"
         R"("structuredContent":{"arguments":{"text":"a/b"}}})"},
        {"no arguments", call("1", "echo"),
         R"({"content":[{"text":"echoed","type":"text"}],"isError":false,"structuredContent":{"arguments":{}}})"},
        {"null arguments", call("1", "echo", "null"),
         R"({"content":[{"text":"echoed","type":"text"}],"isError":false,"structuredContent":{"arguments":{}}})"},
        {"a refusal", call("1", "refuse"),
         R"({"content":[{"text":"No list is named “Wrok” — call get_lists to see the lists.","type":"text"}],)"
         R"("isError":true})"},
        {"a result the tool flags", call("1", "flag"),
         R"({"content":[{"text":"Nothing matched.","type":"text"}],"isError":true,"structuredContent":{"ignored":true}})"},
        {"any other failure", call("1", "crash"), R"({"content":[{"text":"disk/full","type":"text"}],"isError":true})"},
        {"a failure before the task", call("1", "eager"),
         R"({"content":[{"text":"not a coroutine","type":"text"}],"isError":true})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const json reply = json::parse(answer(c.body));
        EXPECT_EQ(JSONRPCCodec::serialize(reply.at("result")).toStdString(), c.result);
    }
}

TEST_F(MCPServiceTest, ProtocolErrorsOfACall) {
    struct Case {
        const char* name;
        std::string params;
        std::string error;
    };
    const Case cases[] = {
        {"no name", R"({"arguments":{}})", R"({"code":-32602,"message":"tools/call needs a tool name"})"},
        {"no params", "", R"({"code":-32602,"message":"tools/call needs a tool name"})"},
        {"a name that is no string", R"({"name":5})", R"({"code":-32602,"message":"tools/call needs a tool name"})"},
        {"the name is looked up before the arguments", R"({"name":"Echo","arguments":[]})",
         R"({"code":-32602,"message":"Unknown tool: Echo"})"},
        {"arguments as an array", R"({"name":"echo","arguments":[]})",
         R"({"code":-32602,"message":"arguments must be an object"})"},
        {"arguments as a string", R"({"name":"echo","arguments":"{}"})",
         R"({"code":-32602,"message":"arguments must be an object"})"},
        {"a tool's protocol error passes unchanged", R"({"name":"protocol"})",
         R"({"code":-32001,"message":"Store unavailable"})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const json reply = json::parse(answer(request("9", "tools/call", c.params)));
        EXPECT_EQ(reply.at("id"), 9);
        EXPECT_EQ(JSONRPCCodec::serialize(reply.at("error")).toStdString(), c.error);
    }
}

// Between the requests of a batch the main loop turns, so whatever else
// waits there runs before the next one.
TEST_F(MCPServiceTest, ABatchLetsTheMainLoopTurnBetweenItsRequests) {
    int others = 0;
    const Task<std::optional<QByteArray>> task = service.handle(QByteArray::fromStdString(
        "[" + request("1", "ping") + "," + request("2", "ping") + "," + request("3", "ping") + "]"));
    EXPECT_FALSE(task.isDone());
    clock.schedule(Clock::Duration::zero(), [&] { ++others; });
    clock.runDueActions();
    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(others, 1);
    EXPECT_EQ(json::parse(task.result()->toStdString()).size(), 3u);
    EXPECT_TRUE(service.handle(QByteArray::fromStdString(request("4", "ping"))).isDone()) << "one request at once";
}

TEST_F(MCPServiceTest, RequestsOfABatchRunOneAfterTheOther) {
    const Task<std::optional<QByteArray>> task =
        service.handle(QByteArray::fromStdString("[" + call("1", "slow", R"({"n":1})") + "," +
                                                 call("2", "slow", R"({"n":2})") + "," + request("3", "ping") + "]"));
    EXPECT_EQ(started, (std::vector<std::int64_t>{1}));
    clock.advance(1s);
    EXPECT_EQ(started, (std::vector<std::int64_t>{1, 2}));
    EXPECT_FALSE(task.isDone());
    clock.advance(1s);
    ASSERT_TRUE(task.isDone());
    std::vector<int> ids;
    for (const json& reply : json::parse(task.result()->toStdString())) ids.push_back(reply.at("id"));
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
}
