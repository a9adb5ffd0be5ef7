#include "ReminderToolsFixture.h"

#include "SlowLanguageModel.h"
#include "parsing/ReminderEditing.h"
#include "parsing/SmartParsedReminder.h"
#include "support/ScriptedLanguageModel.h"

#include <gmock/gmock.h>

using namespace std::chrono_literals;
using namespace tavlin::mcp;
using nlohmann::json;
using tavlin::platform::RecurrenceRule;
using tavlin::platform::StoreError;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

class WritingToolsTest : public ReminderToolsFixture {
protected:
    void SetUp() override {
        open({.lists = {list("inbox", "Inbox"), list("work", "Work")}, .reminders = {weekly()}});
        backend.setDefaultListIdentifier(QStringLiteral("inbox"));
    }

    // Due Friday 6 March 2026 at 9:00, every week, at the office.
    static Reminder weekly() {
        Reminder r = reminder("Standup", "work", at(2026, 3, 6, 9));
        r.notes = QStringLiteral("bring notes");
        r.recurrenceRules = {RecurrenceRule{.frequency = RecurrenceRule::Frequency::weekly}};
        r.alarms = {tavlin::platform::Alarm::on({.title = QStringLiteral("Office"), .radius = 150},
                                                tavlin::platform::AlarmProximity::enter)};
        return r;
    }

    std::vector<Reminder> stored() const { return backend.contents().reminders; }
    std::optional<Reminder> storedTitled(const QString& title) const {
        for (const Reminder& r : stored())
            if (r.title == title) return r;
        return std::nullopt;
    }
    static QString lines(int count) {
        QStringList texts;
        for (int i = 1; i <= count; ++i) texts << QStringLiteral("task %1").arg(i);
        return texts.join(u'\n');
    }
    static std::string refusal(const json& result) {
        EXPECT_EQ(result.at("isError"), true);
        EXPECT_FALSE(result.contains("structuredContent"));
        return textOf(result);
    }
};

}  // namespace

TEST_F(WritingToolsTest, CreatesOneReminderWithTheExplicitFieldsOverTheText) {
    const json result = call("create_reminder", {{"text", "Pay bills tomorrow !"},
                                                 {"due", "2030-09-19T17:00"},
                                                 {"priority", "high"},
                                                 {"list", "work"},
                                                 {"notes", "IBAN in mail"}});
    const std::optional<Reminder> made = storedTitled(QStringLiteral("Pay bills"));
    ASSERT_TRUE(made);
    EXPECT_EQ(textOf(result), "Created: Pay bills · due 2030-09-19T17:00:00+02:00 · high priority · in Work [" +
                                  made->identifier.toStdString() + "]");
    EXPECT_EQ(made->listIdentifier, QStringLiteral("work"));
    EXPECT_EQ(made->notes, QStringLiteral("IBAN in mail"));
    EXPECT_EQ(made->priority, 1);
    EXPECT_EQ(result.at("structuredContent").at("reminder").at("due"), "2030-09-19T17:00:00+02:00");
}

TEST_F(WritingToolsTest, ReadsEachTaskOfATextOnItsOwn) {
    const json result = call("create_reminder", {{"text", "milk; call mom tomorrow; bins thursday #work"}});
    EXPECT_THAT(textOf(result), StartsWith("Created 3 reminders:\n- milk · in Inbox ["));
    EXPECT_EQ(result.at("structuredContent").at("reminders").size(), 3u);
    EXPECT_EQ(storedTitled(QStringLiteral("bins"))->listIdentifier, QStringLiteral("work"));
    EXPECT_TRUE(storedTitled(QStringLiteral("call mom"))->dueDateComponents);

    EXPECT_EQ(
        call("create_reminder", {{"text", lines(10).toStdString()}}).at("structuredContent").at("reminders").size(),
        10u);
}

