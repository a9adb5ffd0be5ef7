// The store over a real vdir folder that other programs change while it
// runs: a file written by the test, then a to-do made by todoman.

#include "platform/eventstore/VdirEventStore.h"

#include "ReminderStoreFixture.h"
#include "support/MainLoop.h"
#include "support/TestFiles.h"
#include "support/Todoman.h"

#include <QDir>
#include <QFile>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

QByteArray todo(const char* uid, const char* dueLine) {
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VTODO\r\nUID:";
    text += uid;
    text += "\r\nSUMMARY:";
    text += uid;
    text += "\r\n";
    if (*dueLine) text += QByteArray(dueLine) + "\r\n";
    return text + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

class ReminderStoreVdirTest : public ReminderStoreFixture {
protected:
    void SetUp() override {
        // The folder store made its first list for the empty root: the
        // test's own list is the only one.
        QDir(QDir::cleanPath(root.path()) + u"/Reminders"_s).removeRecursively();
        QDir().mkpath(listFolder());
        writeTestFile(listFolder() + u"/displayname"_s, "Errands");
        writeTestFile(listFolder() + u"/overdue.ics"_s, todo("overdue", "DUE;VALUE=DATE:20260303"));
        writeTestFile(listFolder() + u"/today.ics"_s, todo("today", "DUE;VALUE=DATE:20260304"));
        writeTestFile(listFolder() + u"/undated.ics"_s, todo("undated", ""));
        ASSERT_EQ(vdir.requestFullAccess(), std::nullopt);
        store = std::make_unique<ReminderStore>(vdir, settings, power, places,
                                                WallClock{[this] { return wallNow(); }, calendar});
        store->start();
        clock.runDueActions();
        idlePendingActions = clock.pendingActions();  // the minute tick and the rollover
    }
    // The store goes before the folder store it follows.
    void TearDown() override { store.reset(); }

    QString listFolder() const { return QDir::cleanPath(root.path()) + u"/errands"_s; }

    // Runs the real main loop until the folder watch has seen a change and
    // set its settling time on the manual clock.
    void waitForTheWatch() {
        runMainLoopUntil([&] { return clock.pendingActions() > idlePendingActions; }, 10s);
        ASSERT_GT(clock.pendingActions(), idlePendingActions);
    }

    // The settling of the watch, then the store's debounce.
    void expectPickedUpWithinTheDebounce(int todayCount) {
        advance(VdirEventStore::Options().settleDelay + 299ms);
        EXPECT_NE(store->count(CountScope::today), todayCount) << "refreshed before the debounce ended";
        advance(1ms);
        EXPECT_EQ(store->count(CountScope::today), todayCount);
    }

    // The files of the list, by name, their lines unfolded.
    std::map<QString, QByteArray> files() const {
        std::map<QString, QByteArray> contents;
        for (const QString& name : QDir(listFolder()).entryList({u"*.ics"_s}, QDir::Files)) {
            QFile file(listFolder() + u'/' + name);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            contents[name] = file.readAll().replace("\r\n ", "");
        }
        return contents;
    }

    QTemporaryDir root;
    VdirEventStore vdir{VdirEventStore::Options{.roots = {QDir::cleanPath(root.path())}}};
    std::size_t idlePendingActions = 0;
};

}  // namespace

TEST_F(ReminderStoreVdirTest, ChangesByOtherProgramsArePickedUpWithinTheDebounceAndTheCountsFollow) {
    EXPECT_EQ(store->count(CountScope::overdue), 1);
    EXPECT_EQ(store->count(CountScope::today), 1);
    EXPECT_EQ(store->count(CountScope::noDueDate), 1);

    // As vdirsyncer writes: a temporary file, then a rename.
    writeTestFile(listFolder() + u"/.synced.ics.tmp"_s, todo("synced", "DUE;VALUE=DATE:20260304"));
    QFile::rename(listFolder() + u"/.synced.ics.tmp"_s, listFolder() + u"/synced.ics"_s);
    waitForTheWatch();
    expectPickedUpWithinTheDebounce(2);

    if (!Todoman::isInstalled()) GTEST_SKIP() << Todoman::missing;
    Todoman todoman(QDir::cleanPath(root.path()), u"Errands"_s);
    todoman.run({u"new"_s, u"--due"_s, u"2026-03-04 15:00"_s, u"Dentist"_s});
    waitForTheWatch();
    expectPickedUpWithinTheDebounce(3);
    EXPECT_EQ(store->count(CountScope::allIncomplete), 5);
}

