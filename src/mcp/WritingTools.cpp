#include "mcp/ReminderTools.h"

using namespace Qt::StringLiterals;
using nlohmann::json;
using tavlin::platform::Task;

namespace tavlin::mcp {

namespace {

Task<MCPToolResult> notYet() {
    throw MCPToolError(u"Tavlin can only read reminders so far; this tool comes with a later version."_s);
    co_return MCPToolResult{};
}

}  // namespace

Task<MCPToolResult> ReminderTools::createReminder(json) { return notYet(); }
Task<MCPToolResult> ReminderTools::updateReminder(json) { return notYet(); }
Task<MCPToolResult> ReminderTools::completeReminder(json) { return notYet(); }
Task<MCPToolResult> ReminderTools::deleteReminder(json) { return notYet(); }

}  // namespace tavlin::mcp
