// The behaviour both stores share, run against each of them.

#include "platform/eventstore/MemoryEventStore.h"
#include "platform/eventstore/VdirEventStore.h"

#include "support/Dates.h"
#include "support/ReminderPrinters.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <memory>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

Date at(double seconds) { return Date::fromSecondsSince1970(seconds); }
constexpr double kMarch2026 = 1772323200;  // 2026-03-01T00:00:00Z

// Gives each test a store of the kind named by the parameter, with the lists
// "Work" and "Home".
class EventStoreTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (GetParam() == std::string("memory")) {
            work = u"work"_s;
            home = u"home"_s;
            store = std::make_unique<MemoryEventStore>(
                MemoryEventStore::Contents{.lists = {{work, u"Work"_s}, {home, u"Home"_s}}});
            return;
        }
        work = makeList(u"work"_s, u"Work"_s);
        home = makeList(u"home"_s, u"Home"_s);
        store = std::make_unique<VdirEventStore>(VdirEventStore::Options{.roots = {folder.path()}});
    }

    QString makeList(const QString& name, const QString& title) {
        const QString path = folder.path() + u'/' + name;
        writeTestFile(path + u"/displayname"_s, title.toUtf8());
        return QDir::cleanPath(path);
    }

    Reminder saved(Reminder fields) {
        Reminder reminder = store->newReminder();
        fields.identifier = reminder.identifier;
        if (fields.listIdentifier.isEmpty()) fields.listIdentifier = work;
        reminder = fields;
        EXPECT_EQ(store->save(reminder), std::nullopt);
        return reminder;
    }

    // Another program (todoman, a sync) rewrites a saved reminder's notes.
    void changeNotesElsewhere(const QString& identifier, const QString& notes) {
        if (auto* memory = dynamic_cast<MemoryEventStore*>(store.get())) {
            memory->changeByAnotherProcess([&](MemoryEventStore::Contents& contents) {
                for (Reminder& reminder : contents.reminders)
                    if (reminder.identifier == identifier) reminder.notes = notes;
            });
            return;
        }
        const QString path = *store->folderOf(identifier) + u'/' + identifier + u".ics"_s;
        QByteArray text = readTestFile(path);
        ASSERT_TRUE(text.contains("BEGIN:VTODO\r\n"));
        text.replace("BEGIN:VTODO\r\n", "BEGIN:VTODO\r\nDESCRIPTION:" + notes.toUtf8() + "\r\n");
        writeTestFile(path, text);
        store->refreshSourcesIfNecessary();
    }

    QTemporaryDir folder;
    QString work, home;
    std::unique_ptr<EventStore> store;
};

INSTANTIATE_TEST_SUITE_P(BothStores, EventStoreTest, ::testing::Values("memory", "vdir"));

struct RoundTripCase {
    const char* name;
    Reminder reminder;
};

