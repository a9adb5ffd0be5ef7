#include "platform/eventstore/VdirEventStore.h"

#include "platform/eventstore/ICalendarReminder.h"

#include "support/LogCapture.h"
#include "support/MainLoop.h"
#include "support/ReminderPrinters.h"
#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <set>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace Qt::StringLiterals;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class VdirEventStoreTest : public ::testing::Test {
protected:
    QString root() const { return QDir::cleanPath(folder.path()); }

    QString write(const QString& relativePath, const QByteArray& contents) {
        const QString path = root() + u'/' + relativePath;
        writeTestFile(path, contents);
        return path;
    }

    static QByteArray unfolded(const QString& path) { return readTestFile(path).replace("\r\n ", ""); }

    std::unique_ptr<VdirEventStore> open(std::function<bool(const QString&)> beforeReplace = {}) {
        return std::make_unique<VdirEventStore>(
            VdirEventStore::Options{.roots = {root()}, .beforeReplace = std::move(beforeReplace)});
    }

    QTemporaryDir folder;
};

// A to-do as another client wrote it, with much that we do not model.
const QByteArray kForeignTodo = crlf(R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Another Client//EN
X-WR-CALNAME:Errands
BEGIN:VTODO
UID:foreign-1
DTSTAMP:20260301T100000Z
SUMMARY:Buy milk
CATEGORIES:shopping,dairy
ATTACH;FMTTYPE=text/plain:https://example.com/list.txt
X-CUSTOM;X-PARAM=keep:some\, value
STYLED-DESCRIPTION;VALUE=TEXT;FMTTYPE=text/html:<b>milk</b>
SUMMARY-EXTRA;UNKNOWN-PARAM=1:standard but unknown to libical
RRULE:FREQ=WEEKLY;WKST=SU;BYDAY=MO;BYHOUR=9
DUE;TZID=/freeassociation.sourceforge.net/Europe/Amsterdam:20260302T090000
BEGIN:VALARM
ACTION:AUDIO
TRIGGER;RELATED=END:-PT15M
ATTACH;VALUE=URI:Chord
X-ALARM-NOTE:keep me
END:VALARM
BEGIN:VALARM
UID:A1
ACTION:DISPLAY
DESCRIPTION:Reminder
TRIGGER;VALUE=DATE-TIME:19760401T005545Z
X-APPLE-PROXIMITY:DEPART
X-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-APPLE-RADIUS=70.5;X-TITLE="Home, sweet home":geo:52.37\,4.89
END:VALARM
BEGIN:VALARM
ACTION:DISPLAY
DESCRIPTION:At the office
TRIGGER;VALUE=DATE-TIME:19760401T005545Z
PROXIMITY:ARRIVE
BEGIN:VLOCATION
UID:L1
NAME:Office
URI:geo:48.85,2.35
LOCATION-TYPE:work
END:VLOCATION
END:VALARM
BEGIN:X-VENDOR-THING
X-A:b
END:X-VENDOR-THING
END:VTODO
END:VCALENDAR
)");

TEST_F(VdirEventStoreTest, ReadsAnotherClientsTodoInEveryForm) {
    write(u"errands/foreign.ics"_s, kForeignTodo);
    const auto reminder = open()->reminder(u"foreign-1"_s);
    ASSERT_TRUE(reminder);
    EXPECT_EQ(reminder->title, u"Buy milk"_s);
    EXPECT_EQ(reminder->dueDateComponents, (DateComponents{.timeZone = TimeZone::fromIdentifier(u"Europe/Amsterdam"_s),
                                                           .year = 2026,
                                                           .month = 3,
                                                           .day = 2,
                                                           .hour = 9,
                                                           .minute = 0}));
    ASSERT_EQ(reminder->recurrenceRules.size(), 1u);
    EXPECT_EQ(reminder->recurrenceRules[0].daysOfTheWeek, (std::vector<RecurrenceDayOfWeek>{{.weekday = 2}}));
    ASSERT_EQ(reminder->alarms.size(), 3u);
    EXPECT_EQ(reminder->alarms[0], (Alarm{.relativeOffset = -900}));
    EXPECT_EQ(reminder->alarms[1],
              Alarm::on({u"Home, sweet home"_s, GeoLocation{52.37, 4.89}, 70.5}, AlarmProximity::leave));
    EXPECT_EQ(reminder->alarms[2], Alarm::on({u"Office"_s, GeoLocation{48.85, 2.35}, 0}, AlarmProximity::enter));
}

TEST_F(VdirEventStoreTest, RewritingAnotherClientsFileKeepsWhatItDoesNotEdit) {
    const QString path = write(u"errands/foreign.ics"_s, kForeignTodo);
    auto store = open();
    Reminder reminder = *store->reminder(u"foreign-1"_s);
    reminder.title = u"Buy oat milk"_s;
    reminder.recurrenceRules[0].interval = 2;
    reminder.alarms.push_back(Alarm::at(Date::fromSecondsSince1970(1772438400)));
    ASSERT_EQ(store->save(reminder), std::nullopt);

    const QByteArray text = unfolded(path);
    EXPECT_THAT(text.toStdString(), HasSubstr("SUMMARY:Buy oat milk\r\n"));
    EXPECT_THAT(text.toStdString(), HasSubstr("RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO;WKST=SU;BYHOUR=9\r\n"));
    EXPECT_THAT(text.toStdString(), HasSubstr("TRIGGER;VALUE=DATE-TIME:20260302T080000Z\r\n"));
    for (const QByteArray& line : kForeignTodo.split('\n')) {
        if (line.startsWith("SUMMARY:") || line.startsWith("RRULE") || line.startsWith("DTSTAMP")) continue;
        SCOPED_TRACE(line.toStdString());
        EXPECT_TRUE(text.contains(line + '\n'));
    }
    EXPECT_EQ(open()->reminder(u"foreign-1"_s), reminder);
}

