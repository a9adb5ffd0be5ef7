#include "mcp/ReminderSnapshot.h"

#include "mcp/DueInput.h"
#include "mcp/JSONRPCCodec.h"
#include "mcp/ReminderTools.h"
#include "platform/eventstore/VdirEventStore.h"
#include "store/ReminderLocation.h"

#include "support/Todoman.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace tavlin::mcp;
using namespace tavlin::platform;
using tavlin::parsing::RecurrenceFrequency;

namespace {

Calendar calendarIn(const char* zone) {
    return Calendar::gregorian(TimeZone::fromIdentifier(QString::fromLatin1(zone)).value());
}

// Wednesday 4 March 2026, 10:00 in Amsterdam.
constexpr Date morning = Date::fromSecondsSince1970(1772614800);

ReminderSnapshot plain() { return {.id = u"abc"_s, .title = u"Buy milk"_s}; }

}  // namespace

TEST(ReminderSnapshot, WritesEachMemberOnlyWhenItHasOne) {
    const SnapshotClock amsterdam(morning, calendarIn("Europe/Amsterdam"));
    struct Case {
        const char* name;
        ReminderSnapshot snapshot;
        std::string json;
        QString line;
    };
    ReminderSnapshot full = plain();
    full.notes = u"2 litres"_s;
    full.listName = u"Groceries"_s;
    full.listID = u"L1"_s;
    full.dueDateComponents = DateComponents{.year = 2026, .month = 9, .day = 19};
    full.priority = 3;
    full.recurrence = ReminderSnapshot::Recurrence{RecurrenceFrequency::weekly, 1};
    full.place = ReminderSnapshot::Place{.name = u"Home"_s, .latitude = 52.5, .longitude = 4.75, .radius = 100};
    full.createdAt = Date::fromSecondsSince1970(1772611200);

    ReminderSnapshot timedOverdue = plain();
    timedOverdue.dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 9};
    timedOverdue.priority = 7;
    timedOverdue.place = ReminderSnapshot::Place{.name = u"Work"_s, .onDeparture = true};

    ReminderSnapshot done = plain();
    done.id.clear();
    done.notes = QString();
    done.listName = QString();
    done.isCompleted = true;
    done.completedAt = Date::fromSecondsSince1970(1772614800);
    done.recurrence = ReminderSnapshot::Recurrence{RecurrenceFrequency::daily, 0};

    const Case cases[] = {
        {"nothing but a title", plain(),
         R"({"completed":false,"dueState":"none","id":"abc","priority":"none","title":"Buy milk"})",
         u"Buy milk [abc]"_s},
        {"every piece", full,
         R"({"completed":false,"createdAt":"2026-03-04T09:00:00+01:00","due":"2026-09-19","dueHasTime":false,)"
         R"("dueState":"upcoming","id":"abc","list":"Groceries","location":{"latitude":52.5,"longitude":4.75,)"
         R"("name":"Home","radius":100.0,"trigger":"arrive"},"notes":"2 litres","priority":"high",)"
         R"("repeats":"every week","title":"Buy milk"})",
         u"Buy milk · due 2026-09-19 · high priority · every week · at Home · in Groceries [abc]"_s},
        {"an hour without a minute is timed; a place without a position", timedOverdue,
         R"({"completed":false,"due":"2026-03-04T09:00:00+01:00","dueHasTime":true,"dueState":"overdue","id":"abc",)"
         R"("location":{"name":"Work","trigger":"leave"},"priority":"low","title":"Buy milk"})",
         u"Buy milk · overdue since 2026-03-04T09:00:00+01:00 · low priority · when leaving Work [abc]"_s},
        {"empty notes, an empty list name, no id", done,
         R"({"completed":true,"completedAt":"2026-03-04T10:00:00+01:00","dueState":"none","id":"","list":"",)"
         R"("priority":"none","repeats":"every day","title":"Buy milk"})",
         u"Buy milk · every day · in  · completed"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(JSONRPCCodec::serialize(c.snapshot.json(amsterdam)).toStdString(), c.json);
        EXPECT_EQ(c.snapshot.line(amsterdam), c.line);
    }
}

// A note of megabytes would be in every reply that lists its reminder.
TEST(ReminderSnapshot, LongNotesAreCutAndSaySo) {
    const qsizetype most = ReminderSnapshot::maxNotesLength;
    Reminder reminder{.identifier = u"abc"_s, .title = u"Read"_s};
    reminder.notes = QString(most, u'n');
    EXPECT_EQ(ReminderSnapshot::of(reminder, std::nullopt).notes, reminder.notes);
    reminder.notes = QString(most - 1, u'n') + u"😀"_s + QString(50 * 1024 * 1024, u'n');
    const QString shown = *ReminderSnapshot::of(reminder, std::nullopt).notes;
    const QString note = u"… [notes cut here: 9999 of their 52438801 characters are shown]"_s;
    EXPECT_TRUE(shown.startsWith(QString(most - 1, u'n') + note.front())) << "never half a character";
    EXPECT_EQ(shown.sliced(most - 1), note);
}

