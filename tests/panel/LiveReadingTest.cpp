// The language model's reading of the typed line while the user types, on
// a manual clock with a scripted model: the quiet spell, the readings kept
// only for the line they were made for, the per-task readings kept, pruned,
// read once and not again, and their way into the commit.

#include "panel/LiveReading.h"
#include "parsing/SmartParsedReminder.h"

#include "FakeCommitStore.h"
#include "PanelModelFixture.h"
#include "support/ScriptedLanguageModel.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace tavlin::panel;
using tavlin::parsing::ParsedQuickAdd;
using tavlin::parsing::SmartParsedReminder;

namespace {

// The model files a line ending in "groceries" in the list Groceries.
const SmartParsedReminder filed{.listText = u"groceries"_s, .list = u"Groceries"_s};

class LiveReadingTest : public PanelModelFixture {
protected:
    void SetUp() override {
        storeWith({}, {list("L1", "Groceries"), list("L2", "Work")});
        commits = fake;
        for (int i = 0; i < 8; ++i) languageModel.answers.push_back(filed.toGeneratedContent());
    }

    PanelModel& opened() {
        PanelModel& panel = makeModel();
        QCoreApplication::processEvents();
        return panel;
    }
    // `line` typed a key at a time, `pause` apart.
    void type(PanelModel& panel, const QString& line, std::chrono::milliseconds pause = 100ms) {
        for (qsizetype end = 1; end <= line.size(); ++end) {
            panel.typedLine().setQuery(line.left(end));
            advance(pause);
        }
    }
    QStringList prompts() const {
        QStringList asked;
        for (const ScriptedLanguageModel::Request& request : languageModel.requests) asked << request.prompt;
        return asked;
    }
    static std::vector<bool> interpreting(const PanelModel& panel) {
        std::vector<bool> flags;
        for (const CreatePart& part : panel.createAreaContent().parts) flags.push_back(part.interpreting);
        return flags;
    }

    ScriptedLanguageModel languageModel;
    tavlin::platform::ScopedLanguageModel useModel{languageModel};
    std::shared_ptr<FakeCommitStore> fake = std::make_shared<FakeCommitStore>();
};

}  // namespace

TEST_F(LiveReadingTest, TheModelReadsTheTrimmedLineAsTypedOnlyAfterAQuietSpell) {
    PanelModel& panel = opened();
    type(panel, u"  - eggs groceries  "_s, 300ms);
    EXPECT_TRUE(languageModel.requests.empty()) << "every key restarted the wait";
    EXPECT_TRUE(panel.typedLine().smartParseInFlight());
    EXPECT_EQ(interpreting(panel), std::vector<bool>{true}) << "the create row shows the indicator";

    advance(49ms);
    EXPECT_TRUE(languageModel.requests.empty());
    advance(1ms);
    // The line as typed, marker and all, not the task the splitter makes of it.
    EXPECT_EQ(prompts(), QStringList{u"- eggs groceries"_s});
    EXPECT_FALSE(panel.typedLine().smartParseInFlight());
    EXPECT_EQ(interpreting(panel), std::vector<bool>{false});
    EXPECT_EQ(panel.typedLine().smartParsedQuery(), u"- eggs groceries"_s);
    ASSERT_TRUE(panel.typedLine().smartParsed());
    EXPECT_EQ(panel.typedLine().smartParsed()->listName, u"Groceries"_s);
    // The line with its blanks is the same text: the reading counts for it.
    EXPECT_EQ(panel.typedLine().effectiveParsed(), *panel.typedLine().smartParsed());
}

TEST_F(LiveReadingTest, AReadingForALineEditedMeanwhileIsDropped) {
    languageModel.holdAnswers = true;
    PanelModel& panel = opened();
    type(panel, u"eggs groceries"_s);
    advance(LiveReading::quiet);
    ASSERT_EQ(languageModel.heldCount(), 1u);

    panel.typedLine().setQuery(u"eggs groceries!"_s);
    EXPECT_TRUE(panel.typedLine().smartParseInFlight()) << "the new line's run";
    languageModel.release();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel.typedLine().smartParsed(), std::nullopt);
    EXPECT_EQ(panel.typedLine().smartParsedQuery(), u""_s);

    advance(LiveReading::quiet);
    languageModel.release();
    EXPECT_EQ(prompts(), (QStringList{u"eggs groceries"_s, u"eggs groceries!"_s}));
    EXPECT_EQ(panel.typedLine().smartParsedQuery(), u"eggs groceries!"_s);
    EXPECT_FALSE(panel.typedLine().smartParseInFlight());

    // The panel closes while the model reads: nothing is written into it.
    panel.typedLine().setQuery(u"tea groceries"_s);
    advance(LiveReading::quiet);
    model.reset();
    languageModel.release();
    QCoreApplication::processEvents();
}

