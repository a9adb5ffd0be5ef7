#include "parsing/QuickAddParser.h"
#include "parsing/RecurrenceEdit.h"
#include "parsing/ReminderEditing.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;
using platform::Reminder;

namespace {

platform::RecurrenceRule rule(platform::RecurrenceRule::Frequency frequency, int interval) {
    return {.frequency = frequency, .interval = interval};
}

platform::Alarm placeAlarm(const QString& title, double radius, platform::AlarmProximity proximity) {
    return platform::Alarm::on({.title = title, .geoLocation = platform::GeoLocation{52.37, 4.89}, .radius = radius},
                               proximity);
}

}  // namespace

TEST(ReminderEditing, QuickAddText) {
    using Frequency = platform::RecurrenceRule::Frequency;
    using platform::AlarmProximity;
    const QStringList lists = {u"Home"_s, u"Work Stuff"_s, u"📚"_s, u"home"_s};
    struct Case {
        const char* name;
        Reminder reminder;
        std::optional<QString> listTitle;
        QString line;
    };
    const Case cases[] = {
        {"all fields",
         {.title = u"Pay rent"_s,
          .dueDateComponents = platform::DateComponents{.year = 2026, .month = 4, .day = 1},
          .priority = 5,
          .recurrenceRules = {rule(Frequency::monthly, 1)}},
         u"Home"_s,
         u"Pay rent 1 Apr 2026 every month !! #home"_s},
        {"time",
         {.title = u"Call"_s,
          .dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 3, .hour = 14, .minute = 5}},
         std::nullopt,
         u"Call 3 Mar 2026 14:05"_s},
        {"minute only",
         {.title = u"Call"_s,
          .dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 3, .minute = 30}},
         std::nullopt,
         u"Call 3 Mar 2026 00:30"_s},
        {"three weeks",
         {.title = u"Run"_s, .recurrenceRules = {rule(Frequency::weekly, 3)}},
         std::nullopt,
         u"Run every 3 weeks"_s},
        {"interval 0",
         {.title = u"Run"_s, .recurrenceRules = {rule(Frequency::weekly, 0)}},
         std::nullopt,
         u"Run every week"_s},
        {"hourly", {.title = u"Run"_s, .recurrenceRules = {rule(Frequency::hourly, 2)}}, std::nullopt, u"Run"_s},
        {"leave with radius",
         {.title = u"Lock"_s, .alarms = {placeAlarm(u"Office"_s, 75.9, AlarmProximity::leave)}},
         std::nullopt,
         u"Lock when I leave @Office 75m"_s},
        {"arrive without radius",
         {.title = u"Buy"_s, .alarms = {placeAlarm(u"Shop"_s, 0, AlarmProximity::enter)}},
         std::nullopt,
         u"Buy @Shop"_s},
        {"untitled place",
         {.title = u"Buy"_s, .alarms = {placeAlarm(u""_s, 100, AlarmProximity::enter)}},
         std::nullopt,
         u"Buy"_s},
        {"priorities", {.title = u"A"_s, .priority = 9}, std::nullopt, u"A !"_s},
        {"priority 1", {.title = u"A"_s, .priority = 1}, std::nullopt, u"A !!!"_s},
        {"list not offered", {.title = u"A"_s}, u"Errands"_s, u"A"_s},
        {"list with blanks", {.title = u"A"_s}, u"Work Stuff"_s, u"A #workstuff"_s},
        {"list without a key", {.title = u"A"_s}, u"📚"_s, u"A"_s},
        {"list whose key an earlier one shares", {.title = u"A"_s}, u"home"_s, u"A"_s},
        {"radius the reader refuses",
         {.title = u"Buy"_s, .alarms = {placeAlarm(u"Shop"_s, 10, AlarmProximity::enter)}},
         std::nullopt,
         u"Buy @Shop"_s},
        {"largest radius",
         {.title = u"Buy"_s, .alarms = {placeAlarm(u"Shop"_s, 10000.5, AlarmProximity::enter)}},
         std::nullopt,
         u"Buy @Shop 10000m"_s},
        {"nothing", {}, std::nullopt, u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReminderEditing::quickAddText(c.reminder, c.listTitle, lists), c.line);
    }
}