TEST_F(VdirEventStoreTest, SavingWhatDidNotChangeLeavesTheFileAlone) {
    const QString path = write(u"errands/foreign.ics"_s, kForeignTodo);
    auto store = open();
    Reminder reminder = *store->reminder(u"foreign-1"_s);
    ASSERT_EQ(store->save(reminder), std::nullopt);
    EXPECT_EQ(readTestFile(path), kForeignTodo);
}

TEST_F(VdirEventStoreTest, WritesTheFieldsAsOtherClientsReadThem) {
    write(u"work/displayname"_s, "Work");
    auto store = open();
    Reminder reminder = store->newReminder();
    reminder.listIdentifier = root() + u"/work"_s;
    reminder.title = u"Meet"_s;
    reminder.dueDateComponents = DateComponents{.timeZone = TimeZone::fromIdentifier(u"America/New_York"_s),
                                                .year = 2026,
                                                .month = 7,
                                                .day = 1,
                                                .hour = 14,
                                                .minute = 30};
    reminder.alarms = {Alarm::on({u"Cafe; corner"_s, GeoLocation{40.5, -73.25}, 100}, AlarmProximity::enter)};
    ASSERT_EQ(store->save(reminder), std::nullopt);
    const QString path = root() + u"/work/"_s + reminder.identifier + u".ics"_s;
    std::string text = unfolded(path).toStdString();
    EXPECT_THAT(text, HasSubstr("DUE;TZID=America/New_York:20260701T143000\r\n"));
    EXPECT_THAT(text, HasSubstr("BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"));
    EXPECT_THAT(text, HasSubstr("X-APPLE-PROXIMITY:ARRIVE\r\n"));
    EXPECT_THAT(text, HasSubstr("X-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-TITLE=\"Cafe; corner\";X-APPLE-RADIUS=10"));
    EXPECT_THAT(text, HasSubstr(":geo:40.5\\,-73.25\r\n"));
    EXPECT_THAT(text, Not(HasSubstr("freeassociation")));

    reminder.dueDateComponents = DateComponents{.year = 2026, .month = 7, .day = 2};
    reminder.completed = true;
    ASSERT_EQ(store->save(reminder), std::nullopt);
    text = unfolded(path).toStdString();
    EXPECT_THAT(text, HasSubstr("DUE;VALUE=DATE:20260702\r\n"));
    EXPECT_THAT(text, HasSubstr("STATUS:COMPLETED\r\n"));
    EXPECT_THAT(text, HasSubstr("PERCENT-COMPLETE:100\r\n"));
    EXPECT_THAT(text, HasSubstr("\r\nCOMPLETED:"));

    reminder.completed = false;
    ASSERT_EQ(store->save(reminder), std::nullopt);
    text = unfolded(path).toStdString();
    EXPECT_THAT(text, HasSubstr("STATUS:NEEDS-ACTION\r\n"));
    EXPECT_THAT(text, Not(HasSubstr("\r\nCOMPLETED:")));
    EXPECT_THAT(text, Not(HasSubstr("PERCENT-COMPLETE")));
}

TEST_F(VdirEventStoreTest, AccountsAndListsComeFromTheFolders) {
    QTemporaryDir second;
    write(u"displayname"_s, "Personal");
    write(u"b/displayname"_s, "Beta");
    write(u"a/displayname"_s, "Alpha");
    write(u"z/order"_s, "1");
    write(u"z/color"_s, "#ff8800\n");
    write(u"calendar/event.ics"_s, crlf("BEGIN:VCALENDAR\nBEGIN:VEVENT\nUID:e\nEND:VEVENT\nEND:VCALENDAR\n"));
    std::optional<ScopedVariable> roots(std::in_place, "TAVLIN_REMINDERS_DIR",
                                        (folder.path() + u':' + second.path()).toUtf8());
    VdirEventStore store;
    roots.reset();

    std::vector<std::pair<QString, QString>> titles;
    for (const ReminderList& list : store.lists()) titles.emplace_back(list.source->title, list.title);
    const QString secondName = QDir(second.path()).dirName();
    EXPECT_EQ(titles, (std::vector<std::pair<QString, QString>>{{u"Personal"_s, u"z"_s},
                                                                {u"Personal"_s, u"Alpha"_s},
                                                                {u"Personal"_s, u"Beta"_s},
                                                                {secondName, u"Reminders"_s}}));
    EXPECT_EQ(store.lists().front().color, u"#ff8800"_s);
    EXPECT_EQ(store.defaultListForNewReminders(), store.lists().back()) << "the list made for the empty root";
    EXPECT_EQ(store.authorizationStatus(), AuthorizationStatus::fullAccess);
    for (const ReminderList& list : store.lists()) {
        EXPECT_EQ(list.source->sourceType, 0) << "a folder on this machine";
        EXPECT_TRUE(list.allowsContentModifications);
    }
}