// One reminder through its life, checked on disk at each step.
TEST_F(ReminderStoreVdirTest, AReminderFromCreationToDeletionOnDisk) {
    geography.answers[u"Gym"_s] = {{u"The Gym"_s, GeoLocation{52.35, 4.91}}};
    const auto fileOf = [&](const Reminder& reminder) { return reminder.identifier + u".ics"_s; };
    using tavlin::parsing::RecurrenceFrequency;

    const tavlin::parsing::ParsedQuickAdd swim{.title = u"Swim"_s,
                                               .dueDateComponents = at(2026, 3, 5, 7, 30),
                                               .hasTime = true,
                                               .recurrenceFrequency = RecurrenceFrequency::weekly,
                                               .locationName = u"Gym"_s};
    Task<std::optional<Reminder>> adding = store->add(swim);
    clock.runDueActions();
    const Reminder added = adding.result().value();
    QByteArray file = files().at(fileOf(added));
    EXPECT_TRUE(file.contains("SUMMARY:Swim\r\n"));
    EXPECT_TRUE(file.contains("\nRRULE:FREQ=WEEKLY\r\n"));
    EXPECT_TRUE(file.contains("X-TITLE=The Gym"));
    EXPECT_TRUE(file.contains("DUE:20260305T073000\r\n"));
    EXPECT_TRUE(file.contains("TRIGGER;VALUE=DATE-TIME:20260305T063000Z\r\n")) << "07:30 in Amsterdam";
    EXPECT_TRUE(file.contains("X-APPLE-RADIUS=100:geo:52.35\\,4.91\r\n"));

    tavlin::parsing::ParsedQuickAdd laps = swim;
    laps.title = u"Swim laps"_s;
    laps.locationName = u"the gym"_s;
    geography.queries.clear();
    Task<ReminderStore::UpdateOutcome> updating = store->update(laps, added);
    clock.runDueActions();
    EXPECT_EQ(updating.result(), ReminderStore::UpdateOutcome::saved);
    EXPECT_TRUE(geography.queries.isEmpty()) << "the place it had is kept";
    file = files().at(fileOf(added));
    EXPECT_TRUE(file.contains("SUMMARY:Swim laps\r\n"));
    EXPECT_TRUE(file.contains("X-TITLE=The Gym"));

    // Done: the occurrence is completed, the series goes on in a new file.
    store->setCompleted(added, true);
    EXPECT_EQ(files().size(), 5u);
    EXPECT_TRUE(files().at(fileOf(added)).contains("STATUS:COMPLETED"));
    EXPECT_EQ(store->completedToday().size(), 1u);
    // Undone: one file again, open and repeating.
    store->setCompleted(store->completedToday()[0], false);
    EXPECT_EQ(files().size(), 4u);
    file = files().at(fileOf(added));
    EXPECT_FALSE(file.contains("STATUS:COMPLETED"));
    EXPECT_TRUE(file.contains("\nRRULE:FREQ=WEEKLY\r\n"));

    store->queueDeletion(added);
    EXPECT_TRUE(files().contains(fileOf(added))) << "kept until the undo window ends";
    store->cancelDeletion();
    store->queueDeletion(added);
    store->flushPendingDeletions();
    EXPECT_FALSE(files().contains(fileOf(added)));
    EXPECT_EQ(store->lastError(), std::nullopt);
}

TEST_F(ReminderStoreVdirTest, AReminderIsInItsListsFolder) {
    const std::vector<Reminder> shown = store->reminders();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(store->folderOf(shown.front()), listFolder());
    EXPECT_EQ(store->folderOf(reminder("never-saved")), std::nullopt);
}