TEST(ReminderSnapshot, WritesTimesInTheZoneItIsGiven) {
    ReminderSnapshot timed = plain();
    timed.dueDateComponents = DateComponents{.timeZone = TimeZone::fromIdentifier(u"Europe/Amsterdam"_s),
                                             .year = 2026,
                                             .month = 9,
                                             .day = 19,
                                             .hour = 17,
                                             .minute = 0};
    EXPECT_EQ(timed.json(SnapshotClock(morning, calendarIn("Europe/Amsterdam"))).at("due"),
              "2026-09-19T17:00:00+02:00");
    EXPECT_EQ(timed.json(SnapshotClock(morning, calendarIn("UTC"))).at("due"), "2026-09-19T15:00:00Z");
}

TEST(ReminderSnapshot, PriorityWordsAndRepeats) {
    const std::pair<int, const char*> priorities[] = {{0, "none"}, {1, "high"}, {3, "high"}, {5, "medium"},
                                                      {6, "low"},  {7, "low"},  {9, "low"},  {10, "none"}};
    for (const auto& [number, word] : priorities)
        EXPECT_EQ(ReminderSnapshot::priorityWord(number), QLatin1String(word));
    EXPECT_EQ(ReminderSnapshot::repeatText(RecurrenceFrequency::weekly, 1), u"every week"_s);
    EXPECT_EQ(ReminderSnapshot::repeatText(RecurrenceFrequency::weekly, 2), u"every 2 weeks"_s);
    EXPECT_EQ(ReminderSnapshot::repeatText(RecurrenceFrequency::monthly, 3), u"every 3 months"_s);
    EXPECT_EQ(ReminderSnapshot::repeatText(RecurrenceFrequency::yearly, 0), u"every year"_s);
}

TEST(DueInput, ReadsISODatesAndTheWordsThatClear) {
    const Calendar amsterdam = calendarIn("Europe/Amsterdam");
    const auto at = [](int hour, int minute) {
        return DueInput::Outcome(
            DueInput::Value{DateComponents{.year = 2026, .month = 9, .day = 19, .hour = hour, .minute = minute}, true});
    };
    const DueInput::Outcome allDay = DueInput::Value{DateComponents{.year = 2026, .month = 9, .day = 19}, false};
    const std::pair<const char*, std::optional<DueInput::Outcome>> cases[] = {
        {"2026-09-19", allDay},
        {" 2026-09-19\n", allDay},
        {"2026-09-19T17:00", at(17, 0)},
        {"2026-09-19 17:00", at(17, 0)},
        {"2026-09-19T17:00:45", at(17, 0)},
        {"2026-09-19 17:00:45", at(17, 0)},
        {"2026-09-19T17:00+02:00", at(17, 0)},
        {"2026-09-19T15:00Z", at(17, 0)},
        {"2026-09-19T15:00:00Z", at(17, 0)},
        {"2026-09-19T15:00:00.250Z", at(17, 0)},
        {"2026-09-19T17:00:00+02:00", at(17, 0)},
        {"2026-09-19T12:30:00-03:00", at(17, 30)},
        {"none", DueInput::Clear{}},
        {"NONE", DueInput::Clear{}},
        {"  clear ", DueInput::Clear{}},
        {"null", DueInput::Clear{}},
        {"", DueInput::Clear{}},
        {" \n", DueInput::Clear{}},
        {"tomorrow", std::nullopt},
        {"19/09/2026", std::nullopt},
        {"2026-02-30", std::nullopt},
        {"2026-09-19T25:00", std::nullopt},
        {"2026-09-19 at 17:00", std::nullopt},
        {"2026-09-19T17", std::nullopt},
    };
    for (const auto& [text, outcome] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(DueInput::parse(QString::fromUtf8(text), amsterdam), outcome);
    }
}

TEST(ReminderTools, ReadsPriorityWords) {
    const std::pair<const char*, std::optional<Priority>> cases[] = {
        {" High\t", Priority::high}, {"medium", Priority::medium}, {"LOW", Priority::low},   {"none", Priority::none},
        {"", Priority::none},        {"urgent", std::nullopt},     {"high\n", std::nullopt},
    };
    for (const auto& [text, priority] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ReminderTools::parsePriority(QString::fromUtf8(text)), priority);
    }
}

// A place todoman gave a to-do is the reminder's place here, by its name.
TEST(ReminderSnapshot, APlaceWrittenByTodomanIsThePlaceOfTheSnapshotAndTheRow) {
    if (!Todoman::isInstalled()) GTEST_SKIP() << Todoman::missing;
    QTemporaryDir vdir;
    const QString root = QDir::cleanPath(vdir.path());
    QDir().mkpath(root + u"/errands"_s);
    Todoman(root, u"errands"_s).run({u"new"_s, u"--location"_s, u"Hardware store"_s, u"Buy nails"_s});
    VdirEventStore store(VdirEventStore::Options{.roots = {root}});
    const std::vector<Reminder> open = store.fetchIncompleteReminders();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(tavlin::store::ReminderLocation::locationTitle(open[0]), u"Hardware store"_s);
    const SnapshotClock amsterdam(morning, calendarIn("Europe/Amsterdam"));
    const ReminderSnapshot snapshot = ReminderSnapshot::of(open[0], std::nullopt);
    EXPECT_EQ(snapshot.place, ReminderSnapshot::Place{.name = u"Hardware store"_s});
    EXPECT_TRUE(snapshot.line(amsterdam).contains(u"at Hardware store"_s)) << snapshot.line(amsterdam).toStdString();
}
