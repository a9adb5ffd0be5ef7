#pragma once

#include <QString>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace tavlin::mcp {

// Typed readers of one tool call's arguments object. A member that is missing
// or null is no value; one of the wrong kind throws MCPToolError with a
// message that starts with the argument's name.
class MCPArguments {
public:
    explicit MCPArguments(const nlohmann::json& arguments) : arguments_(arguments) {}
    explicit MCPArguments(nlohmann::json&&) = delete;  // it reads the object in place

    // The string as sent, not trimmed.
    std::optional<QString> string(const std::string& name) const;
    // The string trimmed of white space and line breaks; missing or blank fails.
    QString requiredString(const std::string& name) const;
    std::optional<bool> boolean(const std::string& name) const;
    // A number's integer value, a fraction cut toward zero.
    std::optional<std::int64_t> number(const std::string& name) const;

private:
    const nlohmann::json* given(const std::string& name) const;

    const nlohmann::json& arguments_;
};

}  // namespace tavlin::mcp