TEST_P(EventStoreTest, EveryFieldComesBackAsSaved) {
    const Date created = at(kMarch2026 - 86400);
    const StructuredLocation office{u"Office, 2nd floor"_s, GeoLocation{52.3731, 4.8922}, 150};
    const std::vector<RoundTripCase> cases = {
        {"date-only due and high priority",
         {.title = u"Pay rent"_s,
          .dueDateComponents = DateComponents{.year = 2026, .month = 4, .day = 1},
          .priority = 1}},
        {"timed due with a zone, notes that need escaping",
         {.title = u"Dentist ✓ Zoë"_s,
          .notes = u"Bring card; ask about x-ray, \\ and\nthe bill"_s,
          .dueDateComponents = DateComponents{.timeZone = zone(u"Europe/Amsterdam"_s),
                                              .year = 2026,
                                              .month = 3,
                                              .day = 5,
                                              .hour = 15,
                                              .minute = 15},
          .priority = 5}},
        {"floating due time",
         {.title = u"Call"_s,
          .dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 5, .hour = 9, .minute = 30}}},
        {"UTC due time",
         {.title = u"Deploy"_s,
          .dueDateComponents =
              DateComponents{
                  .timeZone = TimeZone::gmt(), .year = 2026, .month = 3, .day = 5, .hour = 23, .minute = 59}}},
        {"completed", {.title = u"Done thing"_s, .completed = true, .completionDate = at(kMarch2026 + 3600)}},
        {"weekly on two days, every 2 weeks, 5 times",
         {.title = u"Gym"_s,
          .dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 2, .hour = 7, .minute = 0},
          .recurrenceRules = {{.frequency = RecurrenceRule::Frequency::weekly,
                               .interval = 2,
                               .end = RecurrenceEnd{.occurrenceCount = 5},
                               .daysOfTheWeek = {{.weekday = 2}, {.weekday = 4}}}}}},
        {"monthly on the last Friday until a day; yearly with every list; hourly",
         {.title = u"Review"_s,
          .dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 27},
          .recurrenceRules = {{.frequency = RecurrenceRule::Frequency::monthly,
                               .end = RecurrenceEnd{.date = DateComponents{.year = 2026, .month = 12, .day = 31}},
                               .daysOfTheWeek = {{.weekday = 6, .weekNumber = -1}}},
                              {.frequency = RecurrenceRule::Frequency::yearly,
                               .end = RecurrenceEnd{.date = DateComponents{.timeZone = TimeZone::gmt(),
                                                                           .year = 2030,
                                                                           .month = 1,
                                                                           .day = 1,
                                                                           .hour = 0,
                                                                           .minute = 0}},
                               .daysOfTheMonth = {1, -1},
                               .monthsOfTheYear = {3, 9},
                               .weeksOfTheYear = {10, -1},
                               .daysOfTheYear = {60, -1},
                               .setPositions = {1, -1}},
                              {.frequency = RecurrenceRule::Frequency::hourly, .interval = 3}}}},
        {"absolute, relative and location alarms",
         {.title = u"Pick up parcel"_s,
          .dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 6, .hour = 17, .minute = 0},
          .alarms = {Alarm::at(at(kMarch2026 + 5 * 86400)), Alarm{.relativeOffset = -900},
                     Alarm::on(office, AlarmProximity::enter),
                     Alarm::on({u"Home"_s, std::nullopt, 0}, AlarmProximity::leave),
                     Alarm::on({u"Station"_s, GeoLocation{-33.5, 151.25}, 0}, AlarmProximity::none)}}},
    };
    for (const RoundTripCase& test : cases) {
        SCOPED_TRACE(test.name);
        Reminder fields = test.reminder;
        fields.creationDate = created;
        const Reminder reminder = saved(fields);
        EXPECT_EQ(reminder.title, fields.title);
        EXPECT_EQ(store->reminder(reminder.identifier), reminder);
        Reminder expected = fields;
        expected.identifier = reminder.identifier;
        expected.listIdentifier = work;
        EXPECT_EQ(reminder, expected);
    }
}

TEST_P(EventStoreTest, FetchesOpenRemindersAndThoseCompletedSinceAnInstant) {
    const Reminder open = saved({.title = u"Open"_s});
    const Reminder elsewhere = saved({.title = u"At home"_s, .listIdentifier = home});
    saved({.title = u"Done yesterday"_s, .completed = true, .completionDate = at(kMarch2026 - 3600)});
    const Reminder today = saved({.title = u"Done today"_s, .completed = true, .completionDate = at(kMarch2026)});

    EXPECT_THAT(store->fetchIncompleteReminders(), ::testing::UnorderedElementsAre(open, elsewhere));
    EXPECT_EQ(store->fetchRemindersCompleted(at(kMarch2026)), std::vector{today});
}