TEST(ReminderEditing, TitlesMatch) {
    EXPECT_TRUE(ReminderEditing::titlesMatch(u"Don’t forget"_s, u"don't forget "_s));
    EXPECT_TRUE(ReminderEditing::titlesMatch(u"Café İş"_s, u"cafe is"_s));
    EXPECT_FALSE(ReminderEditing::titlesMatch(u"  "_s, u"  "_s));
    EXPECT_FALSE(ReminderEditing::titlesMatch(u""_s, u""_s));
    EXPECT_FALSE(ReminderEditing::titlesMatch(u"milk"_s, u"milks"_s));
}

TEST(RecurrenceEdit, Plan) {
    using namespace RecurrenceEdit;
    const ExistingRule weekly{RecurrenceFrequency::weekly, 1, false};
    const ExistingRule weeklyEnding{RecurrenceFrequency::weekly, 1, true};
    const ExistingRule hourly{std::nullopt, 1, true};
    struct Case {
        const char* name;
        std::vector<ExistingRule> rules;
        std::optional<RecurrenceFrequency> frequency;
        int interval;
        Change change;
    };
    const Case cases[] = {
        {"nothing either way", {}, std::nullopt, 1, Unchanged{}},
        {"new cadence", {}, RecurrenceFrequency::weekly, 2, Add{RecurrenceFrequency::weekly, 2}},
        {"same, interval 0 raised", {weekly}, RecurrenceFrequency::weekly, 0, Unchanged{}},
        {"same", {weekly}, RecurrenceFrequency::weekly, 1, Unchanged{}},
        {"other interval",
         {weekly},
         RecurrenceFrequency::weekly,
         3,
         Replace{RecurrenceFrequency::weekly, 3, false, true}},
        {"other frequency",
         {weekly},
         RecurrenceFrequency::monthly,
         1,
         Replace{RecurrenceFrequency::monthly, 1, false, false}},
        {"cadence gone", {weekly}, std::nullopt, 1, RemoveAll{}},
        {"end kept",
         {weeklyEnding},
         RecurrenceFrequency::daily,
         1,
         Replace{RecurrenceFrequency::daily, 1, true, false}},
        {"finer rule, no cadence", {hourly}, std::nullopt, 1, Unchanged{}},
        {"finer rule replaced",
         {hourly},
         RecurrenceFrequency::daily,
         2,
         Replace{RecurrenceFrequency::daily, 2, true, false}},
        {"two rules", {weekly, weekly}, std::nullopt, 1, Unchanged{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plan(c.rules, c.frequency, c.interval), c.change);
    }
}

TEST(RecurrenceEdit, EachSeriesOnceDueFirst) {
    using Frequency = platform::RecurrenceRule::Frequency;
    const auto reminder = [](QString id, QString title, std::optional<int> day) {
        Reminder r{.identifier = std::move(id),
                   .title = std::move(title),
                   .listIdentifier = u"L"_s,
                   .recurrenceRules = {rule(Frequency::weekly, 1)}};
        if (day) r.dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = *day};
        return r;
    };
    const auto dueDay = [](const Reminder& r) -> std::optional<platform::Date> {
        if (!r.dueDateComponents) return std::nullopt;
        return platform::Date::fromSecondsSince1970(*r.dueDateComponents->day * 86400.0);
    };
    const auto key = [](const Reminder& r) -> std::optional<QString> {
        if (r.recurrenceRules.empty()) return std::nullopt;
        return r.listIdentifier + u"|"_s + r.title.trimmed().toLower();
    };
    Reminder single{.identifier = u"s"_s, .title = u"One-off"_s};
    const std::vector<Reminder> all = {reminder(u"a"_s, u"Gym"_s, 9),
                                       single,
                                       reminder(u"b"_s, u" gym"_s, 2),
                                       reminder(u"c"_s, u"Read"_s, std::nullopt),
                                       reminder(u"d"_s, u"read"_s, std::nullopt),
                                       reminder(u"b"_s, u" gym"_s, 2)};
    QStringList shown;
    for (const Reminder& r : RecurrenceEdit::collapseRecurringSeries(all, dueDay, key)) shown.append(r.identifier);
    EXPECT_EQ(shown, (QStringList{u"s"_s, u"b"_s, u"c"_s}));
}

