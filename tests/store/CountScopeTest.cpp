#include "store/CountScope.h"
#include "store/DueState.h"

#include "support/Dates.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <set>

using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

const Calendar amsterdam = Calendar::gregorian(zone(u"Europe/Amsterdam"_s));

Date local(int year, int month, int day, int hour = 0, int minute = 0) {
    return wallTime("Europe/Amsterdam", year, month, day, hour, minute);
}

std::set<CountScope> scopesIncluding(const DueState& state, Date now) {
    std::set<CountScope> scopes;
    for (CountScope scope : allCountScopes)
        if (includes(scope, state, now, amsterdam)) scopes.insert(scope);
    return scopes;
}

}  // namespace

TEST(CountScopeTest, Labels) {
    struct Case {
        CountScope scope;
        int count;
        std::optional<QString> label;
    };
    const Case cases[] = {
        {CountScope::overdue, 1000, u"1000 overdue"_s},     {CountScope::today, 0, u"0 due today"_s},
        {CountScope::dueNow, 2, u"2 due by today"_s},       {CountScope::next7Days, 7, u"7 due in the next 7 days"_s},
        {CountScope::allIncomplete, 12, u"12 open"_s},      {CountScope::noDueDate, 3, u"3 undated"_s},
        {CountScope::completedToday, 1, u"1 done today"_s}, {CountScope::none, 5, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rawValue(c.scope).toStdString());
        EXPECT_EQ(label(c.scope, c.count), c.label);
    }
}

TEST(CountScopeTest, RawValuesAreTheCaseNamesExactly) {
    const QStringList names{u"overdue"_s,       u"today"_s,     u"dueNow"_s,         u"next7Days"_s,
                            u"allIncomplete"_s, u"noDueDate"_s, u"completedToday"_s, u"none"_s};
    ASSERT_EQ(names.size(), qsizetype(allCountScopes.size()));
    for (std::size_t i = 0; i < allCountScopes.size(); ++i) {
        EXPECT_EQ(rawValue(allCountScopes[i]), names[i]);
        EXPECT_EQ(countScopeFromRawValue(names[i]), allCountScopes[i]);
    }
    for (const QString& other : {u"Overdue"_s, u"overdue "_s, u""_s, u"next7days"_s}) {
        SCOPED_TRACE(other.toStdString());
        EXPECT_EQ(countScopeFromRawValue(other), std::nullopt);
    }
}

TEST(CountScopeTest, DistinctSecondary) {
    struct Case {
        CountScope primary;
        CountScope secondary;
        CountScope expected;
    };
    const Case cases[] = {
        {CountScope::today, CountScope::today, CountScope::overdue},
        {CountScope::overdue, CountScope::overdue, CountScope::today},
        {CountScope::none, CountScope::none, CountScope::overdue},
        {CountScope::completedToday, CountScope::completedToday, CountScope::overdue},
        {CountScope::overdue, CountScope::none, CountScope::none},
        {CountScope::next7Days, CountScope::today, CountScope::today},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rawValue(c.primary).toStdString() + " / " + rawValue(c.secondary).toStdString());
        EXPECT_EQ(distinctSecondary(c.primary, c.secondary), c.expected);
    }
}

TEST(CountScopeTest, WhichScopesADueStateCountsFor) {
    const Date now = local(2026, 3, 2, 10);  // a Monday
    using enum CountScope;
    struct Case {
        const char* name;
        DueState state;
        std::set<CountScope> scopes;
    };
    const Case cases[] = {
        {"overdue", DueState::overdue(), {overdue, dueNow, allIncomplete}},
        {"today", DueState::today(), {today, dueNow, next7Days, allIncomplete}},
        {"upcoming tomorrow", DueState::upcoming(local(2026, 3, 3, 9)), {next7Days, allIncomplete}},
        {"upcoming in ten days", DueState::upcoming(local(2026, 3, 12)), {allIncomplete}},
        {"none", DueState::none(), {allIncomplete, noDueDate}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scopesIncluding(c.state, now), c.scopes);
    }
}

// The week ends at the start of the day seven days after today, counted in
// calendar days, which the change to summer time does not shorten.
TEST(CountScopeTest, NextSevenDaysEndsAtTheStartOfTheSameWeekdayNextWeek) {
    struct Case {
        const char* name;
        Date now;
        Date upcoming;
        bool counts;
    };
    const Case cases[] = {
        {"Sunday, last minute", local(2026, 3, 2, 10), local(2026, 3, 8, 23, 59), true},
        {"next Monday, first instant", local(2026, 3, 2, 10), local(2026, 3, 9), false},
        {"from late on the Monday", local(2026, 3, 2, 23, 59), local(2026, 3, 8, 23, 59), true},
        {"Sunday of the change to summer time", local(2026, 3, 23, 10), local(2026, 3, 29, 23, 30), true},
        {"Monday after the change, 00:30", local(2026, 3, 23, 10), local(2026, 3, 30, 0, 30), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(includes(CountScope::next7Days, DueState::upcoming(c.upcoming), c.now, amsterdam), c.counts);
    }
}
