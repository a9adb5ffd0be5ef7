// Feeds arbitrary bodies to the JSON-RPC decoder and the protocol layer
// behind it. The decoder either returns messages or throws a JSON-RPC failure
// of its own codes; the service always answers with a well-formed reply, or
// with nothing.

#include "FuzzSupport.h"
#include "mcp/JSONRPCCodec.h"
#include "mcp/MCPArguments.h"
#include "mcp/MCPService.h"
#include "platform/Clock.h"

#include <cstdint>

using namespace Qt::StringLiterals;
using namespace tavlin::mcp;
using nlohmann::json;
using tavlin::fuzz::require;
using tavlin::platform::ManualClock;
using tavlin::platform::ScopedMainClock;
using tavlin::platform::Task;

namespace {

// A tool that reads its arguments with every reader, as the reminder tools do.
Task<MCPToolResult> readArguments(json arguments) {
    const MCPArguments read(arguments);
    const QString text = read.requiredString("text");
    const std::optional<QString> due = read.string("due");
    const std::optional<bool> completed = read.boolean("completed");
    const std::optional<std::int64_t> limit = read.number("limit");
    co_return MCPToolResult{text + due.value_or(QString()), completed.value_or(false),
                            json{{"limit", limit.value_or(0)}}};
}

const MCPService& service() {
    static const MCPService service(u"0"_s, u"Fuzzing"_s,
                                    {{u"read"_s, u"Reads its arguments"_s, {{"type", "object"}}, readArguments}});
    return service;
}

void checkDecoder(QByteArrayView body) {
    try {
        JSONRPCCodec::decode(body);
    } catch (const JSONRPCFailure& failure) {
        require(failure.code == -32700 || failure.code == -32600, "the decoder fails with its own codes");
    }
}

void checkReplyObject(const json& reply) {
    require(reply.is_object() && reply.value("jsonrpc", "") == "2.0", "a reply is a JSON-RPC object");
    require(reply.contains("id"), "a reply carries an id");
    require(reply.contains("result") != reply.contains("error"), "a reply has a result or an error");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView body(data, static_cast<qsizetype>(size));
    checkDecoder(body);

    // The requests of a batch take turns with the main loop.
    static ManualClock clock;
    static const ScopedMainClock useClock(clock);
    const Task<std::optional<QByteArray>> handled = service().handle(body.toByteArray());
    clock.runDueActions();
    require(handled.isDone(), "with tools that never wait, a body is answered once the loop has turned");
    if (const std::optional<QByteArray>& reply = handled.result()) {
        const json parsed = json::parse(reply->begin(), reply->end(), nullptr, false);
        require(parsed.is_object() || (parsed.is_array() && !parsed.empty()), "a reply is an object or an array");
        if (parsed.is_object()) checkReplyObject(parsed);
        else
            for (const json& element : parsed) checkReplyObject(element);
    }
    return 0;
}
