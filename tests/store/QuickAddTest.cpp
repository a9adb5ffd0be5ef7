// A text added as reminders: its tasks read by the rules, the adds in
// order with the refused ones reported and the rest kept, and the model's
// later reading, which never overwrites a reminder changed meanwhile.

#include "parsing/SmartParsedReminder.h"
#include "store/QuickAdd.h"

#include "ReminderStoreFixture.h"
#include "support/ScriptedLanguageModel.h"

#include <functional>
#include <set>

using namespace tavlin::platform;
using namespace tavlin::store;
using tavlin::parsing::ParsedQuickAdd;
using tavlin::parsing::SmartParsedReminder;
using namespace Qt::StringLiterals;
using UpdateOutcome = ReminderStore::UpdateOutcome;

namespace {

// The store's adds, but those numbered in `refused` (from 1) are refused.
class RefusingAdds final : public QuickAdd::Store {
public:
    RefusingAdds(std::shared_ptr<QuickAdd::Store> store, std::set<int> refused)
        : store_(std::move(store)), refused_(std::move(refused)) {}

    QStringList listTitles() const override { return store_->listTitles(); }
    Task<std::optional<Reminder>> add(ParsedQuickAdd parsed, std::optional<ResolvedLocation> place) override {
        if (refused_.contains(++adds_)) co_return std::nullopt;
        co_return co_await store_->add(std::move(parsed), std::move(place));
    }
    std::optional<Reminder> saved(const QString& identifier) const override { return store_->saved(identifier); }
    Task<UpdateOutcome> update(ParsedQuickAdd parsed, Reminder reminder,
                               std::optional<ResolvedLocation> place) override {
        co_return co_await store_->update(std::move(parsed), std::move(reminder), std::move(place));
    }

private:
    std::shared_ptr<QuickAdd::Store> store_;
    std::set<int> refused_;
    int adds_ = 0;
};

class QuickAddTest : public ReminderStoreFixture {
protected:
    QuickAddTest() { defaultLists = {list("L1", "Inbox"), list("L2", "Groceries"), list("L3", "Work")}; }

    template <class T>
    T finished(Task<T> task) {
        clock.runDueActions();
        EXPECT_TRUE(task.isDone());
        return task.result();
    }

    Reminder added(const QString& title) {
        const std::optional<Reminder> made = finished(QuickAdd::over(*store)->add({.title = title}, std::nullopt));
        return made.value();
    }

    void changeElsewhere(const QString& identifier, const std::function<void(Reminder&)>& change) {
        backend.changeByAnotherProcess([&](MemoryEventStore::Contents& held) {
            for (Reminder& r : held.reminders)
                if (r.identifier == identifier) change(r);
        });
        clock.runDueActions();
    }

    QStringList titles() const {
        QStringList held;
        for (const Reminder& r : backend.contents().reminders) held << r.title;
        return held;
    }

    ScriptedLanguageModel languageModel;
    ScopedLanguageModel useModel{languageModel};
};

}  // namespace

// The model's reading may come seconds after the add. It rewrites the
// reminder only while the reminder is saved as it was added: an edit made
// meanwhile, even of other fields, keeps the whole reminder as it is.
TEST_F(QuickAddTest, AReadingAfterTheAddRewritesOnlyAReminderSavedAsItWasAdded) {
    using Outcome = std::optional<UpdateOutcome>;
    struct Case {
        const char* name;
        std::function<void(const Reminder&)> meanwhile;
        QuickAdd::FixedFields fixed;
        Outcome outcome;
        const char* title;  // as saved afterwards; nullptr: gone
        const char* listIdentifier;
    };
    const auto nothing = [](const Reminder&) {};
    const Case cases[] = {
        {"untouched", nothing, {}, UpdateOutcome::saved, "eggs", "L2"},
        {"untouched, the store refreshed",
         [this](const Reminder&) {
             store->requestRefresh();
             clock.runDueActions();
         },
         {},
         UpdateOutcome::saved,
         "eggs",
         "L2"},
        {"its title edited elsewhere",
         [this](const Reminder& r) { changeElsewhere(r.identifier, [](Reminder& held) { held.title = u"eggs!"_s; }); },
         {},
         std::nullopt,
         "eggs!",
         "L1"},
        {"moved to another list elsewhere",
         [this](const Reminder& r) {
             changeElsewhere(r.identifier, [](Reminder& held) { held.listIdentifier = u"L3"_s; });
         },
         {},
         std::nullopt,
         "eggs groceries",
         "L3"},
        {"completed",
         [this](const Reminder& r) { store->setCompleted(r, true); },
         {},
         std::nullopt,
         "eggs groceries",
         "L1"},
        {"deleted", [this](const Reminder& r) { store->deleteReminder(r); }, {}, std::nullopt, nullptr, nullptr},
        {"the caller's fields laid over make it the entry's reading", nothing,
         [](ParsedQuickAdd& reading) {
             reading.title = u"eggs groceries"_s;
             reading.listName.reset();
         },
         std::nullopt, "eggs groceries", "L1"},
        {"the move to the list refused",
         [this](const Reminder&) {
             backend.setListMoveFailure(
                 StoreError{.code = StoreError::writeFailed, .description = u"read-only list"_s});
         },
         {},
         UpdateOutcome::listMoveRefused,
         "eggs",
         "L1"},
    };
    for (const Case& c : cases) {
        storeWith({});
        backend.setListMoveFailure(std::nullopt);
        const QuickAdd::Entry entry{.text = u"eggs groceries"_s, .parsed = {.title = u"eggs groceries"_s}};
        const Reminder made = added(entry.parsed.title);
        c.meanwhile(made);
        const ParsedQuickAdd reading{.title = u"eggs"_s, .listName = u"Groceries"_s};
        EXPECT_EQ(finished(QuickAdd::applyLaterReading(QuickAdd::over(*store), entry, made, reading, c.fixed)),
                  c.outcome)
            << c.name;
        const std::optional<Reminder> now = backend.reminder(made.identifier);
        ASSERT_EQ(now.has_value(), c.title != nullptr) << c.name;
        if (!now) continue;
        EXPECT_EQ(now->title, QString::fromUtf8(c.title)) << c.name;
        EXPECT_EQ(now->listIdentifier, QString::fromUtf8(c.listIdentifier)) << c.name;
    }
}

