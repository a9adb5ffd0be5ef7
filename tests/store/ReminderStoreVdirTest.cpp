// The store over a real vdir folder that other programs change while it
// runs: a file written by the test, then a to-do made by todoman.

#include "platform/eventstore/VdirEventStore.h"

#include "ReminderStoreFixture.h"
#include "support/MainLoop.h"
#include "support/TestFiles.h"
#include "support/Todoman.h"

#include <QDir>
#include <QFile>

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
        advance(200ms + 299ms);
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
    EXPECT_TRUE(file.contains("X-APPLE-RADIUS=100:geo:52.35,4.91\r\n"));

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
