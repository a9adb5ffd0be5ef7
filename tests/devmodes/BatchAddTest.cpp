#include "devmodes/BatchAdd.h"

#include "support/HeadlessTavlin.h"
#include "support/TestFiles.h"
#include "support/Todoman.h"

#include "ScenarioFixture.h"

#include <nlohmann/json.hpp>

#include <set>
#include <string>

using namespace Qt::StringLiterals;
using tavlin::devmodes::addBatch;

class BatchAddTest : public ScenarioFixture {};

TEST_F(BatchAddTest, AddsEachTaskOfTheText) {
    ASSERT_TRUE(run(addBatch(storeWith({}), u"- buy milk\n- call mom tomorrow 10:00\n\n3. !!"_s)));
    expectLines(output.lines, {u"created: buy milk"_s, u"created: call mom"_s, u"created: !!"_s, u"errors: none"_s});
    ASSERT_EQ(backend.contents().reminders.size(), 3u);
    const tavlin::platform::Reminder& call = backend.contents().reminders[1];
    EXPECT_TRUE(call.dueDateComponents && call.dueDateComponents->hour == 10);
    EXPECT_TRUE(output.terminated.isEmpty());
}

TEST_F(BatchAddTest, FailuresAndEmptyTexts) {
    tavlin::store::ReminderStore& store = storeWith({});
    backend.setSaveFailure(refusal("disk full"));
    ASSERT_TRUE(run(addBatch(store, u"buy milk; call mom"_s)));
    expectLines(output.lines, {u"FAILED: buy milk"_s, u"FAILED: call mom"_s, u"errors: disk full"_s});

    // No task at all: the store's error as the last add left it.
    output.lines.clear();
    ASSERT_TRUE(run(addBatch(store, u" \n\t\n"_s)));
    expectLines(output.lines, {u"errors: disk full"_s});
    EXPECT_TRUE(backend.contents().reminders.empty());
}

TEST(BatchAddEndToEnd, AddsInTheRemindersFolderThatTodomanReads) {
    HeadlessTavlin tavlin({.mcpEnabled = false,
                           .environment = {u"TZ=UTC"_s},
                           .arguments = {u"--add-batch"_s, u"buy milk\ncall mom tomorrow 10:00"_s}});
    ASSERT_TRUE(tavlin.start()) << tavlin.process().standardError().toStdString();
    ASSERT_TRUE(tavlin.process().finish()) << "the run ends after the last line";
    EXPECT_EQ(tavlin.process().exitCode(), 0);
    expectLines(outputLines(tavlin.process().standardOutput()),
                {u"created: buy milk"_s, u"created: call mom"_s, u"errors: none"_s});
    EXPECT_EQ(tavlin.reminderFiles().size(), 2);

    if (!Todoman::isInstalled()) GTEST_SKIP() << Todoman::missing;
    Todoman todoman(tavlin.remindersFolder(), u"Reminders"_s);
    std::multiset<std::string> summaries;
    for (const auto& todo : nlohmann::json::parse(todoman.run({u"--porcelain"_s, u"list"_s}).toStdString()))
        summaries.insert(todo["summary"].get<std::string>());
    EXPECT_EQ(summaries, (std::multiset<std::string>{"buy milk", "call mom"}));
}

// A list made beside the first run's "Reminders" does not take the lines
// that name no list (though its title sorts first); the list todoman files
// new to-dos in, when it reads the same folders, does.
TEST(BatchAddEndToEnd, AddsToTheDefaultListNotToTheFirstByTitle) {
    for (const bool todomanDefault : {false, true}) {
        SCOPED_TRACE(todomanDefault ? "todoman's default list" : "the first run's list");
        HeadlessTavlin tavlin(
            {.mcpEnabled = false, .environment = {u"TZ=UTC"_s}, .arguments = {u"--add-batch"_s, u"dentist"_s}});
        writeTestFile(tavlin.remindersFolder() + u"/Reminders/displayname"_s, "Reminders");
        QDir().mkpath(tavlin.remindersFolder() + u"/Health"_s);
        if (todomanDefault)
            writeTestFile(tavlin.configHome() + u"/todoman/config.py"_s,
                          "path = \"~/.local/share/Tavlin/Reminders/*\"\ndefault_list = \"Health\"\n");
        ASSERT_TRUE(tavlin.start()) << tavlin.process().standardError().toStdString();
        // The run ends itself after its last line; a signal sent meanwhile
        // could meet it already past its handlers.
        ASSERT_TRUE(tavlin.process().finish()) << tavlin.process().standardOutput().toStdString();
        expectLines(outputLines(tavlin.process().standardOutput()), {u"created: dentist"_s, u"errors: none"_s});
        const QStringList files = tavlin.reminderFiles();
        ASSERT_EQ(files.size(), 1);
        EXPECT_TRUE(files.front().startsWith(todomanDefault ? u"Health/"_s : u"Reminders/"_s))
            << files.front().toStdString();
    }
}

// The argument after the switch is the text, even when it is a switch.
TEST(BatchAddEndToEnd, TakesTheNextArgumentWhateverItIs) {
    HeadlessTavlin tavlin(
        {.mcpEnabled = false, .environment = {u"TZ=UTC"_s}, .arguments = {u"--add-batch"_s, u"--parse-edit"_s}});
    ASSERT_TRUE(tavlin.start()) << tavlin.process().standardError().toStdString();
    ASSERT_TRUE(tavlin.process().finish()) << tavlin.process().standardOutput().toStdString();
    expectLines(outputLines(tavlin.process().standardOutput()), {u"created: <any>parse-edit"_s, u"errors: none"_s});
}