TEST(RecurrenceEdit, Labels) {
    using RecurrenceEdit::repeatsDescription;
    using RecurrenceEdit::shortLabel;
    EXPECT_EQ(repeatsDescription(RecurrenceFrequency::daily, 1), u"Repeats daily"_s);
    EXPECT_EQ(repeatsDescription(RecurrenceFrequency::weekly, 2), u"Repeats every 2 weeks"_s);
    EXPECT_EQ(shortLabel(RecurrenceFrequency::weekly, 0), u"Weekly"_s);
    EXPECT_EQ(shortLabel(RecurrenceFrequency::monthly, 12), u"Every 12 months"_s);
    EXPECT_EQ(shortLabel(RecurrenceFrequency::yearly, 1), u"Yearly"_s);
}

TEST(ReminderEditing, WrittenLinesReadBackTheSame) {
    using Frequency = platform::RecurrenceRule::Frequency;
    using platform::AlarmProximity;
    const QStringList lists = {u"Home"_s, u"Work Stuff"_s};
    const platform::Calendar calendar = platform::Calendar::current();
    const platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    struct Case {
        const char* name;
        Reminder reminder;
        std::optional<QString> listTitle;
    };
    const Case cases[] = {
        {"date and cadence",
         {.title = u"Pay rent"_s,
          .dueDateComponents = platform::DateComponents{.year = 2026, .month = 4, .day = 1},
          .priority = 5,
          .recurrenceRules = {rule(Frequency::monthly, 1)}},
         u"Home"_s},
        {"time",
         {.title = u"Call the bank"_s,
          .dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 20, .hour = 14, .minute = 5}},
         std::nullopt},
        {"early time",
         {.title = u"Run"_s,
          .dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 20, .hour = 5, .minute = 30}},
         std::nullopt},
        {"two weeks",
         {.title = u"Water plants"_s, .priority = 1, .recurrenceRules = {rule(Frequency::weekly, 2)}},
         u"Work Stuff"_s},
        {"leaving a place",
         {.title = u"Lock up"_s, .priority = 9, .alarms = {placeAlarm(u"Office"_s, 150, AlarmProximity::leave)}},
         std::nullopt},
        {"arriving",
         {.title = u"Buy milk"_s, .alarms = {placeAlarm(u"Corner Shop"_s, 0, AlarmProximity::enter)}},
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString line = ReminderEditing::quickAddText(c.reminder, c.listTitle, lists);
        const ParsedQuickAdd parsed = QuickAddParser::parse(line, {.referenceDate = reference,
                                                                   .calendar = calendar,
                                                                   .vocabulary = ParserVocabulary::english(),
                                                                   .listNames = lists,
                                                                   .isEditing = true,
                                                                   .uses24HourClock = false});
        EXPECT_EQ(parsed.title, c.reminder.title) << line.toStdString();
        std::optional<platform::DateComponents> due = c.reminder.dueDateComponents;
        EXPECT_EQ(parsed.dueDateComponents, due) << line.toStdString();
        const auto frequency = c.reminder.recurrenceRules.empty()
                                   ? std::nullopt
                                   : RecurrenceEdit::existingRule(c.reminder.recurrenceRules.front()).frequency;
        EXPECT_EQ(parsed.recurrenceFrequency, frequency);
        if (frequency) {
            EXPECT_EQ(parsed.recurrenceInterval, c.reminder.recurrenceRules.front().interval);
        }
        const auto place = ReminderEditing::alarmLocation(c.reminder);
        EXPECT_EQ(parsed.locationName, place ? std::optional(place->title) : std::nullopt);
        if (place) {
            EXPECT_EQ(parsed.locationRadius, place->radius > 0 ? std::optional(place->radius) : std::nullopt);
            EXPECT_EQ(parsed.locationTrigger == LocationTrigger::leave,
                      c.reminder.alarms.front().proximity == AlarmProximity::leave);
        }
        const platform::Priority marks = c.reminder.priority == 0   ? platform::Priority::none
                                         : c.reminder.priority <= 4 ? platform::Priority::high
                                         : c.reminder.priority == 5 ? platform::Priority::medium
                                                                    : platform::Priority::low;
        EXPECT_EQ(parsed.priority, marks);
        EXPECT_EQ(parsed.listName, c.listTitle);
    }
}
