#include "devmodes/StoreSelfTest.h"

#include "parsing/SmartParsedReminder.h"

#include "support/HeadlessTavlin.h"

#include "ScenarioFixture.h"

using namespace Qt::StringLiterals;
using tavlin::devmodes::selfTest;
using tavlin::parsing::SmartParsedReminder;

namespace {

// The store's part of a pass, after its first line.
const QStringList kStorePass = {
    u"create error: none"_s,        u"complete error: none"_s, u"still listed as incomplete: false"_s,
    u"restored after undo: true"_s, u"delete error: none"_s,   u"deleted from store: true"_s,
};

}  // namespace

class StoreSelfTest : public ScenarioFixture {};

TEST_F(StoreSelfTest, WithoutAModelStopsBeforeThePatchAndRunsOn) {
    ASSERT_TRUE(run(selfTest(storeWith({}))));
    expectLines(output.lines, QStringList{u"auth=3 fetched=0 lists=1"_s} + kStorePass +
                                  QStringList{u"smart parser unavailable — optimistic patch not exercised"_s});
    EXPECT_EQ(output.flushes.size(), output.lines.size()) << "each step flushed";
    EXPECT_TRUE(output.terminated.isEmpty());
    EXPECT_TRUE(backend.contents().reminders.empty());
}

TEST_F(StoreSelfTest, AFailedCreateEndsTheRunThere) {
    tavlin::store::ReminderStore& store = storeWith({});
    backend.setSaveFailure(refusal("disk full"));
    ASSERT_TRUE(run(selfTest(store)));
    expectLines(output.lines, {u"auth=3 fetched=0 lists=1"_s, u"create error: disk full"_s,
                               u"SELF-TEST FAIL: created reminder not found after refresh"_s});
    EXPECT_TRUE(output.terminated.isEmpty());
}

// The line is committed at once; the model's reading patches it only where
// it says something else (here: the "plants" of the line naming a list).
TEST_F(StoreSelfTest, PatchesWithTheModelReadingOnlyWhenItDiffers) {
    struct Case {
        const char* name;
        ScriptedLanguageModel::Answer answer;
        QStringList lines;
    };
    const SmartParsedReminder inPlants{.listText = u"plants"_s, .list = u"Plants"_s};
    const Case cases[] = {
        {"no reading",
         ScriptedLanguageModel::Failure{},
         {u"no patch: smart parse unavailable"_s,
          u"patched due: none title: water plants before end of day <uuid8> alarms: 0"_s}},
        {"the same reading",
         SmartParsedReminder{}.toGeneratedContent(),
         {u"no patch: smart parse matched the deterministic one"_s,
          u"patched due: none title: water plants before end of day <uuid8> alarms: 0"_s}},
        {"another reading",
         inPlants.toGeneratedContent(),
         {u"patch error: none"_s, u"patched due: none title: water before end of day <uuid8> alarms: 0"_s}},
    };
    tavlin::store::ReminderStore& store = storeWith({}, {list("L1", "Home"), list("L2", "Plants")});
    model.available = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        output.lines.clear();
        model.answers = {c.answer};
        ASSERT_TRUE(run(selfTest(store)));
        expectLines(output.lines,
                    QStringList{u"auth=3 fetched=0 lists=2"_s} + kStorePass +
                        QStringList{u"committed due: none title: water plants before end of day <uuid8>"_s} + c.lines +
                        QStringList{u"patch-test cleanup: ok"_s});
        EXPECT_TRUE(backend.contents().reminders.empty());
    }
    ASSERT_EQ(model.requests.size(), 3u);
    EXPECT_TRUE(model.requests.back().prompt.startsWith(u"water plants before end of day "_s));
}

// The real binary on an empty reminders folder: the run ends after its last
// line, and leaves no test reminder behind.
TEST(StoreSelfTestEndToEnd, RunsOnAnEmptyFolderAndEnds) {
    HeadlessTavlin tavlin({.mcpEnabled = false, .environment = {u"TZ=UTC"_s}, .arguments = {u"--self-test"_s}});
    ASSERT_TRUE(tavlin.start()) << tavlin.process().standardError().toStdString();
    ASSERT_TRUE(tavlin.process().finish()) << tavlin.process().standardOutput().toStdString();
    EXPECT_EQ(tavlin.process().exitCode(), 0);
    expectLines(outputLines(tavlin.process().standardOutput()),
                QStringList{u"auth=3 fetched=0 lists=1"_s} + kStorePass +
                    QStringList{u"smart parser unavailable — optimistic patch not exercised"_s});
    EXPECT_EQ(tavlin.reminderFiles(), QStringList{});
}