TEST_F(WritingToolsTest, RefusesABatchItCannotMakeWholeBeforeMakingAny) {
    const std::size_t before = stored().size();
    const std::pair<json, std::string> cases[] = {
        {{{"text", lines(11).toStdString()}},
         "That's 11 reminders; Tavlin creates at most 10 per call. Split them over several calls."},
        {{{"text", lines(11).toStdString()}, {"title", "One"}},
         "That's 11 reminders; Tavlin creates at most 10 per call. Split them over several calls."},
        {{{"text", "a; b"}, {"title", "One"}},
         "title names one reminder, but the text holds 2. Drop title, or create them one at a time."},
        {{{"text", "a; b"}, {"list", "Home"}}, R"(No list called "Home". The lists are: "Inbox", "Work".)"},
        {{{"text", " \n"}}, "text is required"},
        {{{"text", "a"}, {"notes", 3}}, "notes must be a string"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_EQ(refusal(call("create_reminder", arguments)), message);
    }
    EXPECT_EQ(stored().size(), before);
}

TEST_F(WritingToolsTest, ReportsTheRemindersMadeBeforeARefusedSave) {
    int saves = 0;
    QObject::connect(store.get(), &tavlin::store::ReminderStore::remindersChanged, [&] {
        if (++saves == 2)
            backend.setSaveFailure(StoreError{.code = StoreError::writeFailed, .description = "Disk full"});
    });
    const std::string text = refusal(call("create_reminder", {{"text", "one\ntwo\nthree\nfour\nfive"}}));
    EXPECT_THAT(
        text,
        StartsWith("The reminders store refused to save \"three\": Disk full. These were created before it:\n- one"));
    EXPECT_THAT(text,
                EndsWith("\n- two · in Inbox [" + storedTitled(QStringLiteral("two"))->identifier.toStdString() + "]"));
    EXPECT_TRUE(storedTitled(QStringLiteral("two")));
    EXPECT_FALSE(storedTitled(QStringLiteral("four")));
}

TEST_F(WritingToolsTest, MakesMarkersOnlyTextsAndBareCadencesIntoReminders) {
    call("create_reminder", {{"text", "!!!"}});
    EXPECT_EQ(storedTitled(QStringLiteral("!!!"))->priority, 0);
    call("create_reminder", {{"text", "gym daily"}});
    EXPECT_EQ(storedTitled(QStringLiteral("gym"))->dueDateComponents, day(2026, 3, 4));
    call("create_reminder", {{"text", "swim weekly"}, {"due", "none"}});
    const Reminder swim = *storedTitled(QStringLiteral("swim"));
    EXPECT_FALSE(swim.dueDateComponents);
    EXPECT_TRUE(swim.recurrenceRules.empty());
}

TEST_F(WritingToolsTest, UpdatesOnlyTheFieldsItIsGiven) {
    const QString id = QStringLiteral("standup");
    struct Case {
        const char* name;
        json arguments;
        std::function<void(const Reminder&)> check;
    };
    const Case cases[] = {
        {"a title",
         {{"title", "Daily standup"}},
         [](const Reminder& r) {
             EXPECT_EQ(r.title, QStringLiteral("Daily standup"));
             EXPECT_EQ(r.dueDateComponents, at(2026, 3, 6, 9));
             EXPECT_EQ(r.recurrenceRules.size(), 1u);
             EXPECT_EQ(tavlin::parsing::ReminderEditing::alarmLocation(r)->title, QStringLiteral("Office"));
             EXPECT_EQ(r.notes, QStringLiteral("bring notes"));
         }},
        {"no due date",
         {{"due", "none"}},
         [](const Reminder& r) {
             EXPECT_FALSE(r.dueDateComponents);
             EXPECT_TRUE(r.recurrenceRules.empty());
         }},
        {"no notes",
         {{"notes", ""}},
         [](const Reminder& r) {
             EXPECT_EQ(r.notes, QString());
             EXPECT_EQ(r.title, QStringLiteral("Standup"));
         }},
        {"a whole new line",
         {{"text", "Retro friday 15:00 !!"}},
         [](const Reminder& r) {
             EXPECT_EQ(r.title, QStringLiteral("Retro"));
             EXPECT_EQ(r.dueDateComponents->hour, 15);
             EXPECT_EQ(r.priority, 5);
             EXPECT_TRUE(r.recurrenceRules.empty());
             EXPECT_FALSE(tavlin::parsing::ReminderEditing::alarmLocation(r));
             EXPECT_EQ(r.listIdentifier, QStringLiteral("work"));
         }},
        {"a cadence without a date",
         {{"text", "Gym every week"}},
         [](const Reminder& r) {
             EXPECT_EQ(r.dueDateComponents, day(2026, 3, 4));
             EXPECT_EQ(r.recurrenceRules.size(), 1u);
         }},
        {"a line of only markers",
         {{"text", " !! "}},
         [](const Reminder& r) {
             EXPECT_EQ(r.title, QStringLiteral("!!"));
             EXPECT_FALSE(r.dueDateComponents);
             EXPECT_EQ(r.priority, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open({.lists = {list("inbox", "Inbox"), list("work", "Work")}, .reminders = {weekly()}});
        json arguments = c.arguments;
        arguments["id"] = id.toStdString();
        const json result = call("update_reminder", arguments);
        EXPECT_THAT(textOf(result), StartsWith("Updated: "));
        c.check(*backend.reminder(id));
    }
}

TEST_F(WritingToolsTest, AnUnchangedUpdateAndTheRefusals) {
    EXPECT_EQ(textOf(call("update_reminder", {{"id", "standup"}, {"text", "  "}})),
              "Updated: Standup · due 2026-03-06T09:00:00+01:00 · every week · at Office · in Work [standup]");
    EXPECT_EQ(refusal(call("update_reminder", {{"id", "standup"}})),
              "Nothing to change: pass text or at least one of title, notes, due, list, priority.");
    EXPECT_EQ(refusal(call("update_reminder", {{"id", "gone"}, {"title", "x"}})),
              "No reminder with id gone. Ids come from list_reminders; it may have been deleted.");
    call("complete_reminder", {{"id", "standup"}});
    EXPECT_EQ(refusal(call("update_reminder", {{"id", "standup"}, {"title", "x"}})),
              "That reminder is completed. Use complete_reminder with completed=false to reopen it first.");
}

TEST_F(WritingToolsTest, AnUpdateOfAReminderDeletedElsewhereChangesNothing) {
    // Another program deleted it; the store has not looked again yet.
    QObject::disconnect(&backend, &tavlin::platform::EventStore::changed, nullptr, nullptr);
    backend.changeByAnotherProcess([](auto& contents) { contents.reminders.clear(); });
    EXPECT_EQ(refusal(call("update_reminder", {{"id", "standup"}, {"notes", "new"}})),
              "No reminder with id standup. Ids come from list_reminders; it may have been deleted.");
    EXPECT_TRUE(stored().empty());
}

TEST_F(WritingToolsTest, ReportsARefusedListMoveWithTheRestSaved) {
    backend.setListMoveFailure(StoreError{.code = StoreError::writeFailed, .description = "read-only"});
    const json result = call("update_reminder", {{"id", "standup"}, {"title", "Moved"}, {"list", "inbox"}});
    EXPECT_EQ(result.at("isError"), true);
    EXPECT_EQ(textOf(result),
              "Updated, but the reminders store refused to move it: Couldn’t move it to “Inbox” — the rest of the "
              "edit was saved\nMoved · due 2026-03-06T09:00:00+01:00 · every week · at Office · in Work "
              "[standup]");
    EXPECT_EQ(result.at("structuredContent").at("reminder").at("list"), "Work");
}

TEST_F(WritingToolsTest, CompletesOneOccurrenceOfARepeatingReminder) {
    const json result = call("complete_reminder", {{"id", "standup"}});
    EXPECT_THAT(textOf(result), StartsWith("Completed: Standup · "));
    EXPECT_THAT(textOf(result), EndsWith(" · completed [standup]"));
    const std::vector<Reminder> both = stored();
    ASSERT_EQ(both.size(), 2u);
    EXPECT_TRUE(backend.reminder(QStringLiteral("standup"))->completed);
    const auto next = std::find_if(both.begin(), both.end(), [](const Reminder& r) { return !r.completed; });
    EXPECT_EQ(next->dueDateComponents->day, 13);

    EXPECT_THAT(textOf(call("complete_reminder", {{"id", "standup"}, {"completed", false}})), StartsWith("Reopened: "));
    EXPECT_EQ(stored().size(), 1u);
    EXPECT_EQ(refusal(call("complete_reminder", {{"id", "standup"}, {"completed", "yes"}})),
              "completed must be true or false");
}

TEST_F(WritingToolsTest, DeletesAtOnce) {
    Reminder untitled = reminder("x", "inbox");
    untitled.title.clear();
    open({.lists = {list("inbox", "Inbox")}, .reminders = {untitled}});
    const json result = call("delete_reminder", {{"id", "x"}});
    EXPECT_EQ(textOf(result), R"(Deleted "" [x].)");
    EXPECT_EQ(result.at("structuredContent"), (json{{"id", "x"}, {"title", ""}}));
    EXPECT_TRUE(stored().empty());
    EXPECT_THAT(refusal(call("delete_reminder", {{"id", "x"}})), StartsWith("No reminder with id x."));
}

TEST_F(WritingToolsTest, TheModelRefinesWhatItCreated) {
    SlowLanguageModel model;
    const tavlin::platform::ScopedLanguageModel useModel(model);
    const auto create = [this](const char* text) { return callAsTimePasses("create_reminder", {{"text", text}}); };
    model.delay = 1s;
    EXPECT_THAT(textOf(create("call mum")), StartsWith("Created: call mum · in Inbox [")) << "no note when it agrees";
    model.delay = 9s;
    EXPECT_THAT(textOf(create("call dad")),
                EndsWith("]\nCreated from the instant parse; the on-device model is still reading the text and may "
                         "refine the date."));
    EXPECT_THAT(textOf(create("a; b; c")), EndsWith("\nThe on-device model is still reading each one and may refine "
                                                    "their dates."));
    clock.advance(20s);
    EXPECT_EQ(model.questions, 5);
}

// The model's reading may come long after the reply: a reminder changed
// meanwhile keeps the change instead of taking the reading.
TEST_F(WritingToolsTest, AReadingAfterTheReplyLeavesAReminderChangedMeanwhile) {
    ScriptedLanguageModel model;
    const tavlin::platform::ScopedLanguageModel useModel(model);
    model.holdAnswers = true;
    const tavlin::parsing::SmartParsedReminder filed{.listText = QStringLiteral("work"),
                                                     .list = QStringLiteral("Work")};
    for (const bool editedMeanwhile : {false, true}) {
        model.answers.push_back(filed.toGeneratedContent());
        EXPECT_THAT(textOf(callAsTimePasses("create_reminder", {{"text", "report work"}})),
                    HasSubstr("still reading the text"));
        const Reminder created = storedTitled(QStringLiteral("report work")).value();
        if (editedMeanwhile) {
            backend.changeByAnotherProcess([&](auto& held) {
                for (Reminder& r : held.reminders)
                    if (r.identifier == created.identifier) r.title = QStringLiteral("quarterly report");
            });
        }
        model.release();
        clock.runDueActions();
        const Reminder now = backend.reminder(created.identifier).value();
        EXPECT_EQ(now.title, editedMeanwhile ? QStringLiteral("quarterly report") : QStringLiteral("report"));
        EXPECT_EQ(now.listIdentifier, editedMeanwhile ? QStringLiteral("inbox") : QStringLiteral("work"));
    }
}
