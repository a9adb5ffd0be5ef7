#include "ReminderToolsFixture.h"

#include "mcp/JSONRPCCodec.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace tavlin::mcp;
using nlohmann::json;
using tavlin::platform::AuthorizationStatus;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

QByteArray golden(const char* name) {
    return readTestFile(QStringLiteral(TAVLIN_MCP_GOLDEN_DIR "/") + QString::fromLatin1(name));
}

std::vector<std::string> titlesOf(const json& result) {
    std::vector<std::string> titles;
    for (const json& reminder : result.at("structuredContent").at("reminders")) titles.push_back(reminder.at("title"));
    return titles;
}

class ReadingToolsTest : public ReminderToolsFixture {
protected:
    void SetUp() override {
        open({.lists = {list("work", "Work"), list("groceries", "Groceries"), list("archive", "Archive")},
              .reminders = {reminder("Overdue call", "work", at(2026, 3, 3, 9)),
                            reminder("Due today", "work", day(2026, 3, 4)),
                            reminder("Next week", "groceries", day(2026, 3, 9)), reminder("Café order", "groceries"),
                            reminder("Old notes", "archive")}});
    }
};

}  // namespace

TEST_F(ReminderToolsFixture, TheCatalogueMatchesItsGoldenTextsByteForByte) {
    open({});
    const json list = service->dispatch({.id = JSONRPCID::number(1), .method = "tools/list"}).result();
    EXPECT_EQ(JSONRPCCodec::serialize(list) + '\n', golden("tools-list.json"));
    EXPECT_EQ(ReminderTools::serverInstructions().toUtf8(), golden("instructions.txt"));

    const QString instructions = ReminderTools::serverInstructions();
    EXPECT_EQ(instructions.split(u'\n').size(), 33);
    EXPECT_TRUE(instructions.endsWith(u"simply done."_s));
    EXPECT_THAT(instructions.split(u'\n')[4].toStdString(), HasSubstr("At most 10 per call."));
    const QString description = QString::fromStdString(list.at("tools").at(4).at("description"));
    EXPECT_EQ(description.count(QChar(0x2014)), 2) << "em dashes";
    EXPECT_THAT(description.toStdString(), HasSubstr("up to 10;"));
    EXPECT_EQ(instructions.count(u"->"_s), 10) << "arrows are two plain characters";
}

TEST_F(ReminderToolsFixture, TheCatalogueListsEightToolsWithTheirSchemas) {
    open({});
    std::vector<std::string> names;
    for (const MCPTool& tool : tools->makeTools()) {
        names.push_back(tool.name.toStdString());
        EXPECT_EQ(tool.inputSchema.at("additionalProperties"), false) << names.back();
    }
    EXPECT_THAT(names, ElementsAre("list_reminders", "get_lists", "get_summary", "preview_quick_add", "create_reminder",
                                   "update_reminder", "complete_reminder", "delete_reminder"));
    const std::vector<MCPTool> made = tools->makeTools();
    for (int reading : {0, 1, 2}) EXPECT_FALSE(made[reading].inputSchema.contains("required"));
    EXPECT_EQ(made[1].inputSchema.at("properties"), json::object());
    std::vector<std::string> updateProperties;
    for (const auto& [name, schema] : made[5].inputSchema.at("properties").items()) updateProperties.push_back(name);
    EXPECT_THAT(updateProperties, ElementsAre("due", "id", "list", "notes", "priority", "text", "title"));
}

TEST_F(ReadingToolsTest, EveryToolAsksForAccessBeforeReadingItsArguments) {
    open({}, AuthorizationStatus::denied);
    for (const auto& [tool, arguments] :
         std::vector<std::pair<std::string, json>>{{"list_reminders", {{"scope", "Today"}}},
                                                   {"get_lists", {}},
                                                   {"get_summary", {}},
                                                   {"preview_quick_add", {}},
                                                   {"create_reminder", {{"text", 1}}},
                                                   {"update_reminder", {}},
                                                   {"complete_reminder", {}},
                                                   {"delete_reminder", {}}}) {
        SCOPED_TRACE(tool);
        const json result = call(tool, arguments);
        EXPECT_EQ(result.at("isError"), true);
        EXPECT_THAT(textOf(result), StartsWith("Tavlin doesn't have access to the reminders store."));
    }
}

