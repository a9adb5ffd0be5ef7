#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

// Small readers of JSON values received from clients.
namespace tavlin::mcp::JSONValue {

// The member `key` of `object`, or null when `object` is no object or lacks it.
const nlohmann::json* member(const nlohmann::json& object, const std::string& key);

// The integer value of a number (is_number(), which booleans are not), a
// fraction cut toward zero; values beyond the 64-bit range saturate at its ends.
std::int64_t integer(const nlohmann::json& number);

}  // namespace tavlin::mcp::JSONValue
