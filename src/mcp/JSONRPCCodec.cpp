#include "mcp/JSONRPCCodec.h"

#include "mcp/JSONValue.h"

namespace tavlin::mcp::JSONRPCCodec {

namespace {

Decoded decodedBatch(nlohmann::json::array_t elements) {
    if (elements.empty()) throw JSONRPCFailure(-32600, "Empty batch");
    if (elements.size() > maxBatchMessages)
        throw JSONRPCFailure(-32600, "Batch too large: at most " + std::to_string(maxBatchMessages) + " messages");
    Decoded decoded{.isBatch = true};
    for (nlohmann::json& element : elements) {
        if (!element.is_object()) throw JSONRPCFailure(-32600, "Invalid Request");
        if (auto message = JSONRPCMessage::fromObject(std::move(element))) {
            decoded.messages.push_back(std::move(*message));
        }
    }
    return decoded;
}

}  // namespace

Decoded decode(QByteArrayView body) {
    nlohmann::json top = nlohmann::json::parse(body.begin(), body.end(), nullptr, /*allow_exceptions=*/false);
    if (top.is_object()) {
        Decoded decoded;
        if (auto message = JSONRPCMessage::fromObject(std::move(top))) decoded.messages.push_back(std::move(*message));
        return decoded;
    }
    if (top.is_array()) return decodedBatch(std::move(top.get_ref<nlohmann::json::array_t&>()));
    // Not JSON (which is "discarded" here), or a bare value at the top.
    throw JSONRPCFailure(-32700, "Parse error");
}

std::optional<JSONRPCID> bridgeValue(const nlohmann::json& value) {
    if (value.is_string()) return JSONRPCID::string(value.get<std::string>());
    if (value.is_number()) return JSONRPCID::number(JSONValue::integer(value));
    return std::nullopt;
}

nlohmann::json errorResponse(const std::optional<JSONRPCID>& id, int code, const std::string& message) {
    return {
        {"jsonrpc", "2.0"},
        {"id", id ? id->toJson() : nlohmann::json()},
        {"error", {{"code", code}, {"message", message}}},
    };
}

QByteArray serialize(const nlohmann::json& value) {
    const std::string text = value.dump(-1, ' ', /*ensure_ascii=*/false, nlohmann::json::error_handler_t::replace);
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tavlin::mcp::JSONRPCCodec
