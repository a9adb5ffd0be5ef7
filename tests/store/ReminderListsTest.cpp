// Lists by title, the list for new reminders, and the list settings kept in
// step with the lists that exist.

#include "ReminderStoreFixture.h"

#include <QFile>
#include <nlohmann/json.hpp>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

class ReminderListsTest : public ReminderStoreFixture {
protected:
    ReminderStore& storeWithLists(std::vector<ReminderList> lists) {
        backend.changeByAnotherProcess([&](MemoryEventStore::Contents& held) { held.lists = std::move(lists); });
        return startedStore();
    }
    void removeListElsewhere(const char* identifier) {
        backend.changeByAnotherProcess([&](MemoryEventStore::Contents& held) {
            std::erase_if(held.lists,
                          [&](const ReminderList& l) { return l.identifier == QString::fromUtf8(identifier); });
        });
        advance(300ms);
    }
    nlohmann::json storedSetting(const char* key) const {
        QFile file(defaults.filePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const nlohmann::json stored = nlohmann::json::parse(file.readAll().toStdString());
        return stored.contains(key) ? stored[key] : nlohmann::json();
    }
    static std::optional<QString> identifierOf(const std::optional<ReminderList>& list) {
        return list ? std::optional(list->identifier) : std::nullopt;
    }
};

}  // namespace

