// The commit of a typed line: the adds in order, the model's reading
// afterwards, and the panel's close in the middle of it.

#include "panel/LineCommit.h"
#include "parsing/SmartParsedReminder.h"

#include "FakeCommitStore.h"
#include "PanelModelFixture.h"
#include "support/ScriptedLanguageModel.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::parsing::ParsedQuickAdd;
using tavlin::parsing::SmartParsedReminder;

namespace {

// The model files a line ending in "groceries" in the list Groceries.
const SmartParsedReminder filed{.listText = u"groceries"_s, .list = u"Groceries"_s};

class LineCommitTest : public PanelModelFixture {
protected:
    void answer(const SmartParsedReminder& reading, int times = 1) {
        for (int i = 0; i < times; ++i) languageModel.answers.push_back(reading.toGeneratedContent());
    }
    static PreparedPart part(const QString& text, bool modelRuled = false) {
        return {.text = text, .parsed = {.title = text}, .modelRuled = modelRuled};
    }

    ScriptedLanguageModel languageModel;
    tavlin::platform::ScopedLanguageModel useModel{languageModel};
    std::shared_ptr<FakeCommitStore> fake = std::make_shared<FakeCommitStore>();
};

}  // namespace

TEST_F(LineCommitTest, TheModelsReadingUpdatesOnlyWhenItSaysSomethingElse) {
    struct Case {
        const char* name;
        std::optional<SmartParsedReminder> answer;  // none: the model fails
        bool available;
        QStringList calls;
    };
    const Case cases[] = {
        {"another list", filed, true, {u"add eggs groceries"_s, u"update eggs groceries: Groceries"_s}},
        {"the same reading", SmartParsedReminder{}, true, {u"add eggs groceries"_s}},
        {"no reading", std::nullopt, true, {u"add eggs groceries"_s}},
        {"no model", filed, false, {u"add eggs groceries"_s}},
    };
    for (const Case& c : cases) {
        fake = std::make_shared<FakeCommitStore>();
        languageModel.available = c.available;
        languageModel.answers.clear();
        if (c.answer) answer(*c.answer);
        const auto task =
            createAndRefine(fake, {.title = u"eggs groceries"_s}, std::nullopt, false, u"eggs groceries"_s);
        ASSERT_TRUE(task.isDone()) << c.name;
        EXPECT_EQ(fake->calls, c.calls) << c.name;
    }
}

TEST_F(LineCommitTest, PartsAreAddedInOrderThenReadOneAtATimeAndAFailedAddIsNotRead) {
    answer(filed, 3);
    languageModel.holdAnswers = true;
    fake->failingAdds = {2};
    // The lists as they were at the commit count, whatever comes after.
    fake->onAdd = [this] { fake->titles = {u"Groceries"_s, u"Work"_s, u"Errands"_s}; };
    const auto task =
        createPartsAndRefine(fake, {part(u"milk groceries"_s), part(u"bread groceries"_s), part(u"eggs groceries"_s)},
                             {u"Groceries"_s, u"Work"_s});
    EXPECT_EQ(fake->calls, (QStringList{u"add milk groceries"_s, u"add bread groceries"_s, u"add eggs groceries"_s}));
    ASSERT_EQ(languageModel.requests.size(), 1u) << "one reading at a time";
    EXPECT_EQ(languageModel.requests[0].prompt, u"milk groceries"_s);
    EXPECT_TRUE(languageModel.requests[0].instructions.endsWith(u"Available lists: Groceries, Work."_s));
    languageModel.release();
    ASSERT_EQ(languageModel.requests.size(), 2u);
    EXPECT_EQ(languageModel.requests[1].prompt, u"eggs groceries"_s);
    languageModel.release();
    EXPECT_TRUE(task.isDone());
    EXPECT_EQ(fake->calls.mid(3),
              (QStringList{u"update milk groceries: Groceries"_s, u"update eggs groceries: Groceries"_s}));

    // A single line is read against the lists as they are after its add.
    languageModel.holdAnswers = false;
    answer(filed);
    const auto single = createAndRefine(fake, {.title = u"tea groceries"_s}, std::nullopt, false, u"tea groceries"_s);
    EXPECT_TRUE(languageModel.requests.back().instructions.endsWith(u"Available lists: Groceries, Work, Errands."_s));
}

