#pragma once

#include "platform/Task.h"

#include <QString>

#include <nlohmann/json.hpp>

#include <functional>
#include <optional>
#include <stdexcept>

namespace tavlin::mcp {

// What a tool answers.
struct MCPToolResult {
    QString text;                              // for people
    bool isError = false;                      // the assistant should read the text and correct its call
    std::optional<nlohmann::json> structured;  // machine-readable content, an object
};

// A failure the assistant caused or can fix; it reaches the assistant as a
// result flagged as an error, with `message` as its text.
class MCPToolError : public std::runtime_error {
public:
    explicit MCPToolError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// One tool as clients list and call it.
struct MCPTool {
    // Runs the tool on its arguments object. It may throw MCPToolError for
    // the assistant to read, or JSONRPCFailure for a protocol error.
    using Run = std::function<platform::Task<MCPToolResult>(nlohmann::json arguments)>;

    QString name;
    QString description;
    nlohmann::json inputSchema;  // the JSON Schema of the arguments object
    Run run;
};

}  // namespace tavlin::mcp