// New reminders go where todoman files new to-dos when it reads these
// folders, else to the list made on the first run, else to the first list;
// never to a list just because its title sorts first.
TEST_F(VdirEventStoreTest, TheDefaultListIsTodomansThenTheFirstRunsThenTheFirst) {
    QTemporaryDir config;
    const ScopedVariable configHome("XDG_CONFIG_HOME", config.path().toUtf8());
    const ScopedVariable configDirs("XDG_CONFIG_DIRS", config.filePath(u"none"_s).toUtf8());
    // The folders as "~/…" from a HOME just above them.
    const ScopedVariable home("HOME", QFileInfo(root()).path().toUtf8());
    write(u"Reminders/displayname"_s, "Reminders");
    write(u"health/displayname"_s, "Health");
    write(u"Alpha/displayname"_s, "Alpha");
    struct Case {
        const char* what;
        std::optional<QString> todoman;  // its config.py
        bool firstRunsList;
        QString expected;
    };
    const QString folders = root() + u"/*"_s;
    const Case cases[] = {
        {"no todoman", std::nullopt, true, u"Reminders"_s},
        {"todoman's default", u"path = \"%1\"\ndefault_list = 'Health'  # where new to-dos go\n"_s.arg(folders), true,
         u"Health"_s},
        {"the path from HOME", u"path = \"~/%1/*\"\ndefault_list = \"Health\"\n"_s.arg(QFileInfo(root()).fileName()),
         true, u"Health"_s},
        {"todoman reads other folders", u"path = \"/elsewhere/*\"\ndefault_list = \"Health\"\n"_s, true,
         u"Reminders"_s},
        {"todoman's list is gone", u"path = \"%1\"\ndefault_list = \"Work\"\n"_s.arg(folders), true, u"Reminders"_s},
        {"no list made on the first run", std::nullopt, false, u"Alpha"_s},
    };
    QDir().mkpath(config.filePath(u"todoman"_s));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(config.filePath(u"todoman/config.py"_s));
        if (c.todoman) writeTestFile(config.filePath(u"todoman/config.py"_s), c.todoman->toUtf8());
        if (!c.firstRunsList) QDir(root() + u"/Reminders"_s).removeRecursively();
        const std::unique_ptr<VdirEventStore> store = open();
        const std::optional<ReminderList> chosen = store->defaultListForNewReminders();
        ASSERT_TRUE(chosen);
        EXPECT_EQ(chosen->title, c.expected);
    }
}

TEST_F(VdirEventStoreTest, AListInAFolderWeMayNotWriteTakesNoChanges) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write in any folder";
    write(u"shared/displayname"_s, "Shared");
    ASSERT_EQ(::chmod(QFile::encodeName(root() + u"/shared"_s).constData(), 0555), 0);
    VdirEventStore store({.roots = {root()}});
    ASSERT_EQ(store.lists().size(), 1u);
    EXPECT_FALSE(store.lists().front().allowsContentModifications);
    ::chmod(QFile::encodeName(root() + u"/shared"_s).constData(), 0755);
}

TEST_F(VdirEventStoreTest, AccessIsDeniedWhenARootCannotBeAFolder) {
    const QString blocked = write(u"not-a-folder"_s, "a file");
    VdirEventStore store({.roots = {blocked}});
    EXPECT_EQ(store.authorizationStatus(), AuthorizationStatus::denied);
    EXPECT_EQ(store.requestFullAccess()->code, StoreError::accessDenied);
    EXPECT_TRUE(store.fetchIncompleteReminders().empty());
}

TEST_F(VdirEventStoreTest, FilesThatDoNotParseAreSkippedAndNeverWritten) {
    const std::vector<std::pair<const char*, QByteArray>> broken = {
        {"not iCalendar", "hello"},
        {"unclosed", crlf("BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:x\nEND:VCALENDAR\n")},
        {"no UID", crlf("BEGIN:VCALENDAR\nBEGIN:VTODO\nSUMMARY:x\nEND:VTODO\nEND:VCALENDAR\n")},
        {"two calendars", crlf("BEGIN:VCALENDAR\nEND:VCALENDAR\nBEGIN:VCALENDAR\nEND:VCALENDAR\n")},
    };
    std::vector<QString> paths;
    for (std::size_t i = 0; i < broken.size(); ++i)
        paths.push_back(write(u"list/broken%1.ics"_s.arg(i), broken[i].second));
    write(u"list/good.ics"_s, crlf("BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:good\nSUMMARY:Fine\nEND:VTODO\nEND:VCALENDAR\n"));

    auto store = open();
    const auto open = store->fetchIncompleteReminders();
    ASSERT_EQ(open.size(), 1u);
    Reminder good = open.front();
    good.title = u"Still fine"_s;
    ASSERT_EQ(store->save(good), std::nullopt);
    ASSERT_EQ(store->remove(good), std::nullopt);
    for (std::size_t i = 0; i < broken.size(); ++i) {
        SCOPED_TRACE(broken[i].first);
        EXPECT_EQ(readTestFile(paths[i]), broken[i].second);
    }
}

// A file anyone can sync here may nest components without end: it is
// skipped like any file that does not parse, and left as it is.
TEST_F(VdirEventStoreTest, AFileNestedTooDeeplyIsSkippedAndLeftAlone) {
    QByteArray deep = "BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:deep\r\nSUMMARY:Deep\r\n";
    constexpr int levels = 200000;
    for (int i = 0; i < levels; ++i) deep += "BEGIN:X\r\n";
    for (int i = 0; i < levels; ++i) deep += "END:X\r\n";
    deep += "END:VTODO\r\nEND:VCALENDAR\r\n";
    const QString path = write(u"list/deep.ics"_s, deep);
    write(u"list/good.ics"_s, crlf("BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:good\nSUMMARY:Fine\nEND:VTODO\nEND:VCALENDAR\n"));

    LogCapture log("com.quorvandell.tavlin.store");
    auto store = open();
    EXPECT_EQ(store->fetchIncompleteReminders().size(), 1u);
    EXPECT_EQ(store->reminder(u"deep"_s), std::nullopt);
    EXPECT_EQ(log.take().filter(u"Reminders folders: skipped 1 (1 unparsable)"_s).size(), 1);
    EXPECT_EQ(readTestFile(path), deep);
}