TEST_P(EventStoreTest, StampsCreationAndCompletionAndReopensWithoutACompletionDate) {
    Reminder reminder = store->newReminder();
    reminder.listIdentifier = work;
    const Date before = Date::now().addingTimeInterval(-1);
    ASSERT_EQ(store->save(reminder), std::nullopt);
    ASSERT_TRUE(reminder.creationDate);
    EXPECT_GE(*reminder.creationDate, before);

    reminder.completed = true;
    ASSERT_EQ(store->save(reminder), std::nullopt);
    ASSERT_TRUE(reminder.completionDate);
    EXPECT_GE(*reminder.completionDate, before);

    reminder.completed = false;
    ASSERT_EQ(store->save(reminder), std::nullopt);
    EXPECT_EQ(store->reminder(reminder.identifier)->completionDate, std::nullopt);
}

TEST_P(EventStoreTest, RefusesWhatCannotBeSavedOrRemoved) {
    Reminder withoutList = store->newReminder();
    EXPECT_EQ(store->save(withoutList)->code, StoreError::noList);
    withoutList.listIdentifier = u"/no/such/list"_s;
    EXPECT_EQ(store->save(withoutList)->code, StoreError::listNotFound);

    Reminder gone = saved({.title = u"Gone"_s});
    ASSERT_EQ(store->remove(gone), std::nullopt);
    EXPECT_EQ(store->reminder(gone.identifier), std::nullopt);
    gone.title = u"Edited after it went"_s;
    EXPECT_EQ(store->save(gone)->code, StoreError::reminderNotFound);
    EXPECT_EQ(store->remove(gone)->code, StoreError::reminderNotFound);
    EXPECT_EQ(store->remove(store->newReminder())->code, StoreError::reminderNotFound);
}

TEST_P(EventStoreTest, RollbackDropsUnsavedEdits) {
    const Reminder original = saved({.title = u"Original"_s, .priority = 9});
    Reminder edited = original;
    edited.title = u"Edited"_s;
    edited.listIdentifier = home;
    store->rollback(edited);
    EXPECT_EQ(edited, original);
}

TEST_P(EventStoreTest, MovesBetweenLists) {
    Reminder reminder = saved({.title = u"Move me"_s});
    reminder.listIdentifier = home;
    ASSERT_EQ(store->save(reminder), std::nullopt);
    EXPECT_EQ(store->reminder(reminder.identifier)->listIdentifier, home);
    EXPECT_EQ(store->fetchIncompleteReminders().size(), 1u);
}

// Weekly on Mondays at 09:00 in Amsterdam, three times, with an alarm at the
// due time.
Reminder weeklySeries(std::optional<RecurrenceEnd> end) {
    const DateComponents due{
        .timeZone = zone(u"Europe/Amsterdam"_s), .year = 2026, .month = 3, .day = 2, .hour = 9, .minute = 0};
    return {.title = u"Water plants"_s,
            .dueDateComponents = due,
            .recurrenceRules = {{.frequency = RecurrenceRule::Frequency::weekly, .end = end}},
            .alarms = {Alarm::at(at(kMarch2026 + 86400 + 8 * 3600)), Alarm{.relativeOffset = -600}}};
}

TEST_P(EventStoreTest, CompletingARecurringReminderContinuesTheSeriesAndReopeningUndoesIt) {
    const Reminder series = saved(weeklySeries(RecurrenceEnd{.occurrenceCount = 3}));
    const auto before = store->fetchIncompleteReminders();

    Reminder done = series;
    done.completed = true;
    ASSERT_EQ(store->save(done), std::nullopt);
    EXPECT_TRUE(done.completed);
    EXPECT_TRUE(done.recurrenceRules.empty());
    EXPECT_EQ(done.dueDateComponents, series.dueDateComponents);

    const auto open = store->fetchIncompleteReminders();
    ASSERT_EQ(open.size(), 1u);
    const Reminder& next = open.front();
    EXPECT_NE(next.identifier, series.identifier);
    EXPECT_EQ(next.dueDateComponents->day, 9);
    EXPECT_EQ(next.dueDateComponents->hour, 9);
    EXPECT_EQ(next.recurrenceRules.front().end->occurrenceCount, 2);
    EXPECT_EQ(next.alarms.front(), Alarm::at(at(kMarch2026 + 8 * 86400 + 8 * 3600)));
    EXPECT_EQ(next.alarms.back(), series.alarms.back());

    done.completed = false;
    ASSERT_EQ(store->save(done), std::nullopt);
    EXPECT_EQ(store->fetchIncompleteReminders(), before);
    EXPECT_EQ(store->reminder(next.identifier), std::nullopt);
    EXPECT_EQ(done, series);
}