// Another program (todoman, a sync) changes a reminder's due date and
// priority, and before the store has refreshed, an edit of its title
// arrives, made from the reminder as last shown.
TEST_F(ReminderStoreVdirTest, AnEditRightAfterAnotherProgramsChangeKeepsThatChange) {
    const auto published = [&](const char* title) {
        for (const Reminder& reminder : store->reminders())
            if (reminder.title == QString::fromUtf8(title)) return reminder;
        ADD_FAILURE() << title << " is not shown";
        return Reminder{};
    };
    const auto renamed = [&](const Reminder& shown, const QString& title) {
        const tavlin::parsing::ParsedQuickAdd line{
            .title = title, .dueDateComponents = shown.dueDateComponents, .priority = priorityLevel(shown.priority)};
        Task<ReminderStore::UpdateOutcome> updating = store->update(line, shown);
        clock.runDueActions();
        EXPECT_EQ(updating.result(), ReminderStore::UpdateOutcome::saved);
    };

    // As another program writes: a temporary file, then a rename.
    const Reminder today = published("today");
    writeTestFile(listFolder() + u"/.today.ics.tmp"_s,
                  QByteArray(todo("today", "DUE;VALUE=DATE:20260310")).replace("END:VTODO", "PRIORITY:1\r\nEND:VTODO"));
    ASSERT_EQ(std::rename(QFile::encodeName(listFolder() + u"/.today.ics.tmp"_s).constData(),
                          QFile::encodeName(listFolder() + u"/today.ics"_s).constData()),
              0);
    renamed(today, u"Renamed"_s);
    QByteArray file = files().at(u"today.ics"_s);
    EXPECT_TRUE(file.contains("SUMMARY:Renamed\r\n"));
    EXPECT_TRUE(file.contains("DUE;VALUE=DATE:20260310\r\n"));
    EXPECT_TRUE(file.contains("PRIORITY:1\r\n"));
    EXPECT_EQ(published("Renamed").dueDateComponents, day(2026, 3, 10)) << "shown as saved";

    if (!Todoman::isInstalled()) GTEST_SKIP() << Todoman::missing;
    Todoman todoman(QDir::cleanPath(root.path()), u"Errands"_s);
    const Reminder undated = published("undated");
    const QByteArray listed = todoman.run({u"--porcelain"_s, u"list"_s});
    const int id = [&] {
        for (const auto& entry : nlohmann::json::parse(listed.toStdString()))
            if (entry["summary"] == "undated") return entry["id"].get<int>();
        return -1;
    }();
    todoman.run({u"edit"_s, QString::number(id), u"--due"_s, u"2026-03-12"_s, u"--priority"_s, u"high"_s});
    renamed(undated, u"Dated by todoman"_s);
    const std::optional<Reminder> saved = vdir.reminder(undated.identifier);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->title, u"Dated by todoman"_s);
    EXPECT_EQ(saved->dueDateComponents->day, 12);
    EXPECT_EQ(priorityLevel(saved->priority), Priority::high);
}

// Completion and deletion of a reminder as last shown act on its file as it
// is now: the series goes on from the due date another program set, and a
// file changed a moment ago is still deleted.
TEST_F(ReminderStoreVdirTest, CompletionAndDeletionWorkOnTheFileAsItIsNow) {
    writeTestFile(listFolder() + u"/weekly.ics"_s, todo("weekly", "DUE;VALUE=DATE:20260304\r\nRRULE:FREQ=WEEKLY"));
    store->requestRefresh();
    clock.runDueActions();
    const auto shown = [&](const char* identifier) {
        for (const Reminder& reminder : store->reminders())
            if (reminder.identifier == QString::fromUtf8(identifier)) return reminder;
        return Reminder{};
    };
    const Reminder weekly = shown("weekly");
    const Reminder overdue = shown("overdue");
    ASSERT_EQ(weekly.identifier, u"weekly"_s);
    writeTestFile(listFolder() + u"/weekly.ics"_s, todo("weekly", "DUE;VALUE=DATE:20260306\r\nRRULE:FREQ=WEEKLY"));
    writeTestFile(listFolder() + u"/overdue.ics"_s, todo("overdue", "DUE;VALUE=DATE:20260305"));

    store->setCompleted(weekly, true);
    EXPECT_EQ(store->lastError(), std::nullopt);
    clock.runDueActions();  // the refresh that shows the series' next reminder
    const auto next = std::find_if(store->reminders().begin(), store->reminders().end(),
                                   [](const Reminder& r) { return r.title == u"weekly"_s; });
    ASSERT_NE(next, store->reminders().end());
    EXPECT_EQ(next->dueDateComponents, day(2026, 3, 13)) << "a week after the date on disk";

    EXPECT_TRUE(store->deleteReminder(overdue));
    EXPECT_FALSE(files().contains(u"overdue.ics"_s));
}

