#pragma once

#include "mcp/JSONRPCMessage.h"

#include <QByteArray>
#include <QByteArrayView>

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// JSON-RPC 2.0 over POST bodies: decoding a body into messages, the error
// envelope and the writer of replies.
namespace tavlin::mcp::JSONRPCCodec {

struct Decoded {
    std::vector<JSONRPCMessage> messages;  // response objects left out
    bool isBatch = false;                  // the body was an array: answer with an array
};

// The most messages one batch may hold: each is answered on the main loop,
// and a batch beyond this would keep every other client waiting.
constexpr std::size_t maxBatchMessages = 100;

// Throws JSONRPCFailure for a body that is rejected as a whole, a batch of
// more than maxBatchMessages included.
Decoded decode(QByteArrayView body);

// A request id read from a JSON value: strings and numbers (booleans are not
// numbers), a fraction cut toward zero; anything else is no id.
std::optional<JSONRPCID> bridgeValue(const nlohmann::json& value);

nlohmann::json errorResponse(const std::optional<JSONRPCID>& id, int code, const std::string& message);

// Compact, keys sorted, slashes as they are. Never fails: text that is not
// UTF-8 is written with replacement characters.
QByteArray serialize(const nlohmann::json& value);

}  // namespace tavlin::mcp::JSONRPCCodec