TEST_F(ReadingToolsTest, ListsByScopeInToolOrder) {
    EXPECT_EQ(textOf(call("list_reminders")),
              "5 reminders (all):\n"
              "- Overdue call · overdue since 2026-03-03T09:00:00+01:00 · in Work [overdue-call]\n"
              "- Due today · due 2026-03-04 · in Work [due-today]\n"
              "- Next week · due 2026-03-09 · in Groceries [next-week]\n"
              "- Café order · in Groceries [café-order]\n"
              "- Old notes · in Archive [old-notes]");
    EXPECT_THAT(titlesOf(call("list_reminders", {{"scope", "due_now"}})), ElementsAre("Overdue call", "Due today"));
    EXPECT_EQ(textOf(call("list_reminders", {{"scope", "today"}})),
              "1 reminder (today):\n- Due today · due 2026-03-04 · in Work [due-today]");
    EXPECT_THAT(titlesOf(call("list_reminders", {{"scope", "no_due_date"}})), ElementsAre("Café order", "Old notes"));
}

TEST_F(ReadingToolsTest, RefusesAScopeItDoesNotKnow) {
    for (const char* scope : {"Today", " today", "later"}) {
        SCOPED_TRACE(scope);
        const json result = call("list_reminders", {{"scope", scope}});
        EXPECT_EQ(result.at("isError"), true);
        EXPECT_EQ(textOf(result),
                  "scope must be one of all, overdue, today, due_now, next_7_days, no_due_date, completed_today");
    }
}

TEST_F(ReadingToolsTest, SortsByDueDatePriorityCreationAndTitle) {
    const auto made = [](const char* title, int priority, double created) {
        Reminder r = reminder(title, "work", at(2026, 3, 5, 9));
        r.priority = priority;
        r.creationDate = Date::fromSecondsSince1970(created);
        return r;
    };
    open({.lists = {list("work", "Work")},
          .reminders = {made("Task 10", 0, 1), made("Task 2", 0, 1), made("No priority", 0, 0), made("Low", 9, 5),
                        made("Medium", 5, 5), made("High", 1, 5), made("Second", 3, 3), made("First", 3, 2),
                        reminder("Undated", "work"), reminder("Earlier", "work", at(2026, 3, 5, 8))}});
    EXPECT_THAT(titlesOf(call("list_reminders")), ElementsAre("Earlier", "High", "First", "Second", "Medium", "Low",
                                                              "No priority", "Task 2", "Task 10", "Undated"));
}

TEST_F(ReadingToolsTest, ClampsTheLimit) {
    const std::pair<json, std::size_t> cases[] = {{0, 1u}, {-3, 1u}, {2.9, 2u}, {1000, 5u}};
    for (const auto& [limit, count] : cases) {
        SCOPED_TRACE(limit.dump());
        const json result = call("list_reminders", {{"limit", limit}});
        EXPECT_EQ(result.at("structuredContent").at("count"), count);
        EXPECT_EQ(result.at("structuredContent").at("total"), 5);
    }
    EXPECT_THAT(textOf(call("list_reminders", {{"limit", 2}})),
                StartsWith("5 reminders (all), showing the first 2:\n"));
    EXPECT_EQ(textOf(call("list_reminders", {{"limit", "2"}})), "limit must be a number");
}

TEST_F(ReadingToolsTest, FiltersByListAndText) {
    EXPECT_THAT(titlesOf(call("list_reminders", {{"list", " GROCERIES!"}})), ElementsAre("Next week", "Café order"));
    EXPECT_THAT(titlesOf(call("list_reminders", {{"search", "cafe"}})), ElementsAre("Café order"));
    EXPECT_EQ(titlesOf(call("list_reminders", {{"search", "  "}})).size(), 5u);
    settings.setIncludedListIDs({u"work"_s});
    EXPECT_EQ(textOf(call("list_reminders", {{"list", "Archive"}})), "0 reminders (all).");
    EXPECT_EQ(textOf(call("list_reminders", {{"list", "Home"}})),
              R"(No list called "Home". The lists are: "Work", "Groceries", "Archive".)");
}

TEST_F(ReadingToolsTest, AListNameOfOnlySymbolsNamesNoList) {
    open({.lists = {list("work", "Work"), list("cart", "🛒")}, .reminders = {reminder("Milk", "cart")}});
    for (const char* name : {"", "!!", "🛒"}) {
        SCOPED_TRACE(name);
        EXPECT_THAT(textOf(call("list_reminders", {{"list", name}})), StartsWith("No list called"));
        EXPECT_THAT(textOf(call("create_reminder", {{"text", "x"}, {"list", name}})), StartsWith("No list called"));
    }
}

