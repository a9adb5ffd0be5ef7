#include "mcp/MCPArguments.h"

#include "mcp/MCPTool.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace Qt::StringLiterals;
using namespace tavlin::mcp;
using nlohmann::json;

namespace {

// What a reader made of the argument, or the message it refused it with.
using Reader = std::function<std::string(const MCPArguments&)>;

std::string outcome(const json& arguments, const Reader& read) {
    try {
        return read(MCPArguments(arguments));
    } catch (const MCPToolError& error) {
        return "refused: " + error.message().toStdString();
    }
}

template <class T>
std::string shown(const std::optional<T>& value) {
    if (!value) return "none";
    if constexpr (std::is_same_v<T, QString>) return "\"" + value->toStdString() + "\"";
    else if constexpr (std::is_same_v<T, bool>) return *value ? "true" : "false";
    else return std::to_string(*value);
}

const Reader text = [](const MCPArguments& a) { return shown(a.string("due")); };
const Reader requiredText = [](const MCPArguments& a) { return shown(std::optional(a.requiredString("text"))); };
const Reader flag = [](const MCPArguments& a) { return shown(a.boolean("completed")); };
const Reader count = [](const MCPArguments& a) { return shown(a.number("limit")); };

}  // namespace

TEST(MCPArguments, ReadersAcceptTheirKindAndNameTheArgumentTheyRefuse) {
    struct Case {
        const char* name;
        json arguments;
        Reader reader;
        std::string outcome;
    };
    const Case cases[] = {
        {"string: missing", json::object(), text, "none"},
        {"string: null", {{"due", nullptr}}, text, "none"},
        {"string: kept as sent", {{"due", " tomorrow\n"}}, text, "\" tomorrow\n\""},
        {"string: a number", {{"due", 5}}, text, "refused: due must be a string"},
        {"required: trimmed", {{"text", " \t buy milk\n"}}, requiredText, "\"buy milk\""},
        {"required: trimmed of every kind of space",
         {{"text", "\xE2\x80\xA8 \xC2\xA0x\xE3\x80\x80"}},
         requiredText,
         "\"x\""},
        {"required: missing", json::object(), requiredText, "refused: text is required"},
        {"required: null", {{"text", nullptr}}, requiredText, "refused: text is required"},
        {"required: blank", {{"text", "   \n"}}, requiredText, "refused: text is required"},
        {"required: not a string", {{"text", {"a"}}}, requiredText, "refused: text must be a string"},
        {"bool: true", {{"completed", true}}, flag, "true"},
        {"bool: false", {{"completed", false}}, flag, "false"},
        {"bool: missing", json::object(), flag, "none"},
        {"bool: a string", {{"completed", "true"}}, flag, "refused: completed must be true or false"},
        {"bool: a number", {{"completed", 1}}, flag, "refused: completed must be true or false"},
        {"number: an integer", {{"limit", 20}}, count, "20"},
        {"number: a fraction is cut toward zero", {{"limit", -2.9}}, count, "-2"},
        {"number: saturates", {{"limit", 1e30}}, count, std::to_string(std::numeric_limits<std::int64_t>::max())},
        {"number: true", {{"limit", true}}, count, "refused: limit must be a number"},
        {"number: a string", {{"limit", "20"}}, count, "refused: limit must be a number"},
        {"number: missing", json::object(), count, "none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(outcome(c.arguments, c.reader), c.outcome);
    }
}