TEST_F(LiveReadingTest, EachTaskIsReadOnceAndKeepsItsReadingWhileItStaysInTheLine) {
    PanelModel& panel = opened();
    panel.typedLine().setQuery(u"milk groceries\nbread groceries\neggs groceries"_s);
    EXPECT_EQ(panel.typedLine().smartPartsInFlight(),
              (QSet<QString>{u"milk groceries"_s, u"bread groceries"_s, u"eggs groceries"_s}));
    EXPECT_EQ(interpreting(panel), (std::vector<bool>{true, true, true}));
    advance(LiveReading::quiet);
    EXPECT_EQ(prompts(), (QStringList{u"milk groceries"_s, u"bread groceries"_s, u"eggs groceries"_s}));
    EXPECT_TRUE(panel.typedLine().smartPartsInFlight().isEmpty());
    EXPECT_EQ(interpreting(panel), (std::vector<bool>{false, false, false}));
    const PartResults firstTwo{{u"milk groceries"_s, panel.typedLine().smartPartResults().at(u"milk groceries"_s)},
                               {u"bread groceries"_s, panel.typedLine().smartPartResults().at(u"bread groceries"_s)}};
    for (const ParsedQuickAdd& part : panel.typedLine().parsedParts()) EXPECT_EQ(part.listName, u"Groceries"_s);

    // The third task changed: its old reading goes, only the new one is read.
    panel.typedLine().setQuery(u"milk groceries\nbread groceries\ntea groceries"_s);
    EXPECT_EQ(panel.typedLine().smartPartResults(), firstTwo);
    EXPECT_EQ(interpreting(panel), (std::vector<bool>{false, false, true}));
    advance(LiveReading::quiet);
    EXPECT_EQ(prompts().mid(3), QStringList{u"tea groceries"_s});
    EXPECT_EQ(panel.typedLine().smartPartResults().size(), 3u);
}

TEST_F(LiveReadingTest, ATextTwiceIsReadOnceAndAnEmptyReadingIsNotAskedAgain) {
    languageModel.answers.push_front(ScriptedLanguageModel::Failure{});
    PanelModel& panel = opened();
    panel.typedLine().setQuery(u"milk; milk; bread groceries"_s);
    EXPECT_EQ(panel.typedLine().smartPartsInFlight(), (QSet<QString>{u"milk"_s, u"bread groceries"_s}));
    advance(LiveReading::quiet);
    EXPECT_EQ(prompts(), (QStringList{u"milk"_s, u"bread groceries"_s}));
    ASSERT_TRUE(panel.typedLine().smartPartResults().contains(u"milk"_s));
    EXPECT_EQ(panel.typedLine().smartPartResults().at(u"milk"_s), std::nullopt) << "read, to no avail";

    // Every task has been read: nothing runs for the line again.
    panel.typedLine().setQuery(u"milk; milk; bread groceries "_s);
    EXPECT_FALSE(panel.typedLine().smartParseTask().isValid());
    EXPECT_TRUE(panel.typedLine().smartPartsInFlight().isEmpty());
    advance(LiveReading::quiet);
    EXPECT_EQ(languageModel.requests.size(), 2u);
}

TEST_F(LiveReadingTest, ATaskTakenOutDuringARunIsNotReadAndTheRestAreReadNext) {
    languageModel.holdAnswers = true;
    PanelModel& panel = opened();
    panel.typedLine().setQuery(u"a groceries; b groceries; c groceries"_s);
    advance(LiveReading::quiet);
    ASSERT_EQ(prompts(), QStringList{u"a groceries"_s});
    const tavlin::platform::Task<> run = panel.typedLine().smartParseTask();

    panel.typedLine().setQuery(u"a groceries; c groceries"_s);
    EXPECT_TRUE(run.isCancelled());
    EXPECT_EQ(panel.typedLine().smartPartsInFlight(), (QSet<QString>{u"a groceries"_s, u"c groceries"_s}));
    languageModel.release();
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel.typedLine().smartPartResults().empty()) << "the cancelled run's reading is dropped";

    languageModel.holdAnswers = false;
    advance(LiveReading::quiet);
    EXPECT_EQ(prompts(), (QStringList{u"a groceries"_s, u"a groceries"_s, u"c groceries"_s}));
    EXPECT_EQ(panel.typedLine().smartPartResults().size(), 2u);
    EXPECT_TRUE(panel.typedLine().smartPartsInFlight().isEmpty());
}

TEST_F(LiveReadingTest, AnEmptyFieldOrNoModelClearsTheReadingsAndStartsNothing) {
    PanelModel& panel = opened();
    panel.typedLine().setQuery(u"milk; bread"_s);
    advance(LiveReading::quiet);
    ASSERT_EQ(panel.typedLine().smartPartResults().size(), 2u);
    panel.typedLine().setQuery(u"  "_s);
    EXPECT_TRUE(panel.typedLine().smartPartResults().empty());
    EXPECT_FALSE(panel.typedLine().smartParseTask().isValid());

    panel.typedLine().setQuery(u"milk; bread"_s);
    advance(LiveReading::quiet);
    languageModel.available = false;
    panel.typedLine().setQuery(u"milk; bread; eggs"_s);
    EXPECT_TRUE(panel.typedLine().smartPartResults().empty());
    EXPECT_TRUE(panel.typedLine().smartPartsInFlight().isEmpty());
    advance(LiveReading::quiet);
    EXPECT_EQ(languageModel.requests.size(), 4u);
}

TEST_F(LiveReadingTest, ReadingsMadeWhileTypingAreWhatTheCommitAdds) {
    PanelModel& panel = opened();
    type(panel, u"eggs groceries"_s);
    advance(LiveReading::quiet);
    panel.fieldActions().submit();
    QCoreApplication::processEvents();
    EXPECT_EQ(fake->calls, QStringList{u"add eggs"_s});
    EXPECT_EQ(fake->added.at(0).listName, u"Groceries"_s);
    EXPECT_EQ(languageModel.requests.size(), 1u) << "not read again after the add";

    panel.typedLine().setQuery(u"tea groceries; rice groceries"_s);
    advance(LiveReading::quiet);
    panel.fieldActions().submit();
    QCoreApplication::processEvents();
    EXPECT_EQ(fake->calls.mid(1), (QStringList{u"add tea"_s, u"add rice"_s}));
    EXPECT_EQ(languageModel.requests.size(), 3u);
}