TEST_P(EventStoreTest, ReopeningAnOccurrenceKeepsASuccessorThatWasEdited) {
    Reminder done = saved(weeklySeries(std::nullopt));
    done.completed = true;
    ASSERT_EQ(store->save(done), std::nullopt);
    Reminder next = store->fetchIncompleteReminders().front();
    next.title = u"Water the plants"_s;
    ASSERT_EQ(store->save(next), std::nullopt);

    done.completed = false;
    ASSERT_EQ(store->save(done), std::nullopt);
    EXPECT_EQ(store->fetchIncompleteReminders().size(), 2u);
    EXPECT_TRUE(store->reminder(done.identifier)->recurrenceRules.empty());
    EXPECT_EQ(store->reminder(next.identifier)->title, next.title);
}

// Whether the successor may go is its own file's matter: an edit of the done
// occurrence by another program does not split the series.
TEST_P(EventStoreTest, ReopeningAnOccurrenceEditedElsewhereGivesOneSeriesBack) {
    const Reminder series = saved(weeklySeries(std::nullopt));
    Reminder done = series;
    done.completed = true;
    ASSERT_EQ(store->save(done), std::nullopt);
    const QString next = store->fetchIncompleteReminders().front().identifier;
    changeNotesElsewhere(series.identifier, u"Edited elsewhere"_s);

    Reminder reopened = *store->reminder(series.identifier);
    ASSERT_EQ(reopened.notes, u"Edited elsewhere"_s);
    reopened.completed = false;
    ASSERT_EQ(store->save(reopened), std::nullopt);
    const auto open = store->fetchIncompleteReminders();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open.front().identifier, series.identifier);
    EXPECT_EQ(open.front().recurrenceRules, series.recurrenceRules);
    EXPECT_EQ(open.front().notes, u"Edited elsewhere"_s);
    EXPECT_EQ(store->reminder(next), std::nullopt);
}

TEST_P(EventStoreTest, ASeriesThatHasEndedDoesNotContinue) {
    const std::vector<std::pair<const char*, RecurrenceEnd>> ends = {
        {"last of its count", RecurrenceEnd{.occurrenceCount = 1}},
        {"next occurrence after the end day",
         RecurrenceEnd{.date = DateComponents{.year = 2026, .month = 3, .day = 8}}},
        {"next occurrence after the end time",
         RecurrenceEnd{
             .date =
                 DateComponents{
                     .timeZone = TimeZone::gmt(), .year = 2026, .month = 3, .day = 9, .hour = 7, .minute = 59}}},
    };
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        Reminder done = saved(weeklySeries(end));
        done.completed = true;
        ASSERT_EQ(store->save(done), std::nullopt);
        EXPECT_TRUE(store->fetchIncompleteReminders().empty());
        EXPECT_TRUE(store->reminder(done.identifier)->completed);
        ASSERT_EQ(store->remove(done), std::nullopt);
    }
}

TEST_P(EventStoreTest, ASeriesEndingOnTheNextOccurrenceStillContinues) {
    Reminder done = saved(weeklySeries(RecurrenceEnd{.date = DateComponents{.year = 2026, .month = 3, .day = 9}}));
    done.completed = true;
    ASSERT_EQ(store->save(done), std::nullopt);
    EXPECT_EQ(store->fetchIncompleteReminders().size(), 1u);
}