TEST_F(QuickAddTest, ARefusedAddIsReportedAndTheOthersAreAddedAndRead) {
    storeWith({});
    languageModel.answers.push_back(
        SmartParsedReminder{.listText = u"groceries"_s, .list = u"Groceries"_s}.toGeneratedContent());
    std::vector<QuickAdd::Entry> entries = QuickAdd::entries(u"milk groceries; bread groceries; eggs groceries"_s,
                                                             QuickAdd::over(*store)->listTitles(), wallNow(), calendar);
    entries[2].modelRuled = true;
    const auto adds = std::make_shared<RefusingAdds>(QuickAdd::over(*store), std::set<int>{2});

    const Task<> task = QuickAdd::addAndRefine(adds, entries, QuickAdd::over(*store)->listTitles());
    clock.runDueActions();
    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(titles(), (QStringList{u"milk"_s, u"eggs groceries"_s}))
        << "the refused one is not read; the one the model read is not read again";
    ASSERT_EQ(languageModel.requests.size(), 1u);
    EXPECT_EQ(languageModel.requests[0].prompt, u"milk groceries"_s);

    // Each add's outcome in order, the store's refusal among them.
    backend.setSaveFailure(StoreError{.code = StoreError::writeFailed, .description = u"disk full"_s});
    const std::vector<std::optional<Reminder>> refused = finished(QuickAdd::add(QuickAdd::over(*store), entries));
    ASSERT_EQ(refused.size(), 3u);
    EXPECT_FALSE(refused[0] || refused[1] || refused[2]);
    EXPECT_EQ(titles().size(), 2) << "nothing added before is lost";
    ASSERT_TRUE(store->lastError());
}

TEST_F(QuickAddTest, EachTaskOfATextIsReadByTheRulesAsItIsSaved) {
    storeWith({});
    const std::vector<QuickAdd::Entry> entries =
        QuickAdd::entries(u"- buy milk #groceries\n- call mom tomorrow 10:00\n\n3. !!"_s,
                          QuickAdd::over(*store)->listTitles(), wallNow(), calendar);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, u"buy milk #groceries"_s);
    EXPECT_EQ(entries[0].parsed.title, u"buy milk"_s);
    EXPECT_EQ(entries[0].parsed.listName, u"Groceries"_s);
    EXPECT_EQ(entries[1].parsed.title, u"call mom"_s);
    EXPECT_EQ(entries[1].parsed.dueDateComponents, at(2026, 3, 5, 10));
    EXPECT_EQ(entries[2].parsed.title, u"!!"_s) << "a line of markers keeps its text";
    EXPECT_FALSE(entries[0].modelRuled);

    QStringList many;
    for (int i = 1; i <= 12; ++i) many << QString::number(i) + u" eggs"_s;
    EXPECT_EQ(QuickAdd::entries(many.join(u"; "_s), {}, wallNow(), calendar).size(), 10u);
}

TEST_F(QuickAddTest, TheStoresWayCarriesTheNotesAndEndsWithTheStore) {
    storeWith({});
    const std::shared_ptr<QuickAdd::Store> adds = QuickAdd::over(*store, u"from an assistant"_s);
    EXPECT_EQ(adds->listTitles(), (QStringList{u"Inbox"_s, u"Groceries"_s, u"Work"_s}));
    const std::optional<Reminder> made = finished(adds->add({.title = u"milk"_s}, std::nullopt));
    ASSERT_TRUE(made);
    EXPECT_EQ(backend.reminder(made->identifier)->notes, u"from an assistant"_s);

    store.reset();
    clock.runDueActions();
    EXPECT_EQ(finished(adds->add({.title = u"bread"_s}, std::nullopt)), std::nullopt);
    EXPECT_EQ(adds->saved(made->identifier), std::nullopt);
    EXPECT_EQ(finished(adds->update({.title = u"oat milk"_s}, *made, std::nullopt)), UpdateOutcome::failed);
    EXPECT_EQ(titles(), QStringList{u"milk"_s});
}
