#include "mcp/MCPArguments.h"

#include "mcp/JSONValue.h"
#include "mcp/MCPTool.h"
#include "platform/Text.h"

using namespace Qt::StringLiterals;

namespace tavlin::mcp {

namespace {

[[noreturn]] void refuse(const std::string& name, const QString& complaint) {
    throw MCPToolError(QString::fromStdString(name) + complaint);
}

}  // namespace

const nlohmann::json* MCPArguments::given(const std::string& name) const {
    const nlohmann::json* value = JSONValue::member(arguments_, name);
    return value && !value->is_null() ? value : nullptr;
}

std::optional<QString> MCPArguments::string(const std::string& name) const {
    const nlohmann::json* value = given(name);
    if (!value) return std::nullopt;
    if (!value->is_string()) refuse(name, u" must be a string"_s);
    return QString::fromStdString(value->get<std::string>());
}

QString MCPArguments::requiredString(const std::string& name) const {
    const QString text = platform::trimmedWhitespaceAndNewlines(string(name).value_or(QString()));
    if (text.isEmpty()) refuse(name, u" is required"_s);
    return text;
}

std::optional<bool> MCPArguments::boolean(const std::string& name) const {
    const nlohmann::json* value = given(name);
    if (!value) return std::nullopt;
    if (!value->is_boolean()) refuse(name, u" must be true or false"_s);
    return value->get<bool>();
}

std::optional<std::int64_t> MCPArguments::number(const std::string& name) const {
    const nlohmann::json* value = given(name);
    if (!value) return std::nullopt;
    if (!value->is_number()) refuse(name, u" must be a number"_s);
    return JSONValue::integer(*value);
}

}  // namespace tavlin::mcp