// Rules finer than a day, as other programs write them: the next one is
// always later than the one done (on a date-only due date, a later day),
// and a rule that reaches none within its search makes none.
TEST_P(EventStoreTest, ARuleFinerThanADayContinuesOnlyWithALaterOccurrence) {
    using Frequency = RecurrenceRule::Frequency;
    const DateComponents day{.year = 2026, .month = 3, .day = 2};
    const DateComponents nine{.year = 2026, .month = 3, .day = 2, .hour = 9, .minute = 0};
    struct Case {
        const char* name;
        Frequency frequency;
        DateComponents due;
        std::optional<DateComponents> next;
    };
    const Case cases[] = {
        {"hourly at 09:00", Frequency::hourly, nine,
         DateComponents{.year = 2026, .month = 3, .day = 2, .hour = 10, .minute = 0}},
        {"minutely at 09:00", Frequency::minutely, nine,
         DateComponents{.year = 2026, .month = 3, .day = 2, .hour = 9, .minute = 1}},
        {"secondly at 09:00", Frequency::secondly, nine,
         DateComponents{.year = 2026, .month = 3, .day = 2, .hour = 9, .minute = 0, .second = 1}},
        {"hourly on a day", Frequency::hourly, day, DateComponents{.year = 2026, .month = 3, .day = 3}},
        {"secondly on a day", Frequency::secondly, day, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reminder done =
            saved({.title = u"Stretch"_s, .dueDateComponents = c.due, .recurrenceRules = {{.frequency = c.frequency}}});
        done.completed = true;
        ASSERT_EQ(store->save(done), std::nullopt);
        const auto open = store->fetchIncompleteReminders();
        ASSERT_EQ(open.size(), c.next ? 1u : 0u);
        if (c.next) {
            EXPECT_EQ(open.front().dueDateComponents, c.next);
            ASSERT_EQ(store->remove(open.front()), std::nullopt);
        }
        ASSERT_EQ(store->remove(done), std::nullopt);
    }
}

// Text fields lose the control characters iCalendar forbids, keep tabs, and
// keep each line break as one newline.
TEST_P(EventStoreTest, TextIsSavedWithoutControlCharacters) {
    const QString dirty = u"a\u0000b\u0001\u0008c\td\u000b\u000c\u000e\u001fe\u007ff\r\ng\rh\ni"_s;
    const QString clean = u"abc\tdef\ng\nh\ni"_s;
    struct Case {
        const char* name;
        std::function<void(Reminder&, const QString&)> set;
        std::function<QString(const Reminder&)> get;
    };
    const Case cases[] = {
        {"title", [](Reminder& r, const QString& text) { r.title = text; }, [](const Reminder& r) { return r.title; }},
        {"notes", [](Reminder& r, const QString& text) { r.notes = text; }, [](const Reminder& r) { return r.notes; }},
        {"place",
         [](Reminder& r, const QString& text) {
             r.alarms = {Alarm::on({text, GeoLocation{52.37, 4.89}, 100}, AlarmProximity::enter)};
         },
         [](const Reminder& r) { return r.alarms.at(0).structuredLocation->title; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reminder fields{.title = u"Paste"_s};
        c.set(fields, dirty);
        const Reminder reminder = saved(fields);
        EXPECT_EQ(c.get(reminder), clean);
        EXPECT_EQ(c.get(*store->reminder(reminder.identifier)), clean);
    }
    if (GetParam() != std::string("vdir")) return;
    for (const QString& name : QDir(work).entryList({u"*.ics"_s}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray text = readTestFile(work + u'/' + name);
        EXPECT_FALSE(std::any_of(text.begin(), text.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return (byte < 0x20 && byte != '\r' && byte != '\n' && byte != '\t') || byte == 0x7F;
        }));
    }
}

}  // namespace