// Whoever made a file readable only to its owner (or a group) meant it.
TEST_F(VdirEventStoreTest, ARewrittenFileKeepsItsMode) {
    const QByteArray item = crlf("BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:%1\nSUMMARY:x\nEND:VTODO\nEND:VCALENDAR\n");
    const mode_t modes[] = {0600, 0640, 0664};
    for (const mode_t mode : modes) {
        const QString path =
            write(u"list/%1.ics"_s.arg(mode, 0, 8), QByteArray(item).replace("%1", QByteArray::number(mode)));
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    }
    auto store = open();
    for (const mode_t mode : modes) {
        SCOPED_TRACE(mode);
        std::optional<Reminder> reminder = store->reminder(QString::number(mode));
        ASSERT_TRUE(reminder);
        reminder->title = u"Edited"_s;
        ASSERT_EQ(store->save(*reminder), std::nullopt);
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(root() + u"/list/%1.ics"_s.arg(mode, 0, 8)).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, mode);
        EXPECT_THAT(readTestFile(root() + u"/list/%1.ics"_s.arg(mode, 0, 8)).toStdString(),
                    HasSubstr("SUMMARY:Edited"));
    }
}

TEST_F(VdirEventStoreTest, AWriteInterruptedBeforeTheRenameLeavesTheOldFile) {
    const QString path = write(u"errands/foreign.ics"_s, kForeignTodo);
    QString temporary;
    auto store = open([&](const QString& file) {
        temporary = file;
        return false;
    });
    Reminder reminder = *store->reminder(u"foreign-1"_s);
    reminder.title = u"Never written"_s;
    const auto error = store->save(reminder);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, StoreError::writeFailed);
    EXPECT_EQ(readTestFile(path), kForeignTodo);
    EXPECT_TRUE(temporary.endsWith(u".tmp"_s));
    EXPECT_TRUE(QFile::exists(temporary));  // as a crash would leave it

    auto reopened = this->open();
    EXPECT_EQ(reopened->fetchIncompleteReminders().size(), 1u);
    EXPECT_EQ(reopened->reminder(u"foreign-1"_s)->title, u"Buy milk"_s);
}

TEST_F(VdirEventStoreTest, AMovedItemKeepsItsNameAndIsWrittenBeforeTheOldOneGoes) {
    const QString from = write(u"errands/foreign.ics"_s, kForeignTodo);
    write(u"home/displayname"_s, "Home");
    bool oldFileStoodDuringTheWrite = false;
    auto store = open([&](const QString&) {
        oldFileStoodDuringTheWrite = QFile::exists(from);
        return true;
    });
    Reminder reminder = *store->reminder(u"foreign-1"_s);
    reminder.listIdentifier = root() + u"/home"_s;
    ASSERT_EQ(store->save(reminder), std::nullopt);
    EXPECT_TRUE(oldFileStoodDuringTheWrite);
    EXPECT_FALSE(QFile::exists(from));
    EXPECT_TRUE(QFile::exists(root() + u"/home/foreign.ics"_s));
}

// Waits on the real main loop until the watch has seen the change, then
// lets the settling time pass on the manual clock.
TEST_F(VdirEventStoreTest, AChangeByAnotherProgramIsReportedOnceItSettles) {
    ManualClock clock;
    ScopedMainClock useClock(clock);
    write(u"list/displayname"_s, "List");
    auto store = open();
    int changes = 0;
    QObject::connect(store.get(), &EventStore::changed, [&] { ++changes; });

    // As todoman and vdirsyncer write: a temporary file, then a rename.
    const QString temporary =
        write(u"list/.new.ics.tmp"_s, crlf("BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:new\nEND:VTODO\nEND:VCALENDAR\n"));
    QFile::rename(temporary, root() + u"/list/new.ics"_s);
    runMainLoopUntil([&] { return clock.pendingActions() > 0; });
    ASSERT_GT(clock.pendingActions(), 0u);
    EXPECT_EQ(changes, 0);
    clock.advance(1s);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(store->reminder(u"new"_s));
}

// What a completed occurrence keeps of its series passes through a CalDAV
// server that rewrites the line as text; each form it may come back in
// gives the rule back whole when the occurrence is reopened.
TEST_F(VdirEventStoreTest, TheRuleOfADoneOccurrenceSurvivesEveryFormAServerGivesIt) {
    write(u"list/displayname"_s, "List");
    auto store = open();
    Reminder series = store->newReminder();
    series.listIdentifier = root() + u"/list"_s;
    series.title = u"Swim"_s;
    series.dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 2};
    series.recurrenceRules = {{.frequency = RecurrenceRule::Frequency::weekly,
                               .interval = 2,
                               .daysOfTheWeek = {{.weekday = 2}, {.weekday = 4}}}};
    ASSERT_EQ(store->save(series), std::nullopt);
    const Reminder original = series;
    const QString path = root() + u"/list/"_s + series.identifier + u".ics"_s;
    const QByteArray rule = "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE";
    const QByteArray written = "X-TAVLIN-RRULE:FREQ=WEEKLY\\;INTERVAL=2\\;BYDAY=MO\\,WE\r\n";
    const std::pair<const char*, QByteArray> forms[] = {
        {"as written: escaped text", written},
        {"raw, as earlier versions wrote it", "X-TAVLIN-RRULE:" + rule + "\r\n"},
        {"a recurrence value", "X-TAVLIN-RRULE;VALUE=RECUR:" + rule + "\r\n"},
        {"only the semicolons escaped", "X-TAVLIN-RRULE:FREQ=WEEKLY\\;INTERVAL=2\\;BYDAY=MO,WE\r\n"},
    };
    for (const auto& [name, line] : forms) {
        SCOPED_TRACE(name);
        Reminder done = *store->reminder(original.identifier);
        done.completed = true;
        ASSERT_EQ(store->save(done), std::nullopt);
        QByteArray text = unfolded(path);
        ASSERT_TRUE(text.contains(written)) << text.toStdString();
        writeTestFile(path, text.replace(written, line));

        done = *store->reminder(original.identifier);
        done.completed = false;
        ASSERT_EQ(store->save(done), std::nullopt);
        text = unfolded(path);
        EXPECT_THAT(text.toStdString(), HasSubstr("\nRRULE:" + rule.toStdString() + "\r\n"));
        EXPECT_THAT(text.toStdString(), Not(HasSubstr("X-TAVLIN")));
        EXPECT_EQ(store->fetchIncompleteReminders(), std::vector{done}) << "the successor is gone";
        EXPECT_EQ(done.recurrenceRules, original.recurrenceRules);
    }
}

