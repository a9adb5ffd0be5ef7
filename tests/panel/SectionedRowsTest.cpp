#include "panel/SectionedRows.h"

#include "panel/RowOrder.h"

#include "platform/TimeZone.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::platform::Calendar;
using tavlin::platform::Date;
using tavlin::platform::DateComponents;
using tavlin::platform::Reminder;
using tavlin::store::PanelSection;

namespace {

// Wednesday 4 March 2026, 10:00 in Amsterdam.
const Date wednesday = Date::fromSecondsSince1970(1772614800);
const Calendar& calendar() {
    static const Calendar amsterdam =
        Calendar::gregorian(tavlin::platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    return amsterdam;
}

DateComponents march(int day, std::optional<int> hour = std::nullopt, int minute = 0, int second = 0) {
    DateComponents components{.year = 2026, .month = 3, .day = day};
    if (hour) {
        components.hour = hour;
        components.minute = minute;
        components.second = second;
    }
    return components;
}

Reminder reminder(QString id, std::optional<DateComponents> due = std::nullopt, QString title = {}) {
    return {.identifier = id, .title = title.isEmpty() ? id : title, .dueDateComponents = due};
}

// Each section with the identifiers in it.
std::vector<std::pair<PanelSection, QStringList>> shown(const std::vector<SectionRows>& sections) {
    std::vector<std::pair<PanelSection, QStringList>> result;
    for (const SectionRows& section : sections) {
        QStringList ids;
        for (const Reminder& r : section.reminders) ids << r.identifier;
        result.emplace_back(section.section, ids);
    }
    return result;
}

struct Sections {
    std::vector<Reminder> rows;
    SectionInputs inputs{.storeNow = wednesday, .wallNow = wednesday, .calendar = &calendar()};

    std::vector<std::pair<PanelSection, QStringList>> operator()() {
        inputs.rows = &rows;
        return shown(sectionedRows(inputs));
    }
};

TEST(SectionedRows, EachReminderGoesToTheSectionOfItsDueDate) {
    Sections sections{.rows = {
                          reminder(u"none"_s),
                          reminder(u"later"_s, march(11, 0)),  // on the week's boundary
                          reminder(u"week"_s, march(10, 23, 59, 59)),
                          reminder(u"tomorrow"_s, march(5)),
                          reminder(u"today"_s, march(4)),
                          reminder(u"todayTimed"_s, march(4, 18)),
                          reminder(u"overdueTimed"_s, march(4, 9)),
                          reminder(u"overdue"_s, march(3)),
                      }};
    EXPECT_EQ(sections(), (std::vector<std::pair<PanelSection, QStringList>>{
                              {PanelSection::overdue, {u"overdueTimed"_s, u"overdue"_s}},
                              {PanelSection::today, {u"today"_s, u"todayTimed"_s}},
                              {PanelSection::tomorrow, {u"tomorrow"_s}},
                              {PanelSection::thisWeek, {u"week"_s}},
                              {PanelSection::later, {u"later"_s}},
                              {PanelSection::noDueDate, {u"none"_s}},
                          }));
}

TEST(SectionedRows, TomorrowIsTheDayAfterTheSystemsDate) {
    // Past midnight, before the store's next refresh: the store still reads
    // Wednesday, the system Thursday.
    Sections sections{.rows = {reminder(u"thursday"_s, march(5)), reminder(u"friday"_s, march(6))}};
    sections.inputs.wallNow = wednesday.addingTimeInterval(15 * 3600);
    EXPECT_EQ(sections(), (std::vector<std::pair<PanelSection, QStringList>>{
                              {PanelSection::tomorrow, {u"friday"_s}},
                              {PanelSection::thisWeek, {u"thursday"_s}},
                          }));
}

TEST(SectionedRows, ANearbyReminderIsListedUnderNearbyOnly) {
    Sections sections{.rows = {reminder(u"here"_s, march(3)), reminder(u"there"_s, march(3))}};
    EXPECT_EQ(sections().front().first, PanelSection::overdue);
    sections.inputs.nearbyIDs = {u"here"_s};
    EXPECT_EQ(sections(), (std::vector<std::pair<PanelSection, QStringList>>{
                              {PanelSection::nearby, {u"here"_s}},
                              {PanelSection::overdue, {u"there"_s}},
                          }));
}

TEST(SectionedRows, HiddenSectionsShowWhileSearching) {
    Sections sections{.rows = {reminder(u"today"_s, march(4)), reminder(u"none"_s)}};
    sections.inputs.visibility.hidden = {PanelSection::today};
    EXPECT_EQ(sections(), (std::vector<std::pair<PanelSection, QStringList>>{{PanelSection::noDueDate, {u"none"_s}}}));
    sections.inputs.queryBlank = false;
    EXPECT_EQ(sections().front(), (std::pair<PanelSection, QStringList>{PanelSection::today, {u"today"_s}}));
}

TEST(SectionedRows, TheRowOrderThenTheManualRanks) {
    // Row order here: by title.
    Sections sections{.rows = {reminder(u"c"_s), reminder(u"a"_s), reminder(u"d"_s), reminder(u"b"_s),
                               reminder(u"solo"_s, march(4))}};
    sections.inputs.rowOrder = [](const Reminder& x, double, const Reminder& y, double) { return x.title < y.title; };
    EXPECT_EQ(sections().back().second, (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    // Ranks of some: the unranked keep their places beside the ranked ones.
    sections.inputs.ranks = {{u"d"_s, 0}, {u"a"_s, 5}};
    EXPECT_EQ(sections().back().second, (QStringList{u"d"_s, u"a"_s, u"b"_s, u"c"_s}));
    // Equal ranks keep the row order.
    sections.inputs.ranks = {{u"c"_s, 1}, {u"b"_s, 1}, {u"a"_s, 1}, {u"d"_s, 0}};
    EXPECT_EQ(sections().back().second, (QStringList{u"d"_s, u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_TRUE(positionComparator(1, 2, {3, 1, 1}));
    EXPECT_FALSE(positionComparator(2, 1, {3, 1, 1}));
    EXPECT_TRUE(positionComparator(1, 0, {3, 1, 1}));
}

TEST(SectionedRows, TheRowOrderReadsEachRemindersDueInstant) {
    // Under Nearby the dated and the undated meet: the undated go last.
    Sections sections{.rows = {reminder(u"undated"_s), reminder(u"friday"_s, march(20)),
                               reminder(u"thursdayNine"_s, march(12, 9)), reminder(u"thursday"_s, march(12))}};
    sections.inputs.nearbyIDs = {u"undated"_s, u"friday"_s, u"thursdayNine"_s, u"thursday"_s};
    sections.inputs.rowOrder = [](const Reminder& a, double dueA, const Reminder& b, double dueB) {
        return rowOrder(a, Date::fromSecondsSince1970(dueA), b, Date::fromSecondsSince1970(dueB));
    };
    EXPECT_EQ(sections(), (std::vector<std::pair<PanelSection, QStringList>>{
                              {PanelSection::nearby, {u"thursday"_s, u"thursdayNine"_s, u"friday"_s, u"undated"_s}},
                          }));
}

TEST(SectionedRows, TheDoneRowsAreThoseOfTheShownListsLatestFirstAndNoneWhileSearching) {
    std::vector<Reminder> done{
        {.identifier = u"early"_s, .listIdentifier = u"L1"_s, .completionDate = wednesday.addingTimeInterval(-3600)},
        {.identifier = u"late"_s, .listIdentifier = u"L1"_s, .completionDate = wednesday},
        {.identifier = u"other"_s, .listIdentifier = u"L2"_s, .completionDate = wednesday},
    };
    const auto ids = [](const std::vector<Reminder>& rows) {
        QStringList result;
        for (const Reminder& r : rows) result << r.identifier;
        return result;
    };
    EXPECT_EQ(ids(doneTodayRows(done, {}, true)), (QStringList{u"late"_s, u"other"_s, u"early"_s}));
    EXPECT_EQ(ids(doneTodayRows(done, {u"L1"_s}, true)), (QStringList{u"late"_s, u"early"_s}));
    EXPECT_TRUE(doneTodayRows(done, {}, false).empty());
}

TEST(SectionedRows, TheEstimatedHeight) {
    const Reminder shortTitle = reminder(u"a"_s, std::nullopt, u"Buy milk"_s);
    const Reminder longTitle = reminder(u"b"_s, std::nullopt, QString(60, u'x'));
    // 48 letters, each with a combining accent: 48 characters.
    const Reminder accented = reminder(u"c"_s, std::nullopt, QString(u"e\u0301"_s).repeated(48));
    const std::vector<SectionRows> one{{PanelSection::today, {shortTitle, longTitle}}};
    EXPECT_EQ(estimatedListHeight(one, {}), 142);
    EXPECT_EQ(estimatedListHeight({}, {shortTitle}), 136);
    EXPECT_EQ(estimatedListHeight({}, {}), 60);
    EXPECT_EQ(estimatedListHeight({{PanelSection::later, {accented}}}, {}), 76);
}

TEST(SectionedRows, Titles) {
    EXPECT_EQ(sectionTitle(PanelSection::thisWeek), u"This week"_s);
    EXPECT_EQ(sectionTitle(PanelSection::noDueDate), u"No due date"_s);
    EXPECT_EQ(doneTodayTitle(), u"Done today"_s);
}

}  // namespace
