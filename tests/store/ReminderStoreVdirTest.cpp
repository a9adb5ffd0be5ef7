// The store over a real vdir folder that other programs change while it
// runs: a file written by the test, then a to-do made by todoman.

#include "platform/VdirRemindersStore.h"

#include "ReminderStoreFixture.h"
#include "platform/Todoman.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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
        writeFile(listFolder() + u"/displayname"_s, "Errands");
        writeFile(listFolder() + u"/overdue.ics"_s, todo("overdue", "DUE;VALUE=DATE:20260303"));
        writeFile(listFolder() + u"/today.ics"_s, todo("today", "DUE;VALUE=DATE:20260304"));
        writeFile(listFolder() + u"/undated.ics"_s, todo("undated", ""));
        ASSERT_EQ(vdir.requestFullAccess(), std::nullopt);
        store =
            std::make_unique<ReminderStore>(vdir, settings, power, WallClock{[this] { return wallNow(); }, calendar});
        store->start();
        clock.runDueActions();
        idlePendingActions = clock.pendingActions();  // the minute tick and the rollover
    }
    // The store goes before the folder store it follows.
    void TearDown() override { store.reset(); }

    QString listFolder() const { return QDir::cleanPath(root.path()) + u"/errands"_s; }

    static void writeFile(const QString& path, const QByteArray& contents) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    // Runs the real main loop until the folder watch has seen a change and
    // set its settling time on the manual clock.
    void waitForTheWatch() {
        QElapsedTimer waited;
        waited.start();
        while (clock.pendingActions() == idlePendingActions && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_GT(clock.pendingActions(), idlePendingActions);
    }

    // The settling of the watch, then the store's debounce.
    void expectPickedUpWithinTheDebounce(int todayCount) {
        advance(200ms + 299ms);
        EXPECT_NE(store->count(CountScope::today), todayCount) << "refreshed before the debounce ended";
        advance(1ms);
        EXPECT_EQ(store->count(CountScope::today), todayCount);
    }

    QTemporaryDir root;
    VdirRemindersStore vdir{VdirRemindersStore::Options{.roots = {QDir::cleanPath(root.path())}}};
    std::size_t idlePendingActions = 0;
};

}  // namespace

TEST_F(ReminderStoreVdirTest, ChangesByOtherProgramsArePickedUpWithinTheDebounceAndTheCountsFollow) {
    EXPECT_EQ(store->count(CountScope::overdue), 1);
    EXPECT_EQ(store->count(CountScope::today), 1);
    EXPECT_EQ(store->count(CountScope::noDueDate), 1);

    // As vdirsyncer writes: a temporary file, then a rename.
    writeFile(listFolder() + u"/.synced.ics.tmp"_s, todo("synced", "DUE;VALUE=DATE:20260304"));
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
