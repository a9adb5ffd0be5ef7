#include "rows/ReminderRow.h"

#include "platform/Locale.h"
#include "platform/TimeZone.h"

#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QApplication>

using namespace Qt::StringLiterals;
using namespace tavlin::rows;
using tavlin::platform::Calendar;
using tavlin::platform::Date;
using tavlin::platform::DateComponents;
using tavlin::platform::Reminder;

namespace {

// Wednesday 4 March 2026, 10:00 in Amsterdam, days and formats of en_GB.
const Date now = Date::fromSecondsSince1970(1772614800);
const Calendar& calendar() {
    static const Calendar amsterdam =
        Calendar::gregorian(tavlin::platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value(),
                            tavlin::platform::Locale(u"en_GB"_s));
    return amsterdam;
}

DateComponents march(int day, std::optional<int> hour = std::nullopt, std::optional<int> minute = std::nullopt) {
    return {.year = 2026, .month = 3, .day = day, .hour = hour, .minute = minute};
}

ReminderRowContext context() {
    return {.now = now, .calendar = &calendar(), .listTitle = [](const QString& id) -> std::optional<QString> {
                if (id == u"L1"_s) return u"Errands"_s;
                return std::nullopt;
            }};
}

TEST(ReminderRow, PriorityMarks) {
    const std::vector<std::pair<int, QString>> table{{0, {}},     {1, u"!!!"_s}, {4, u"!!!"_s}, {5, u"!!"_s},
                                                     {6, u"!"_s}, {9, u"!"_s},   {10, {}},      {-1, {}}};
    for (const auto& [priority, mark] : table) EXPECT_EQ(priorityMark(priority), mark) << priority;
}

TEST(ReminderRow, DueLabels) {
    const std::vector<std::pair<std::optional<DateComponents>, std::optional<QString>>> table{
        {std::nullopt, std::nullopt},
        {march(4), u"Today"_s},
        {march(4, 17, 30), u"17:30"_s},
        {march(4, 17), u"17:00"_s},  // an hour alone is a time
        {march(5), u"Tomorrow"_s},
        {march(5, 9, 5), u"Tomorrow 09:05"_s},
        {march(3), u"Yesterday"_s},
        {march(3, 8, 0), u"Yesterday 08:00"_s},
        {march(9), u"Mon, 9 Mar"_s},
        {DateComponents{.year = 2027, .month = 1, .day = 15, .hour = 7, .minute = 45}, u"Fri, 15 Jan 07:45"_s},
    };
    for (const auto& [components, label] : table)
        EXPECT_EQ(dueLabel(components, now, calendar()), label)
            << (components ? components->description().toStdString() : "none");
}

TEST(ReminderRow, TheDueTextFollowsTheLocale) {
    const Calendar american = Calendar::gregorian(calendar().timeZone(), tavlin::platform::Locale(u"en_US"_s));
    EXPECT_EQ(dueLabel(march(9, 17, 0), now, american), u"Mon, Mar 9 5:00\u202FPM"_s);
}

TEST(ReminderRow, TheRepeatTextIsThatOfTheFirstDailyToYearlyRule) {
    using Frequency = tavlin::platform::RecurrenceRule::Frequency;
    Reminder reminder;
    EXPECT_EQ(repeatsText(reminder), std::nullopt);
    reminder.recurrenceRules = {{.frequency = Frequency::weekly, .interval = 2}, {.frequency = Frequency::daily}};
    EXPECT_EQ(repeatsText(reminder), u"Repeats every 2 weeks"_s);
    reminder.recurrenceRules = {{.frequency = Frequency::yearly}};
    EXPECT_EQ(repeatsText(reminder), u"Repeats yearly"_s);
    reminder.recurrenceRules = {{.frequency = Frequency::hourly}, {.frequency = Frequency::daily}};
    EXPECT_EQ(repeatsText(reminder), std::nullopt);
}

TEST(ReminderRow, SummarySeparatorsNeverFlankTheOverduePill) {
    using Kind = SummaryElement::Kind;
    const auto kinds = [](const std::vector<SummaryElement>& elements) {
        std::vector<Kind> result;
        for (const SummaryElement& element : elements) result.push_back(element.kind);
        return result;
    };
    const std::optional<QString> place = u"Office"_s, due = u"Today"_s, repeat = u"Repeats daily"_s, list = u"Work"_s,
                                 none;
    const std::vector<std::tuple<std::optional<QString>, std::optional<QString>, std::optional<QString>,
                                 std::optional<QString>, bool, std::vector<Kind>>>
        table{
            {none, none, none, none, false, {}},
            {place,
             due,
             repeat,
             list,
             false,
             {Kind::place, Kind::separator, Kind::due, Kind::separator, Kind::repeat, Kind::separator, Kind::list}},
            {place, due, none, list, true, {Kind::place, Kind::overduePill, Kind::list}},
            {none, due, repeat, none, true, {Kind::overduePill, Kind::repeat}},
            {place, none, none, list, false, {Kind::place, Kind::separator, Kind::list}},
            {none, none, repeat, list, false, {Kind::repeat, Kind::separator, Kind::list}},
            {place, none, none, none, false, {Kind::place}},
        };
    for (const auto& [p, d, r, l, overdue, expected] : table)
        EXPECT_EQ(kinds(summaryElements(p, d, r, l, overdue)), expected);
    EXPECT_EQ(summaryElements(none, none, none, list, false).front().text, u"Work"_s);
}

TEST(ReminderRow, WhatTheRowShows) {
    Reminder reminder{.identifier = u"a"_s,
                      .title = u"Send the invoice"_s,
                      .notes = u" \n  call first \n\n"_s,
                      .listIdentifier = u"L1"_s,
                      .dueDateComponents = march(3, 9, 0),
                      .priority = 5};
    reminder.alarms = {tavlin::platform::Alarm::on({.title = u"Office"_s}, tavlin::platform::AlarmProximity::enter)};
    const ReminderRowPresentation open = reminderRowPresentation(reminder, false, context());
    EXPECT_EQ(open.text.priorityMark, u"!!"_s);
    EXPECT_EQ(open.text.notes, u"call first"_s);
    EXPECT_TRUE(open.overdue);
    EXPECT_EQ(open.summary, (std::vector<SummaryElement>{{SummaryElement::Kind::place, u"Office"_s},
                                                         {SummaryElement::Kind::overduePill, u"Yesterday 09:00"_s},
                                                         {SummaryElement::Kind::list, u"Errands"_s}}));
    // Done, it is never overdue.
    const ReminderRowPresentation done = reminderRowPresentation(reminder, true, context());
    EXPECT_FALSE(done.overdue);
    EXPECT_EQ(done.summary.size(), 5u);

    // Blank notes, no list known, nothing else: no notes and no summary.
    const Reminder bare{.identifier = u"b"_s, .notes = u"  \n "_s, .listIdentifier = u"gone"_s};
    const ReminderRowPresentation empty = reminderRowPresentation(bare, false, context());
    EXPECT_EQ(empty.text, (ReminderRowText{}));
    EXPECT_TRUE(empty.summary.empty());
}

TEST(ReminderRow, TheCheckboxSaysWhatItDoes) {
    EXPECT_EQ(checkboxAccessibleName(false, false), u"Complete reminder"_s);
    EXPECT_EQ(checkboxAccessibleName(false, true), u"Completing"_s);
    EXPECT_EQ(checkboxAccessibleName(true, true), u"Mark as not done"_s);
}

TEST(ReminderRow, HeightsFollowTheTextAndTheClicksFallOnTheCheckboxOrTheText) {
    const ReminderRowPainter painter(QApplication::font());
    const ReminderRowText title{.title = u"Water the plants"_s};
    ReminderRowText summary = title;
    summary.hasSummary = true;
    ReminderRowText notes = summary;
    notes.notes = u"Only the ones on the balcony"_s;
    const double plain = painter.height(title, 440);
    EXPECT_GT(painter.height(summary, 440), plain);
    EXPECT_GT(painter.height(notes, 440), painter.height(summary, 440));
    // Titles wrap to three lines at most, notes to two.
    ReminderRowText longer = title;
    longer.title = QString(u"word "_s).repeated(200);
    const double threeLines = painter.height(longer, 200);
    EXPECT_GT(threeLines, plain);
    longer.title = QString(u"word "_s).repeated(400);
    EXPECT_EQ(painter.height(longer, 200), threeLines);
    // One word too long for a line breaks anywhere; other scripts as Qt lays them out.
    longer.title = QString(500, u'x');
    EXPECT_EQ(painter.height(longer, 200), threeLines);
    longer.title = QString(u"слово "_s).repeated(200);
    EXPECT_EQ(painter.height(longer, 200), threeLines);

    const QRectF row(0, 0, 440, plain);
    const QRectF checkbox = painter.checkboxRect(title, row);
    EXPECT_EQ(checkbox.size(), QSizeF(24, 24));
    EXPECT_EQ(painter.hitTest(title, row, checkbox.center()), ReminderRowPart::checkbox);
    EXPECT_EQ(painter.hitTest(title, row, checkbox.topLeft() + QPointF(1, 1)), ReminderRowPart::checkbox);
    EXPECT_EQ(painter.hitTest(title, row, QPointF(checkbox.right() + 20, checkbox.center().y())),
              ReminderRowPart::text);
    // The empty room after the text selects too.
    EXPECT_EQ(painter.hitTest(title, row, QPointF(430, plain - 2)), ReminderRowPart::text);
    EXPECT_EQ(painter.hitTest(title, row, QPointF(4, plain / 2)), ReminderRowPart::none);
    EXPECT_EQ(painter.hitTest(title, row, QPointF(200, plain + 1)), ReminderRowPart::none);
}

}  // namespace
