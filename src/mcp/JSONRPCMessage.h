#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>

namespace tavlin::mcp {

// The id of a request: a number or a string, written back as it came.
class JSONRPCID {
public:
    static JSONRPCID number(std::int64_t value) { return JSONRPCID(value); }
    static JSONRPCID string(std::string value) { return JSONRPCID(std::move(value)); }

    nlohmann::json toJson() const;

    bool operator==(const JSONRPCID&) const = default;

private:
    explicit JSONRPCID(std::variant<std::int64_t, std::string> value) : value_(std::move(value)) {}
    std::variant<std::int64_t, std::string> value_;
};

// A JSON-RPC error: thrown by the decoder and by methods, answered as an error
// object.
class JSONRPCFailure : public std::runtime_error {
public:
    JSONRPCFailure(int code, const std::string& message) : std::runtime_error(message), code(code) {}

    std::string message() const { return what(); }
    bool operator==(const JSONRPCFailure& other) const { return code == other.code && message() == other.message(); }

    int code;
};

// One request or notification.
struct JSONRPCMessage {
    std::optional<JSONRPCID> id;  // none for a notification, which is never answered
    std::string method;
    nlohmann::json params = nlohmann::json::object();  // always an object

    // Validates one message object; nothing for a response object (one with
    // "result" or "error" and no method). Throws JSONRPCFailure.
    static std::optional<JSONRPCMessage> fromObject(nlohmann::json object);
};

}  // namespace tavlin::mcp
