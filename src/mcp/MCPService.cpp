#include "mcp/MCPService.h"

#include "mcp/JSONRPCCodec.h"
#include "mcp/JSONValue.h"

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;
using nlohmann::json;
using tavlin::platform::Task;

namespace tavlin::mcp {

namespace {

// Newest first: the first is also the answer to a version we do not know.
constexpr std::array supportedProtocolVersions{"2025-06-18", "2025-03-26", "2024-11-05"};

// The text of a failure that carries none of its own.
constexpr const char* internalError = "Internal error";

json toolArguments(json& params) {
    const auto arguments = params.find("arguments");
    if (arguments == params.end() || arguments->is_null()) return json::object();
    if (!arguments->is_object()) throw JSONRPCFailure(-32602, "arguments must be an object");
    return std::move(*arguments);
}

json toolListOf(const std::vector<MCPTool>& tools) {
    json objects = json::array();
    for (const MCPTool& tool : tools) {
        objects.push_back({
            {"name", tool.name.toStdString()},
            {"description", tool.description.toStdString()},
            {"inputSchema", tool.inputSchema},
        });
    }
    json list = json::object();
    list["tools"] = std::move(objects);
    return list;
}

}  // namespace

MCPService::MCPService(QString serverVersion, QString instructions, std::vector<MCPTool> tools)
    : serverVersion_(std::move(serverVersion)),
      instructions_(std::move(instructions)),
      tools_(std::move(tools)),
      toolList_(toolListOf(tools_)) {}

Task<std::optional<QByteArray>> MCPService::handle(QByteArray body) const {
    JSONRPCCodec::Decoded decoded;
    try {
        decoded = JSONRPCCodec::decode(body);
    } catch (const JSONRPCFailure& failure) {
        co_return JSONRPCCodec::serialize(JSONRPCCodec::errorResponse(std::nullopt, failure.code, failure.message()));
    }
    json replies = json::array();
    bool first = true;
    for (JSONRPCMessage& message : decoded.messages) {
        if (!message.id) continue;  // a notification: neither run nor answered
        // The panel, the tray and other clients get a turn between the
        // requests of a batch.
        if (!std::exchange(first, false)) co_await platform::sleep(platform::Clock::Duration::zero());
        replies.push_back(co_await reply(std::move(message)));
    }
    if (replies.empty()) co_return std::nullopt;
    co_return JSONRPCCodec::serialize(decoded.isBatch ? replies : replies.front());
}

Task<json> MCPService::reply(JSONRPCMessage request) const {
    const JSONRPCID id = *request.id;
    try {
        json result = co_await dispatch(std::move(request));
        json response = {{"jsonrpc", "2.0"}, {"id", id.toJson()}};
        response["result"] = std::move(result);
        co_return response;
    } catch (const JSONRPCFailure& failure) {
        co_return JSONRPCCodec::errorResponse(id, failure.code, failure.message());
    } catch (const std::exception& error) {
        co_return JSONRPCCodec::errorResponse(id, -32603, error.what());
    } catch (...) {
        co_return JSONRPCCodec::errorResponse(id, -32603, internalError);
    }
}

Task<json> MCPService::dispatch(JSONRPCMessage message) const {
    const std::string& method = message.method;
    if (method == "initialize") {
        const json* version = JSONValue::member(message.params, "protocolVersion");
        co_return initializeResult(version && version->is_string() ? version->get<std::string>()
                                                                   : std::optional<std::string>());
    }
    if (method == "ping") co_return json::object();
    if (method == "tools/list") co_return toolList_;
    if (method == "tools/call") co_return co_await callTool(std::move(message.params));
    throw JSONRPCFailure(-32601, "Method not found: " + method);
}

json MCPService::initializeResult(const std::optional<std::string>& protocolVersion) const {
    const bool supported =
        protocolVersion && std::find(supportedProtocolVersions.begin(), supportedProtocolVersions.end(),
                                     *protocolVersion) != supportedProtocolVersions.end();
    return {
        {"protocolVersion", supported ? *protocolVersion : supportedProtocolVersions.front()},
        {"capabilities", {{"tools", {{"listChanged", false}}}}},
        {"serverInfo", {{"name", "Tavlin"}, {"version", serverVersion_.toStdString()}}},
        {"instructions", instructions_.toStdString()},
    };
}

const MCPTool& MCPService::toolNamedIn(const json& params) const {
    const json* name = JSONValue::member(params, "name");
    if (!name || !name->is_string()) throw JSONRPCFailure(-32602, "tools/call needs a tool name");
    const QString requested = QString::fromStdString(name->get<std::string>());
    const auto found =
        std::find_if(tools_.begin(), tools_.end(), [&](const MCPTool& tool) { return tool.name == requested; });
    if (found == tools_.end()) throw JSONRPCFailure(-32602, "Unknown tool: " + name->get<std::string>());
    return *found;
}

Task<json> MCPService::callTool(json params) const {
    const MCPTool& tool = toolNamedIn(params);  // before the arguments are looked at
    json arguments = toolArguments(params);
    try {
        const MCPToolResult result = co_await tool.run(std::move(arguments));
        co_return toolResultObject(result.text, result.isError, result.structured);
    } catch (const MCPToolError& error) {
        co_return toolResultObject(error.message(), true, std::nullopt);
    } catch (const JSONRPCFailure&) {
        throw;
    } catch (const std::exception& error) {
        co_return toolResultObject(QString::fromUtf8(error.what()), true, std::nullopt);
    } catch (...) {
        co_return toolResultObject(QString::fromUtf8(internalError), true, std::nullopt);
    }
}

json MCPService::toolResultObject(const QString& text, bool isError, const std::optional<json>& structured) {
    const json content = {{"type", "text"}, {"text", text.toStdString()}};
    json result = {{"content", json::array({content})}, {"isError", isError}};
    if (structured) result["structuredContent"] = *structured;
    return result;
}

}  // namespace tavlin::mcp
