#include "mcp/JSONRPCMessage.h"

#include "mcp/JSONRPCCodec.h"
#include "mcp/JSONValue.h"

namespace tavlin::mcp {

nlohmann::json JSONRPCID::toJson() const {
    return std::visit([](const auto& value) { return nlohmann::json(value); }, value_);
}

std::optional<JSONRPCMessage> JSONRPCMessage::fromObject(nlohmann::json object) {
    const nlohmann::json* version = JSONValue::member(object, "jsonrpc");
    if (!version || *version != "2.0") throw JSONRPCFailure(-32600, R"(jsonrpc must be "2.0")");

    const nlohmann::json* id = JSONValue::member(object, "id");
    std::optional<JSONRPCID> requestID = id ? JSONRPCCodec::bridgeValue(*id) : std::nullopt;

    const nlohmann::json* method = JSONValue::member(object, "method");
    if (method && method->is_string()) {
        JSONRPCMessage message{std::move(requestID), method->get<std::string>()};
        const auto params = object.find("params");
        if (params != object.end() && params->is_object()) {
            // Moved, not copied: params come from the client and may nest deeply.
            message.params = std::move(*params);
        } else if (params != object.end() && !params->is_null()) {
            throw JSONRPCFailure(-32600, "params must be an object");
        }
        return message;
    }
    if (object.contains("result") || object.contains("error")) return std::nullopt;
    throw JSONRPCFailure(-32600, "Missing method");
}

}  // namespace tavlin::mcp
