#pragma once

#include "mcp/JSONRPCMessage.h"
#include "mcp/MCPTool.h"
#include "platform/Task.h"

#include <QByteArray>
#include <QString>

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace tavlin::mcp {

// The Model Context Protocol methods over JSON-RPC: initialize, ping,
// tools/list and tools/call. It keeps no state between messages, so
// tools/call needs no initialize first.
class MCPService {
public:
    MCPService(QString serverVersion, QString instructions, std::vector<MCPTool> tools);

    // The serialized reply to one POST body, or nothing when it held only
    // notifications. Never fails: faults become JSON-RPC errors in the reply.
    platform::Task<std::optional<QByteArray>> handle(QByteArray body) const;

    // The result of one request (a message with an id); throws JSONRPCFailure.
    platform::Task<nlohmann::json> dispatch(JSONRPCMessage message) const;

    nlohmann::json initializeResult(const std::optional<std::string>& protocolVersion) const;

    // Runs the tool that params name; a tool's failure is a result flagged as
    // an error. Throws JSONRPCFailure for a call that names no tool or whose
    // arguments are no object.
    platform::Task<nlohmann::json> callTool(nlohmann::json params) const;

    static nlohmann::json toolResultObject(const QString& text, bool isError,
                                           const std::optional<nlohmann::json>& structured);

private:
    platform::Task<nlohmann::json> reply(JSONRPCMessage request) const;
    const MCPTool& toolNamedIn(const nlohmann::json& params) const;

    QString serverVersion_;
    QString instructions_;
    std::vector<MCPTool> tools_;
    nlohmann::json toolList_;  // the tools never change, so their list is made once
};

}  // namespace tavlin::mcp