// A reminder another program wrote with its due time in UTC, in a zone of
// its own or floating, moved to another list or given another time in
// Amsterdam: the file's DUE keeps its form.
TEST_F(ReminderStoreVdirTest, AnEditKeepsTheFormOfTheDueDateInTheFile) {
    const QString work = QDir::cleanPath(root.path()) + u"/work"_s;
    QDir().mkpath(work);
    writeTestFile(work + u"/displayname"_s, "Work");
    struct Case {
        const char* uid;
        const char* due;
        DateComponents edited;  // as the edit line reads, in Amsterdam
        const char* written;
    };
    const Case cases[] = {
        {"utc", "DUE:20260305T083000Z", at(2026, 3, 5, 9, 30), "DUE:20260305T083000Z"},
        {"zoned", "DUE;TZID=America/New_York:20260305T033000", at(2026, 3, 5, 9, 30),
         "DUE;TZID=America/New_York:20260305T033000"},
        {"floating", "DUE:20260305T093000", at(2026, 3, 5, 9, 30), "DUE:20260305T093000"},
        {"seconds", "DUE:20260305T083015Z", at(2026, 3, 5, 9, 30), "DUE:20260305T083015Z"},
        {"utc-moved", "DUE:20260305T083000Z", at(2026, 3, 6, 10, 45), "DUE:20260306T094500Z"},
        {"zoned-moved", "DUE;TZID=America/New_York:20260305T033000", at(2026, 3, 6, 10, 45),
         "DUE;TZID=America/New_York:20260306T044500"},
        {"floating-moved", "DUE:20260305T093000", at(2026, 3, 6, 10, 45), "DUE:20260306T104500"},
        {"utc-to-a-day", "DUE:20260305T083000Z", day(2026, 3, 6), "DUE;VALUE=DATE:20260306"},
    };
    for (const Case& c : cases)
        writeTestFile(listFolder() + u'/' + QString::fromUtf8(c.uid) + u".ics"_s, todo(c.uid, c.due));
    vdir.refreshSourcesIfNecessary();
    store->requestRefresh();
    clock.runDueActions();

    for (const Case& c : cases) {
        SCOPED_TRACE(c.uid);
        const QString uid = QString::fromUtf8(c.uid);
        const auto shown = std::find_if(store->reminders().begin(), store->reminders().end(),
                                        [&](const Reminder& r) { return r.identifier == uid; });
        ASSERT_NE(shown, store->reminders().end());
        const tavlin::parsing::ParsedQuickAdd line{
            .title = uid, .dueDateComponents = c.edited, .hasTime = c.edited.hasTime(), .listName = u"Work"_s};
        Task<ReminderStore::UpdateOutcome> updating = store->update(line, *shown);
        clock.runDueActions();
        ASSERT_EQ(updating.result(), ReminderStore::UpdateOutcome::saved);
        const std::optional<QString> folder = vdir.folderOf(uid);
        ASSERT_EQ(folder, work);
        QFile file(*folder + u'/' + uid + u".ics"_s);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.contains(QByteArray(c.written) + "\r\n")) << text.toStdString();
    }
}

// A change of one reminder, by another program or by the store itself,
// costs one: the others stay where they are, and the refresh after our own
// write finds nothing to tell.
TEST_F(ReminderStoreVdirTest, AChangeOfOneReminderLeavesTheOthersInPlace) {
    const auto find = [&](const char* identifier) {
        const std::vector<Reminder>& shown = store->reminders();
        return std::find_if(shown.begin(), shown.end(),
                            [&](const Reminder& r) { return r.identifier == QString::fromUtf8(identifier); });
    };
    const Reminder* undated = &*find("undated");
    writeTestFile(listFolder() + u"/today.ics"_s, todo("today", "DUE;VALUE=DATE:20260303"));
    waitForTheWatch();
    expectPickedUpWithinTheDebounce(0);
    EXPECT_EQ(store->count(CountScope::overdue), 2);
    EXPECT_EQ(&*find("undated"), undated) << "not fetched again";

    int published = 0;
    QObject::connect(store.get(), &ReminderStore::remindersChanged, [&] { ++published; });
    const Task<std::optional<Reminder>> adding = store->add({.title = u"Ours"_s});
    clock.runDueActions();
    ASSERT_TRUE(adding.result());
    EXPECT_EQ(published, 1) << "published by the write, and not again by the refresh after it";
    vdir.catchUp();  // the write's own notices
    clock.advance(1s);
    EXPECT_EQ(published, 1) << "the notices of our own write change nothing";
    EXPECT_EQ(store->count(CountScope::allIncomplete), 4);
}