TEST_F(ReadingToolsTest, FindsListsByTheirFoldedNames) {
    open({.lists = {list("todo", "To do"), list("home1", "Home"), list("home2", "home"), list("stuff", "Work stuff")}});
    const std::pair<const char*, const char*> found[] = {
        {"to do", "todo"}, {"TODO", "todo"}, {"home", "home1"}, {" workstuff ", "stuff"}};
    for (const auto& [name, identifier] : found)
        EXPECT_EQ(tools->list(QString::fromUtf8(name)).identifier, QString::fromUtf8(identifier));
    EXPECT_THROW(tools->list(u"to_do"_s), MCPToolError);
    EXPECT_THROW(tools->list(u"To-Do"_s), MCPToolError);
}

TEST_F(ReadingToolsTest, ReadsTheExplicitFields) {
    const ReminderTools::Overrides overrides =
        tools->parseOverrides({{"title", "  Buy milk "}, {"due", "none"}, {"list", "groceries"}, {"priority", "HIGH"}});
    EXPECT_EQ(overrides.title, u"Buy milk"_s);
    EXPECT_EQ(overrides.due, DueInput::Outcome(DueInput::Clear{}));
    EXPECT_EQ(overrides.listName, u"Groceries"_s);
    EXPECT_EQ(overrides.priority, tavlin::platform::Priority::high);
    const std::pair<json, const char*> refused[] = {
        {{{"title", "   "}, {"due", "tomorrow"}}, "title can't be empty"},
        {{{"due", "tomorrow"}},
         "due must be ISO 8601 — \"2026-09-19\" or \"2026-09-19T17:00\" — or \"none\" to clear it. Put natural-language "
         "dates in the text instead."},
        {{{"due", 20260919}}, "due must be a string"},
        {{{"priority", "urgent"}}, "priority must be none, low, medium or high"},
    };
    for (const auto& [arguments, message] : refused) {
        SCOPED_TRACE(arguments.dump());
        try {
            tools->parseOverrides(arguments);
            ADD_FAILURE() << "accepted";
        } catch (const MCPToolError& error) {
            EXPECT_EQ(error.message().toStdString(), message);
        }
    }
}

TEST_F(ReadingToolsTest, RefreshesDataOlderThanFiveSeconds) {
    // A change the store has not been told of yet.
    QObject::disconnect(&backend, &tavlin::platform::EventStore::changed, nullptr, nullptr);
    backend.changeByAnotherProcess([](auto& contents) { contents.reminders.push_back(reminder("Fresh", "work")); });
    clock.advance(5s);
    EXPECT_EQ(call("get_lists").at("structuredContent").at("lists").at(0).at("openCount"), 2);
    clock.advance(1s);
    EXPECT_EQ(call("get_lists").at("structuredContent").at("lists").at(0).at("openCount"), 3);
}

TEST_F(ReadingToolsTest, DescribesTheLists) {
    settings.setIncludedListIDs({u"work"_s, u"groceries"_s});
    settings.setQuickAddListID(u"groceries"_s);
    const json result = call("get_lists");
    EXPECT_EQ(textOf(result), "- Work (2 open)\n- Groceries (2 open, default)\n- Archive (1 open, hidden in Tavlin)");
    EXPECT_EQ(result.at("structuredContent").at("lists").at(1), (json{{"id", "groceries"},
                                                                      {"name", "Groceries"},
                                                                      {"account", "local"},
                                                                      {"isDefault", true},
                                                                      {"isShownInTavlin", true},
                                                                      {"openCount", 2}}));
    open({});
    EXPECT_EQ(textOf(call("get_lists")), "No lists.");
}

TEST_F(ReadingToolsTest, SummarizesTheDay) {
    settings.setPrimaryScope(tavlin::store::CountScope::dueNow);
    settings.setSecondaryScope(tavlin::store::CountScope::next7Days);
    const json result = call("get_summary");
    EXPECT_EQ(textOf(result),
              "5 open, 1 overdue, 1 due today, 2 due by today, 2 due in the next 7 days, 2 undated, "
              "0 done today.");
    const json& structured = result.at("structuredContent");
    EXPECT_EQ(structured.at("counts"), (json{{"all", 5},
                                             {"overdue", 1},
                                             {"today", 1},
                                             {"due_now", 2},
                                             {"next_7_days", 2},
                                             {"no_due_date", 2},
                                             {"completed_today", 0}}));
    EXPECT_EQ(structured.at("menuBar"), (json{"dueNow", "next7Days"}));
    EXPECT_EQ(structured.at("now"), "2026-03-04T10:00:00+01:00");
    EXPECT_EQ(structured.at("timeZone"), "Europe/Amsterdam");
    EXPECT_EQ(structured.at("onDeviceModelAvailable"), false);
    settings.setPrimaryScope(tavlin::store::CountScope::overdue);
    settings.setSecondaryScope(tavlin::store::CountScope::none);
    EXPECT_EQ(call("get_summary").at("structuredContent").at("menuBar"), (json{"overdue"}));
}