// A crash between a write's temporary file and its rename leaves the file;
// the next start clears those of our own that are old enough, and only them.
TEST_F(VdirEventStoreTest, StartClearsOldTemporaryFilesOfOurOwnWrites) {
    const auto aged = [&](const QString& relativePath, int seconds) {
        const QString path = write(relativePath, "partial");
        const struct timespec times[2] = {{std::time(nullptr) - seconds, 0}, {std::time(nullptr) - seconds, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
        return path;
    };
    const QString leftover = aged(u"list/.A1B2.ics.0123abcd.tmp"_s, 120);
    const QString another = aged(u"other/.x.ics.89abcdef.tmp"_s, 3600);
    const QString beforeClockSetBack = aged(u"list/.C5.ics.00112233.tmp"_s, -3600);
    const QStringList kept = {
        aged(u"list/.B3.ics.fedcba98.tmp"_s, 10),          // a write that may be running now
        aged(u"list/.B4.ics.fedcba99.tmp"_s, -10),         // the same, on a clock a little behind
        aged(u"list/.new.ics.tmp"_s, 3600),                // another program's
        aged(u"list/.___atomicwrite.abc123.ics"_s, 3600),  // another program's
        aged(u"list/notes.ics.0123abcd.tmp"_s, 3600),      // not hidden: not ours
    };
    LogCapture log("com.quorvandell.tavlin.store", QtInfoMsg);
    auto store = open();
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_FALSE(QFile::exists(another));
    EXPECT_FALSE(QFile::exists(beforeClockSetBack));
    for (const QString& path : kept) EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    EXPECT_EQ(log.take(), QStringList{u"Removed 3 temporary files that interrupted writes left."_s});
}

// Why a reminder does not show: one line at start counts the files skipped,
// each file is named at debug level, and events in calendars are neither.
TEST_F(VdirEventStoreTest, SkippedFilesAreCountedInOneLineAndNamedAtDebugLevel) {
    const QByteArray todo = crlf("BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:%1\nSUMMARY:x\n%2END:VTODO\nEND:VCALENDAR\n");
    const auto item = [&](const char* uid, const char* line = "") {
        return QByteArray(todo).replace("%1", uid).replace("%2", line);
    };
    write(u"list/good.ics"_s, item("good"));
    write(u"list/truncated.ics"_s, item("truncated").left(40));
    write(u"list/journal.ics"_s, crlf("BEGIN:VCALENDAR\nBEGIN:VJOURNAL\nUID:j\nEND:VJOURNAL\nEND:VCALENDAR\n"));
    write(u"list/nouid.ics"_s, crlf("BEGIN:VCALENDAR\nBEGIN:VTODO\nSUMMARY:x\nEND:VTODO\nEND:VCALENDAR\n"));
    write(u"list/twice.ics"_s, item("good"));
    write(u"list/latin1.ics"_s, item("latin1").replace("SUMMARY:x", "SUMMARY:Caf\xe9"));
    write(u"list/zone.ics"_s, item("zone", "DUE;TZID=Nowhere/Land:20260305T100000\n"));
    for (int i = 0; i < 20; ++i)
        write(u"calendar/event%1.ics"_s.arg(i),
              crlf("BEGIN:VCALENDAR\nBEGIN:VEVENT\nUID:e\nEND:VEVENT\nEND:VCALENDAR\n"));

    LogCapture log("com.quorvandell.tavlin.store");
    auto store = open();
    const QStringList lines = log.take();
    const QStringList reports = lines.filter(u"Reminders folders:"_s);
    ASSERT_EQ(reports.size(), 1) << lines.join(u'\n').toStdString();
    EXPECT_EQ(reports[0],
              u"Reminders folders: skipped 4 (1 unparsable, 1 without a to-do, 1 with a to-do without a "
              "UID, 1 with a UID another file has); read 2 (1 not in UTF-8, 1 with a due time in an "
              "undefined time zone, read as local time) as far as they go. "
              "QT_LOGGING_RULES=\"com.quorvandell.tavlin.store.debug=true\" names each file."_s);
    for (const char* name : {"truncated", "journal", "nouid", "twice", "latin1", "zone"})
        EXPECT_EQ(lines.filter(QString::fromLatin1(name) + u".ics"_s).size(), 1) << name;
    EXPECT_TRUE(lines.filter(u"/calendar/"_s).isEmpty());
    EXPECT_EQ(store->fetchIncompleteReminders().size(), 3u) << "good, latin1 and zone show";

    store->refreshSourcesIfNecessary();
    EXPECT_TRUE(log.take().filter(u"Reminders folders:"_s).isEmpty()) << "nothing new, nothing said";
    write(u"list/another.ics"_s, "not iCalendar");
    store->refreshSourcesIfNecessary();
    EXPECT_EQ(log.take().filter(u"Reminders folders: skipped 5 (2 unparsable,"_s).size(), 1);
}

// Many files are read on several threads at once; what they hold must be
// what reading each alone gives.
TEST_F(VdirEventStoreTest, ManyFilesReadTogetherAreReadAsEachAlone) {
    const char* const zones[] = {"Europe/Amsterdam", "/vendor/Europe/Amsterdam", "America/New_York", "Asia/Tokyo",
                                 "Nowhere/Land"};
    std::map<QString, Reminder> expected;
    for (int i = 0; i < 1200; ++i) {
        const QString list = u"list%1"_s.arg(i % 3);
        QByteArray text = "BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:item-" + QByteArray::number(i) + "\r\nSUMMARY:Item " +
                          QByteArray::number(i) + "\\, with a comma\r\n";
        text += "DUE;TZID=" + QByteArray(zones[i % 5]) + ":202603" + QByteArray::number(10 + i % 18) + "T0930" +
                QByteArray::number(10 + i % 50) + "\r\n";
        if (i % 4 == 0) text += "RRULE:FREQ=WEEKLY;BYDAY=MO,WE\r\n";
        if (i % 9 == 0) text += "STATUS:COMPLETED\r\nCOMPLETED:20260301T101010Z\r\n";
        text += "END:VTODO\r\nEND:VCALENDAR\r\n";
        if (i % 100 == 7) text.chop(20);  // cut short: skipped
        const QString path = write(list + u"/item-%1.ics"_s.arg(i), text);
        if (const auto calendar = ICalendarComponent::parse(text)) {
            std::optional<Reminder> alone = ICalendarReminder::read(*ICalendarReminder::todo(*calendar));
            alone->listIdentifier = QFileInfo(path).absolutePath();
            expected.emplace(alone->identifier, *alone);
        }
    }
    auto store = open();
    std::map<QString, Reminder> read;
    for (std::vector<Reminder> part :
         {store->fetchIncompleteReminders(), store->fetchRemindersCompleted(Date::fromSecondsSince1970(0))})
        for (Reminder& reminder : part) read.emplace(reminder.identifier, std::move(reminder));
    EXPECT_EQ(read.size(), 1188u);
    EXPECT_EQ(read, expected);
}

// A to-do another program gave a place, as todoman writes it.
QByteArray placedTodo(const QByteArray& placeLines) {
    return crlf(
        "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Another Client//EN\nBEGIN:VTODO\nUID:placed-1\n"
        "DTSTAMP:20260301T100000Z\nSUMMARY:Buy nails\n" +
        placeLines + "END:VTODO\nEND:VCALENDAR\n");
}

// The lines of a file that differ from another's, in either.
std::set<QByteArray> changedLines(const QByteArray& before, const QByteArray& after) {
    const QList<QByteArray> a = before.split('\n'), b = after.split('\n');
    std::set<QByteArray> changed;
    for (const QByteArray& line : a)
        if (!b.contains(line)) changed.insert(line.trimmed());
    for (const QByteArray& line : b)
        if (!a.contains(line)) changed.insert(line.trimmed());
    return changed;
}

TEST_F(VdirEventStoreTest, AnotherProgramsLocationIsAPlaceWithCoordinatesOnlyWhereGeoGivesThem) {
    struct Case {
        const char* lines;
        std::optional<GeoLocation> geo;
    };
    const Case cases[] = {
        {"LOCATION:Hardware store\n", std::nullopt},
        {"LOCATION:Hardware store\nGEO:52.37;4.89\n", GeoLocation{52.37, 4.89}},
        {"LOCATION:Hardware store\nGEO:-33.9;151.2\n", GeoLocation{-33.9, 151.2}},
        {"LOCATION:Hardware store\nGEO:91;4.89\n", std::nullopt},
        {"LOCATION:Hardware store\nGEO:52.37;181\n", std::nullopt},
        {"LOCATION:Hardware store\nGEO:nan;4.89\n", std::nullopt},
        {"LOCATION:Hardware store\nGEO:52.37,4.89\n", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        write(u"errands/placed.ics"_s, placedTodo(c.lines));
        const auto reminder = open()->reminder(u"placed-1"_s);
        ASSERT_TRUE(reminder);
        EXPECT_EQ(reminder->alarms,
                  std::vector{Alarm::on({.title = u"Hardware store"_s, .geoLocation = c.geo}, AlarmProximity::none)});
    }
    // Our own place alarm is the place; LOCATION is then only what others see.
    write(u"errands/placed.ics"_s, placedTodo("LOCATION:12 Elm Street\n"
                                              "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER;VALUE=DATE-TIME:19760401T005545Z\n"
                                              "X-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-TITLE=Home:geo:52.37\\,4.89\n"
                                              "END:VALARM\n"));
    EXPECT_EQ(open()->reminder(u"placed-1"_s)->alarms,
              std::vector{Alarm::on({u"Home"_s, GeoLocation{52.37, 4.89}, 0}, AlarmProximity::none)});
    write(u"errands/placed.ics"_s, placedTodo("LOCATION: \nGEO:52.37;4.89\n"));
    EXPECT_TRUE(open()->reminder(u"placed-1"_s)->alarms.empty()) << "a blank LOCATION names no place";
}

TEST_F(VdirEventStoreTest, OurPlaceIsWrittenAsLocationAndGeoAndGoesWithIt) {
    write(u"errands/displayname"_s, "Errands");
    auto store = open();
    Reminder reminder = store->newReminder();
    reminder.listIdentifier = root() + u"/errands"_s;
    reminder.title = u"Bins"_s;
    reminder.alarms = {Alarm::on({u"Home, back door"_s, GeoLocation{52.3731, 4.8922}, 120}, AlarmProximity::leave)};
    ASSERT_EQ(store->save(reminder), std::nullopt);
    const QString path = root() + u"/errands/"_s + reminder.identifier + u".ics"_s;
    std::string text = unfolded(path).toStdString();
    EXPECT_THAT(text, HasSubstr("\r\nLOCATION:Home\\, back door\r\n"));
    EXPECT_THAT(text, HasSubstr("\r\nGEO:52.3731;4.8922\r\n"));
    EXPECT_EQ(open()->reminder(reminder.identifier), reminder) << "one place, not two";

    // A place without coordinates (not found on the map) has no GEO.
    reminder.alarms = {Alarm::on({.title = u"Hardware store"_s}, AlarmProximity::enter)};
    ASSERT_EQ(store->save(reminder), std::nullopt);
    text = unfolded(path).toStdString();
    EXPECT_THAT(text, HasSubstr("\r\nLOCATION:Hardware store\r\n"));
    EXPECT_THAT(text, Not(HasSubstr("GEO:")));

    // No place: no LOCATION, which would otherwise bring the place back.
    reminder.alarms.clear();
    ASSERT_EQ(store->save(reminder), std::nullopt);
    text = unfolded(path).toStdString();
    EXPECT_THAT(text, Not(HasSubstr("LOCATION")));
    EXPECT_EQ(open()->reminder(reminder.identifier), reminder);
}

TEST_F(VdirEventStoreTest, AnEditKeepsAnotherProgramsLocationWhileThePlaceStays) {
    struct Case {
        std::string name;
        QByteArray placeLines;
        std::function<void(Reminder&)> edit;
        std::set<QByteArray> changed;  // beside DTSTAMP and LAST-MODIFIED
    };
    const Alarm atHome = Alarm::on({u"Home"_s, GeoLocation{52.37, 4.89}, 0}, AlarmProximity::none);
    const std::vector<Case> cases = {
        {"a new title",
         "LOCATION:Hardware store\nGEO:52.37;4.89\n",
         [](Reminder& r) { r.title = u"Buy screws"_s; },
         {"SUMMARY:Buy nails", "SUMMARY:Buy screws"}},
        {"a due date",
         "LOCATION:Hardware store\n",
         [](Reminder& r) { r.dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 5}; },
         {"DUE;VALUE=DATE:20260305"}},
        // The place typed again and not found: the same place, now with our alarm.
        {"the same place as our alarm",
         "LOCATION:Hardware store\n",
         [](Reminder& r) { r.alarms = {Alarm::on({.title = u"Hardware store"_s}, AlarmProximity::enter)}; },
         {}},
        {"a radius on our own alarm, under another wording",
         "LOCATION:12 Elm Street\nBEGIN:VALARM\nACTION:DISPLAY\nTRIGGER;VALUE=DATE-TIME:19760401T005545Z\n"
         "X-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-TITLE=Home:geo:52.37\\,4.89\nEND:VALARM\n",
         [&](Reminder& r) {
             r.alarms = {atHome};
             r.alarms[0].structuredLocation->radius = 250;
         },
         {}},
        {"another place",
         "LOCATION:Hardware store\nGEO:52.37;4.89\n",
         [&](Reminder& r) {
             r.alarms = {Alarm::on({u"Office"_s, GeoLocation{48.85, 2.35}, 100}, AlarmProximity::enter)};
         },
         {"LOCATION:Hardware store", "LOCATION:Office", "GEO:52.37;4.89", "GEO:48.85;2.35"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = write(u"errands/placed.ics"_s, placedTodo(c.placeLines));
        const QByteArray before = unfolded(path);
        auto store = open();
        Reminder reminder = *store->reminder(u"placed-1"_s);
        c.edit(reminder);
        ASSERT_EQ(store->save(reminder), std::nullopt);
        std::set<QByteArray> changed;
        for (const QByteArray& line : changedLines(before, unfolded(path))) {
            // Our new alarm's lines are not what this looks at.
            if (line.startsWith("DTSTAMP") || line.startsWith("LAST-MODIFIED") || line.contains("VALARM") ||
                line.startsWith("UID:") || line.startsWith("ACTION") || line.startsWith("DESCRIPTION") ||
                line.startsWith("TRIGGER") || line.startsWith("X-APPLE"))
                continue;
            changed.insert(line);
        }
        EXPECT_EQ(changed, c.changed);
        EXPECT_EQ(open()->reminder(u"placed-1"_s), reminder);
    }
}

// todoman moves a to-do by writing it into the other list's folder.
TEST_F(VdirEventStoreTest, AnItemAnotherProgramMovedIsStillFoundToEditAndDelete) {
    const QString from = write(u"errands/foreign.ics"_s, kForeignTodo);
    write(u"home/displayname"_s, "Home");
    auto store = open();
    Reminder reminder = *store->reminder(u"foreign-1"_s);
    const QString to = root() + u"/home/foreign.ics"_s;
    ASSERT_TRUE(QFile::rename(from, to));
    reminder.title = u"Buy oat milk"_s;
    reminder.listIdentifier = root() + u"/home"_s;
    ASSERT_EQ(store->save(reminder), std::nullopt);
    EXPECT_THAT(unfolded(to).toStdString(), HasSubstr("SUMMARY:Buy oat milk\r\n"));
    ASSERT_EQ(store->remove(reminder), std::nullopt);
    EXPECT_FALSE(QFile::exists(to));
}

QByteArray todo(const QByteArray& uid, const QByteArray& title) {
    return crlf("BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VTODO\nUID:" + uid + "\nSUMMARY:" + title +
                "\nEND:VTODO\nEND:VCALENDAR\n");
}

// What other programs do to the folders, each taken in from the kernel's
// notices alone: the store then holds what a store opened afresh reads, and
// names the reminders that changed (or, where the lists changed, that it
// cannot name them).
TEST_F(VdirEventStoreTest, ChangesTheNoticesNameAreTakenInAsAFreshReadSeesThem) {
    const auto rename = [](const QString& from, const QString& to) {
        ASSERT_EQ(::rename(qPrintable(from), qPrintable(to)), 0);
    };
    struct Case {
        const char* what;
        std::function<void(const QString& root)> change;
        std::optional<QSet<QString>> changed;
    };
    const Case cases[] = {
        {"a file written in place",
         [](const QString& root) { writeTestFile(root + u"/list/a.ics"_s, todo("a", "A again")); }, QSet{u"a"_s}},
        {"a file added", [](const QString& root) { writeTestFile(root + u"/list/c.ics"_s, todo("c", "C")); },
         QSet{u"c"_s}},
        {"a file removed", [](const QString& root) { QFile::remove(root + u"/list/b.ics"_s); }, QSet{u"b"_s}},
        {"a file renamed", [&](const QString& root) { rename(root + u"/list/b.ics"_s, root + u"/list/b2.ics"_s); },
         QSet{u"b"_s}},
        {"a file replaced by a rename over it, as vdirsyncer writes",
         [&](const QString& root) {
             writeTestFile(root + u"/list/.a.ics.tmp"_s, todo("a", "A synced"));
             rename(root + u"/list/.a.ics.tmp"_s, root + u"/list/a.ics"_s);
         },
         QSet{u"a"_s}},
        {"a file moved to another list",
         [&](const QString& root) { rename(root + u"/list/b.ics"_s, root + u"/other/b.ics"_s); }, QSet{u"b"_s}},
        {"a list added", [](const QString& root) { writeTestFile(root + u"/new/c.ics"_s, todo("c", "C")); },
         std::nullopt},
        {"a list removed", [](const QString& root) { QDir(root + u"/other"_s).removeRecursively(); }, std::nullopt},
        {"a list retitled", [](const QString& root) { writeTestFile(root + u"/list/displayname"_s, "Renamed"); },
         std::nullopt},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        QTemporaryDir temporary;
        const QString root = QDir::cleanPath(temporary.path());
        writeTestFile(root + u"/list/displayname"_s, "List");
        writeTestFile(root + u"/list/a.ics"_s, todo("a", "A"));
        writeTestFile(root + u"/list/b.ics"_s, todo("b", "B"));
        writeTestFile(root + u"/other/d.ics"_s, todo("d", "D"));
        VdirEventStore store(VdirEventStore::Options{.roots = {root}});
        ASSERT_TRUE(store.followsChanges());
        int changes = 0;
        QObject::connect(&store, &EventStore::changed, [&] { ++changes; });
        const std::uint64_t before = store.revision();

        test.change(root);
        store.catchUp();

        EXPECT_EQ(changes, 1);
        EXPECT_EQ(store.changedSince(before), test.changed);
        VdirEventStore fresh(VdirEventStore::Options{.roots = {root}});
        const Date epoch = Date::fromSecondsSince1970(0);
        EXPECT_EQ(store.lists(), fresh.lists());
        EXPECT_EQ(store.fetchReminders(epoch).incomplete, fresh.fetchReminders(epoch).incomplete);
        EXPECT_EQ(changes, 1) << "the fetch found nothing more";
    }
}

// The notices of our own write name a file whose state is already known.
TEST_F(VdirEventStoreTest, OurOwnWriteIsNotedOnceAndNotTakenInAgain) {
    write(u"list/displayname"_s, "List");
    auto store = open();
    int changes = 0;
    QObject::connect(store.get(), &EventStore::changed, [&] { ++changes; });
    const std::uint64_t before = store->revision();
    Reminder reminder = store->newReminder();
    reminder.listIdentifier = root() + u"/list"_s;
    reminder.title = u"Ours"_s;
    ASSERT_EQ(store->save(reminder), std::nullopt);
    const std::uint64_t saved = store->revision();
    EXPECT_EQ(store->changedSince(before), QSet{reminder.identifier});

    store->catchUp();  // the kernel queued the write's notices as it wrote
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(store->revision(), saved);
}

// Where the system refuses to watch, each look at the store looks at every
// file, and the periodic look finds what changed.
TEST_F(VdirEventStoreTest, WithoutNoticesEveryLookReadsTheFolders) {
    write(u"list/a.ics"_s, todo("a", "A"));
    auto store = open();
    store->stopFollowingChanges();
    ASSERT_FALSE(store->followsChanges());
    const std::uint64_t before = store->revision();

    write(u"list/a.ics"_s, todo("a", "A edited"));
    write(u"list/c.ics"_s, todo("c", "C"));
    store->refreshSourcesIfNecessary();
    EXPECT_EQ(store->changedSince(before), (QSet{u"a"_s, u"c"_s}));
    EXPECT_EQ(store->reminder(u"a"_s)->title, u"A edited"_s);

    QFile::remove(root() + u"/list/c.ics"_s);
    EXPECT_EQ(store->fetchIncompleteReminders().size(), 1u);
}

}  // namespace