TEST_F(ReminderListsTest, ListByTitlePrefersTheAccountOfTheGivenList) {
    ReminderStore& store = storeWithLists({list("A-work", "Work", "A"),
                                           list("B-home", "Home", "B"),
                                           list("B-work", "Work", "B"),
                                           list("C-café", "Caf\u00e9", "C"),
                                           list("A-loose", "Loose", "A"),
                                           {.identifier = u"no-account"_s, .title = u"Loose"_s}});
    struct Case {
        const char* name;
        QString title;
        std::optional<ReminderList> preferring;
        std::optional<QString> found;
    };
    const Case cases[] = {
        {"an account that holds one", u"Work"_s, list("B-home", "Home", "B"), u"B-work"_s},
        {"no preferred list", u"Work"_s, std::nullopt, u"A-work"_s},
        {"an account that holds none", u"Work"_s, list("C-café", "Café", "C"), u"A-work"_s},
        {"a list without an account prefers lists without one", u"Loose"_s, ReminderList{.title = u"x"_s},
         u"no-account"_s},
        {"else the first of that title", u"Loose"_s, std::nullopt, u"A-loose"_s},
        {"case counts", u"work"_s, std::nullopt, std::nullopt},
        {"a decomposed accent is the same title", u"Cafe\u0301"_s, std::nullopt, u"C-café"_s},
        {"no trimming", u"Work "_s, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(identifierOf(store.list(c.title, c.preferring)), c.found);
    }
}

TEST_F(ReminderListsTest, NewRemindersGoToTheChosenListElseTheDefaultShownElseTheFirstShown) {
    struct Case {
        const char* name;
        std::optional<QString> quickAddListID;
        QSet<QString> included;
        QString defaultList;
        std::optional<QString> chosen;
    };
    const Case cases[] = {
        {"the chosen list, though not shown", u"L3"_s, {u"L1"_s}, u"L2"_s, u"L3"_s},
        {"the default list when every list is shown", std::nullopt, {}, u"L2"_s, u"L2"_s},
        {"the default list when it is shown", std::nullopt, {u"L2"_s, u"L3"_s}, u"L2"_s, u"L2"_s},
        {"the first shown list, in store order, when the default is not shown",
         std::nullopt,
         {u"L3"_s, u"L2"_s},
         u"L1"_s,
         u"L2"_s},
        {"a chosen list that is gone falls through", u"gone"_s, {}, u"L3"_s, u"L3"_s},
        {"nothing when no shown list exists", std::nullopt, {u"gone"_s}, u"L1"_s, std::nullopt},
    };
    ReminderStore& store = storeWithLists({list("L1", "One"), list("L2", "Two"), list("L3", "Three")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.setQuickAddListID(c.quickAddListID);
        settings.setIncludedListIDs(c.included);
        backend.setDefaultListIdentifier(c.defaultList);
        EXPECT_EQ(identifierOf(store.quickAddList()), c.chosen);
    }
}

TEST_F(ReminderListsTest, LosingTheOnlyIncludedListNarrowsTheViewToTheFirstList) {
    settings.setIncludedListIDs({u"L2"_s});
    settings.setQuickAddListID(u"L2"_s);
    storeWithLists({list("L1", "One"), list("L2", "Two"), list("L3", "Three")});
    removeListElsewhere("L2");
    EXPECT_EQ(settings.includedListIDs(), QSet{u"L1"_s});
    EXPECT_EQ(settings.quickAddListID(), std::nullopt);
    EXPECT_EQ(storedSetting("includedListIDs"), nlohmann::json::array({"L1"}));
    EXPECT_EQ(storedSetting("quickAddListID"), nlohmann::json());
}

TEST_F(ReminderListsTest, AGoneIncludedListIsDroppedWithOneWrite) {
    settings.setIncludedListIDs({u"L1"_s, u"L2"_s, u"L3"_s});
    storeWithLists({list("L1", "One"), list("L2", "Two"), list("L3", "Three")});
    int writes = 0;
    QObject::connect(&settings, &Settings::includedListIDsChanged, [&] { ++writes; });
    removeListElsewhere("L2");
    EXPECT_EQ(settings.includedListIDs(), (QSet{u"L1"_s, u"L3"_s}));
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(storedSetting("includedListIDs"), nlohmann::json::array({"L1", "L3"}));
}

TEST_F(ReminderListsTest, AnExcludedQuickAddListServesUntilTheNextRefreshClearsIt) {
    ReminderStore& store = storeWithLists({list("L1", "One"), list("L2", "Two")});
    settings.setIncludedListIDs({u"L1"_s});
    settings.setQuickAddListID(u"L2"_s);
    EXPECT_EQ(identifierOf(store.quickAddList()), u"L2"_s);
    store.requestRefresh();
    clock.runDueActions();
    EXPECT_EQ(settings.quickAddListID(), std::nullopt);
    EXPECT_EQ(identifierOf(store.quickAddList()), u"L1"_s);
}

TEST_F(ReminderListsTest, WithEveryListShownTheQuickAddListStaysWhileItExists) {
    settings.setQuickAddListID(u"L2"_s);
    storeWithLists({list("L1", "One"), list("L2", "Two")});
    EXPECT_EQ(settings.quickAddListID(), u"L2"_s);
    EXPECT_TRUE(settings.includedListIDs().isEmpty());
    removeListElsewhere("L2");
    EXPECT_EQ(settings.quickAddListID(), std::nullopt);
    EXPECT_TRUE(settings.includedListIDs().isEmpty());
}

// A read that finds no lists (a folder briefly empty or unreadable) must not
// lose the user's choices; the next read with lists reconciles them.
TEST_F(ReminderListsTest, ARefreshWithNoListsKeepsTheListSettings) {
    settings.setIncludedListIDs({u"L2"_s});
    settings.setQuickAddListID(u"L2"_s);
    ReminderStore& store = storeWithLists({list("L1", "One"), list("L2", "Two")});
    const std::vector<ReminderList> before = store.lists();
    backend.changeByAnotherProcess([](MemoryEventStore::Contents& held) { held.lists.clear(); });
    advance(300ms);
    ASSERT_TRUE(store.lists().empty());
    EXPECT_EQ(settings.quickAddListID(), u"L2"_s);
    EXPECT_EQ(settings.includedListIDs(), QSet{u"L2"_s});
    EXPECT_EQ(storedSetting("quickAddListID"), "L2");

    backend.changeByAnotherProcess([&](MemoryEventStore::Contents& held) { held.lists = before; });
    advance(300ms);
    EXPECT_EQ(identifierOf(store.quickAddList()), u"L2"_s);
    removeListElsewhere("L2");
    EXPECT_EQ(settings.quickAddListID(), std::nullopt);
    EXPECT_EQ(settings.includedListIDs(), QSet{u"L1"_s});
}