TEST_F(LineCommitTest, APartTheModelHasReadIsNeitherReadNorUpdated) {
    answer(filed, 2);
    const auto task = createPartsAndRefine(fake, {part(u"milk groceries"_s, true), part(u"bread groceries"_s, true)},
                                           {u"Groceries"_s});
    EXPECT_TRUE(task.isDone());
    EXPECT_EQ(fake->calls, (QStringList{u"add milk groceries"_s, u"add bread groceries"_s}));
    EXPECT_TRUE(languageModel.requests.empty());

    // What a part is prepared from: the model's reading of its exact text,
    // an empty one counting as read.
    storeWith({}, {list("L1", "Groceries")});
    const ReadingContext context{.listTitles = {u"Groceries"_s}, .now = wallNow(), .calendar = calendar};
    const PartResults results{{u"milk"_s, ParsedQuickAdd{.title = u"oat milk"_s}}, {u"tomorrow"_s, std::nullopt}};
    const tavlin::store::ResolvedLocation bakery{u"Bakery"_s, 52.37, 4.89, 100};
    const LocationPreviews previews{{u"bakery"_s, {.resolved = bakery}}, {u"home"_s, {.failed = true}}};
    EXPECT_EQ(preparePart(u"milk"_s, results, previews, context),
              (PreparedPart{.text = u"milk"_s, .parsed = {.title = u"oat milk"_s}, .modelRuled = true}));
    EXPECT_EQ(preparePart(u"tomorrow"_s, results, previews, context),
              (PreparedPart{.text = u"tomorrow"_s, .parsed = {.title = u"tomorrow"_s}, .modelRuled = true}))
        << "a date alone keeps its words as the title";
    EXPECT_EQ(preparePart(u"bread @bakery"_s, results, previews, context)->resolved, bakery);
    EXPECT_EQ(preparePart(u"bread @home"_s, results, previews, context)->resolved, std::nullopt);
    EXPECT_EQ(preparePart(u"bread @Bakery"_s, results, previews, context)->resolved, std::nullopt)
        << "the place's name exactly";
    EXPECT_EQ(preparePart(u"x"_s, {{u"x"_s, ParsedQuickAdd{}}}, previews, context), std::nullopt);
}

TEST_F(LineCommitTest, ClosingThePanelMidCommitStillAddsEveryPart) {
    storeWith({}, {list("L1", "Groceries")});
    commits = fake;
    fake->holdAdds = true;
    PanelModel& panel = makeModel();
    panel.typedLine().setQuery(u"milk; bread; eggs"_s);
    panel.fieldActions().submit();
    panel.closing();
    model.reset();
    for (int round = 0; round < 3; ++round) fake->release();
    EXPECT_EQ(fake->calls, (QStringList{u"add milk"_s, u"add bread"_s, u"add eggs"_s}));
    EXPECT_EQ(fake->held.size(), 3u);
}

// The model's reading may come seconds after the add: a reminder changed
// meanwhile keeps the change; a refresh alone changes nothing.
TEST_F(LineCommitTest, AReminderChangedBeforeTheReadingArrivesIsNotRefined) {
    using Reminder = tavlin::platform::Reminder;
    struct Case {
        const char* name;
        std::function<void(const Reminder&)> meanwhile;
        bool refined;
    };
    const Case cases[] = {
        {"untouched, the store refreshed",
         [this](const Reminder&) {
             store->requestRefresh();
             clock.runDueActions();
         },
         true},
        {"its title edited",
         [this](const Reminder& added) {
             backend.changeByAnotherProcess([&](auto& held) {
                 for (Reminder& r : held.reminders)
                     if (r.identifier == added.identifier) r.title = u"eggs, free range"_s;
             });
         },
         false},
        {"completed", [this](const Reminder& added) { store->setCompleted(added, true); }, false},
        {"deleted", [this](const Reminder& added) { store->deleteReminder(added); }, false},
    };
    for (const Case& c : cases) {
        storeWith({}, {list("L1", "Inbox"), list("L2", "Groceries")});
        languageModel.holdAnswers = true;
        answer(filed);
        const auto task = createAndRefine(commitStoreOver(*store), {.title = u"eggs groceries"_s}, std::nullopt, false,
                                          u"eggs groceries"_s);
        ASSERT_EQ(languageModel.heldCount(), 1u) << c.name;
        const Reminder created = backend.contents().reminders.back();
        c.meanwhile(created);
        languageModel.release();
        clock.runDueActions();
        ASSERT_TRUE(task.isDone()) << c.name;
        const std::optional<Reminder> now = backend.reminder(created.identifier);
        const bool refined = now && now->listIdentifier == u"L2"_s && now->title == u"eggs"_s;
        EXPECT_EQ(refined, c.refined) << c.name;
        if (now && !c.refined) {
            EXPECT_EQ(now->listIdentifier, u"L1"_s) << c.name;
        }
    }
}
