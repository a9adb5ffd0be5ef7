#include "platform/Calendar.h"
#include "platform/DateComponents.h"

#include "support/Dates.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tavlin::platform;

namespace {

TEST(TimeZoneTest, KnowsOnlyIcuZones) {
    EXPECT_EQ(zone("Europe/Amsterdam").identifier(), "Europe/Amsterdam");
    EXPECT_FALSE(TimeZone::fromIdentifier("Europe/Atlantis"));
    EXPECT_FALSE(TimeZone::fromIdentifier(""));
    EXPECT_FALSE(TimeZone::fromIdentifier("Etc/Unknown"));
}

TEST(TimeZoneTest, ReadsTheFormsOfTZ) {
    struct Case {
        QString value;
        std::optional<QString> identifier;
    };
    const Case cases[] = {
        {"Europe/Amsterdam", "Europe/Amsterdam"},
        {":Europe/Amsterdam", "Europe/Amsterdam"},
        {"/usr/share/zoneinfo/Europe/Amsterdam", "Europe/Amsterdam"},
        {":/usr/share/zoneinfo/America/New_York", "America/New_York"},
        {"UTC", "UTC"},
        {"Nowhere/Special", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        const std::optional<TimeZone> found = TimeZone::fromTZVariable(c.value);
        EXPECT_EQ(found ? std::optional(found->identifier()) : std::nullopt, c.identifier);
    }
}

TEST(TimeZoneTest, OffsetsAcrossTheYear) {
    const TimeZone amsterdam = zone("Europe/Amsterdam");
    EXPECT_EQ(amsterdam.secondsFromGMT(utc(2026, 1, 15, 12)), 3600);
    EXPECT_FALSE(amsterdam.isDaylightSavingTime(utc(2026, 1, 15, 12)));
    EXPECT_EQ(amsterdam.secondsFromGMT(utc(2026, 7, 15, 12)), 7200);
    EXPECT_TRUE(amsterdam.isDaylightSavingTime(utc(2026, 7, 15, 12)));
    // The change itself, at 01:00 UTC on the last Sunday of March.
    EXPECT_EQ(amsterdam.secondsFromGMT(utc(2026, 3, 29, 0, 59, 59)), 3600);
    EXPECT_EQ(amsterdam.secondsFromGMT(utc(2026, 3, 29, 1)), 7200);
}

TEST(DateTest, ConvertsToAndFromQt) {
    const Date date = Date::fromSecondsSince1970(1'772'614'800.25);
    EXPECT_EQ(date.toQDateTime().toMSecsSinceEpoch(), 1'772'614'800'250);
    EXPECT_EQ(Date::fromQDateTime(date.toQDateTime()), date);
    EXPECT_EQ(utc(2026, 3, 4, 9).secondsSince1970(), 1'772'614'800);
}

// Calendar arithmetic in Europe/Amsterdam, where 2026-03-29 skips 02:00–03:00
// (at 01:00 UTC) and 2026-10-25 repeats 02:00–03:00 (from 00:00 UTC).
class AmsterdamTest : public testing::Test {
protected:
    // An unambiguous wall time in Amsterdam.
    static Date local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
        return wallTime("Europe/Amsterdam", year, month, day, hour, minute, second);
    }

    const TimeZone amsterdam = zone("Europe/Amsterdam");
    const Calendar calendar = Calendar::gregorian(amsterdam, Locale("de_DE"));
};

// date() reads components leniently; isValidDate() says whether they name an
// existing date as they stand.
TEST_F(AmsterdamTest, DateFromComponents) {
    struct Case {
        const char* name;
        DateComponents components;
        Date date;
        bool valid;
    };
    const Case cases[] = {
        {"plain", {.year = 2026, .month = 3, .day = 4, .hour = 10, .minute = 15}, utc(2026, 3, 4, 9, 15), true},
        {"summer", {.year = 2026, .month = 7, .day = 1, .hour = 10}, utc(2026, 7, 1, 8), true},
        {"skipped wall time takes the later offset",
         {.year = 2026, .month = 3, .day = 29, .hour = 2, .minute = 30},
         utc(2026, 3, 29, 1, 30),
         true},
        {"repeated wall time takes the first",
         {.year = 2026, .month = 10, .day = 25, .hour = 2, .minute = 30},
         utc(2026, 10, 25, 0, 30),
         true},
        {"nothing is the epoch day", {}, local(1970, 1, 1), true},
        {"a year alone is its first day", {.year = 2026}, local(2026, 1, 1), true},
        {"the components' zone wins",
         {.timeZone = zone("Asia/Tokyo"), .year = 2026, .month = 3, .day = 4, .hour = 10},
         utc(2026, 3, 4, 1),
         true},
        {"nanoseconds",
         {.year = 2026, .month = 3, .day = 4, .hour = 10, .nanosecond = 250'000'000},
         utc(2026, 3, 4, 9).addingTimeInterval(0.25),
         true},
        {"ISO week and weekday", {.weekday = 4, .weekOfYear = 10, .yearForWeekOfYear = 2026}, local(2026, 3, 4), true},
        {"second Tuesday of March",
         {.year = 2026, .month = 3, .weekday = 3, .weekdayOrdinal = 2},
         local(2026, 3, 10),
         true},
        {"year, month and day win over week fields",
         {.year = 2026, .month = 3, .day = 4, .weekday = 1, .weekOfYear = 20},
         local(2026, 3, 4),
         true},
        {"29 February of a leap year", {.year = 2028, .month = 2, .day = 29}, local(2028, 2, 29), true},
        {"29 February of another year", {.year = 2026, .month = 2, .day = 29}, local(2026, 3, 1), false},
        {"30 February", {.year = 2026, .month = 2, .day = 30}, local(2026, 3, 2), false},
        {"31 April", {.year = 2026, .month = 4, .day = 31}, local(2026, 5, 1), false},
        {"day 0", {.year = 2026, .month = 4, .day = 0}, local(2026, 3, 31), false},
        {"day 32", {.year = 2026, .month = 1, .day = 32}, local(2026, 2, 1), false},
        {"month 13", {.year = 2026, .month = 13, .day = 1}, local(2027, 1, 1), false},
        {"hour 24", {.year = 2026, .month = 3, .day = 4, .hour = 24}, local(2026, 3, 5), false},
        {"minute 60", {.year = 2026, .month = 3, .day = 4, .hour = 10, .minute = 60}, local(2026, 3, 4, 11), false},
        {"second 60", {.year = 2026, .month = 3, .day = 4, .second = 60}, local(2026, 3, 4, 0, 1), false},
        {"weekday 8", {.year = 2026, .month = 3, .day = 4, .weekday = 8}, local(2026, 3, 4), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(calendar.date(c.components), c.date) << c.components;
        EXPECT_EQ(calendar.isValidDate(c.components), c.valid) << c.components;
    }
}

// Past a few million years ICU overflows silently and answers some other date.
TEST_F(AmsterdamTest, NothingBeyondAMillionYears) {
    EXPECT_FALSE(calendar.date({.year = 2'000'000'000, .month = 1, .day = 1}));
    EXPECT_FALSE(calendar.date({.year = 2026, .month = 2'000'000'000}));
    EXPECT_FALSE(calendar.isValidDate({.year = 2'000'000'000, .month = 1, .day = 1}));
    EXPECT_FALSE(calendar.dateByAdding(CalendarComponent::Year, 2'000'000'000, local(2026, 3, 4)));
    EXPECT_FALSE(calendar.dateByAdding(CalendarComponent::WeekOfYear, 2'000'000'000, local(2026, 3, 4)));

    const auto farAway = calendar.date({.year = 1'000'000, .month = 1, .day = 1});
    ASSERT_TRUE(farAway);
    EXPECT_EQ(calendar.component(CalendarComponent::Year, *farAway), 1'000'000);
    const auto manyDays = calendar.dateByAdding(CalendarComponent::Day, 300'000'000, local(2026, 3, 4));
    ASSERT_TRUE(manyDays);
    // Give or take the hour of summer time.
    EXPECT_NEAR(manyDays->timeIntervalSince(local(2026, 3, 4)), 300'000'000 * 86400.0, 3600);
}

TEST(CalendarTest, ProlepticGregorianBeforeTheJulianCutover) {
    const Calendar calendar = Calendar::gregorian(TimeZone::gmt());
    // The Julian calendar jumps from 4 to 15 October 1582; this one counts every day.
    const auto fourth = calendar.date({.year = 1582, .month = 10, .day = 4});
    const auto tenth = calendar.date({.year = 1582, .month = 10, .day = 10});
    ASSERT_TRUE(fourth && tenth);
    EXPECT_EQ(tenth->timeIntervalSince(*fourth), 6 * 86400.0);
    EXPECT_FALSE(calendar.isValidDate({.year = 1500, .month = 2, .day = 29}));  // a Julian leap day only
    EXPECT_EQ(calendar.component(CalendarComponent::Weekday, *calendar.date({.year = 1000, .month = 1, .day = 1})), 4);
}

TEST_F(AmsterdamTest, ComponentsOfADate) {
    const CalendarComponents wanted = CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day |
                                      CalendarComponent::Hour | CalendarComponent::Minute | CalendarComponent::Weekday |
                                      CalendarComponent::TimeZone;
    const DateComponents expected{
        .timeZone = amsterdam, .year = 2026, .month = 3, .day = 29, .hour = 3, .minute = 30, .weekday = 1};
    EXPECT_EQ(calendar.dateComponents(wanted, utc(2026, 3, 29, 1, 30)), expected);

    const DateComponents withCalendar = calendar.dateComponents(CalendarComponent::Calendar, utc(2026, 3, 4));
    EXPECT_EQ(withCalendar, DateComponents{.calendar = calendar});
    EXPECT_EQ(calendar.component(CalendarComponent::Nanosecond, utc(2026, 3, 4).addingTimeInterval(0.25)), 250'000'000);
    EXPECT_EQ(calendar.component(CalendarComponent::Era, utc(2026, 3, 4)), 1);
}

TEST(CalendarTest, WeekOfYearFollowsTheWeekRules) {
    // Sunday 1 March 2026: week 10 where weeks start on Sunday, ISO week 9.
    const Date sunday = utc(2026, 3, 1, 12);
    const Calendar american = Calendar::gregorian(zone("Europe/Amsterdam"), Locale("en_US"));
    const Calendar german = Calendar::gregorian(zone("Europe/Amsterdam"), Locale("de_DE"));
    EXPECT_EQ(american.component(CalendarComponent::WeekOfYear, sunday), 10);
    EXPECT_EQ(german.component(CalendarComponent::WeekOfYear, sunday), 9);
    // 1 January 2027 is a Friday: ISO counts it in week 53 of 2026.
    const DateComponents isoWeek = german.dateComponents(
        CalendarComponent::WeekOfYear | CalendarComponent::YearForWeekOfYear, utc(2027, 1, 1, 12));
    EXPECT_EQ(isoWeek, (DateComponents{.weekOfYear = 53, .yearForWeekOfYear = 2026}));
}

TEST(CalendarTest, WeekRulesAreSettable) {
    Calendar calendar = Calendar::gregorian(TimeZone::gmt(), Locale("en_US"));
    calendar.setFirstWeekday(2);
    calendar.setMinimumDaysInFirstWeek(4);
    EXPECT_NE(calendar, Calendar::gregorian(TimeZone::gmt(), Locale("en_US")));
    EXPECT_EQ(calendar.component(CalendarComponent::WeekOfYear, utc(2026, 3, 1, 12)), 9);
    calendar.setFirstWeekday(0);  // out of range: kept as it was
    EXPECT_EQ(calendar.firstWeekday(), 2);
}

TEST_F(AmsterdamTest, Adding) {
    struct Case {
        const char* name;
        Date start;
        DateComponents amounts;
        bool wrapping;
        Date expected;
    };
    const Case cases[] = {
        {"a day across spring forward keeps the wall time",
         local(2026, 3, 28, 10),
         {.day = 1},
         false,
         local(2026, 3, 29, 10)},
        {"24 hours across spring forward do not", local(2026, 3, 28, 10), {.hour = 24}, false, local(2026, 3, 29, 11)},
        {"a day across fall back keeps the wall time",
         local(2026, 10, 24, 10),
         {.day = 1},
         false,
         local(2026, 10, 25, 10)},
        {"a day onto a skipped wall time", local(2026, 3, 28, 2, 30), {.day = 1}, false, utc(2026, 3, 29, 1, 30)},
        {"31 January + 1 month", local(2026, 1, 31, 9), {.month = 1}, false, local(2026, 2, 28, 9)},
        {"31 January + 1 month in a leap year", local(2028, 1, 31, 9), {.month = 1}, false, local(2028, 2, 29, 9)},
        {"29 February + 1 year", local(2028, 2, 29, 9), {.year = 1}, false, local(2029, 2, 28, 9)},
        {"minus a month", local(2026, 3, 31, 9), {.month = -1}, false, local(2026, 2, 28, 9)},
        {"largest first", local(2026, 1, 31, 9), {.month = 1, .day = 1}, false, local(2026, 3, 1, 9)},
        {"a week", local(2026, 3, 4, 9), {.weekOfYear = 1}, false, local(2026, 3, 11, 9)},
        {"wrapping hours stay in the day", local(2026, 3, 4, 23), {.hour = 2}, true, local(2026, 3, 4, 1)},
        {"wrapping days stay in the month", local(2026, 3, 30, 9), {.day = 3}, true, local(2026, 3, 2, 9)},
        {"nanoseconds",
         local(2026, 3, 4, 9),
         {.nanosecond = 500'000'000},
         false,
         local(2026, 3, 4, 9).addingTimeInterval(0.5)},
        {"wrapping nanoseconds stay in the second",
         local(2026, 3, 4, 9).addingTimeInterval(0.75),
         {.nanosecond = 500'000'000},
         true,
         local(2026, 3, 4, 9).addingTimeInterval(0.25)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(calendar.dateByAdding(c.amounts, c.start, c.wrapping), c.expected);
    }
}

TEST_F(AmsterdamTest, AddingOneComponent) {
    EXPECT_EQ(calendar.dateByAdding(CalendarComponent::Month, 1, local(2026, 1, 31, 9)), local(2026, 2, 28, 9));
    EXPECT_EQ(calendar.dateByAdding(CalendarComponent::Hour, 2, local(2026, 3, 4, 23), true), local(2026, 3, 4, 1));
    EXPECT_FALSE(calendar.dateByAdding(CalendarComponent::TimeZone, 1, local(2026, 3, 4)));
}

TEST_F(AmsterdamTest, StartOfDay) {
    EXPECT_EQ(calendar.startOfDay(local(2026, 3, 4, 15, 20)), local(2026, 3, 4));
    EXPECT_EQ(calendar.startOfDay(local(2026, 3, 29, 12)), utc(2026, 3, 28, 23));
    EXPECT_EQ(calendar.startOfDay(local(2026, 10, 25, 23, 59)), utc(2026, 10, 24, 22));
    // 00:30 local is still 3 March in UTC.
    EXPECT_EQ(calendar.startOfDay(utc(2026, 3, 3, 23, 30)), local(2026, 3, 4));
}

TEST(CalendarTest, StartOfADayWhoseMidnightIsSkipped) {
    // São Paulo moved its clocks from 00:00 to 01:00 on 4 November 2018.
    const Calendar calendar = Calendar::gregorian(zone("America/Sao_Paulo"));
    EXPECT_EQ(calendar.startOfDay(utc(2018, 11, 4, 15)), utc(2018, 11, 4, 3));
    const auto day = calendar.dateInterval(CalendarComponent::Day, utc(2018, 11, 4, 15));
    ASSERT_TRUE(day);
    EXPECT_EQ(day->duration, 23 * 3600.0);
}

TEST_F(AmsterdamTest, SameDay) {
    EXPECT_TRUE(calendar.isDateInSameDay(utc(2026, 3, 3, 23, 30), local(2026, 3, 4, 23, 59)));
    EXPECT_FALSE(calendar.isDateInSameDay(local(2026, 3, 4, 23, 59), local(2026, 3, 5, 0, 1)));
    EXPECT_TRUE(calendar.isDateInSameDay(utc(2026, 10, 25, 0, 30), utc(2026, 10, 25, 1, 30)));
}

TEST_F(AmsterdamTest, TodayAndTomorrowFollowTheClock) {
    const Date now = Date::now();
    EXPECT_TRUE(calendar.isDateInToday(now));
    EXPECT_FALSE(calendar.isDateInTomorrow(now));
    const Date inTwoDays = *calendar.dateByAdding(CalendarComponent::Day, 2, now);
    EXPECT_FALSE(calendar.isDateInToday(inTwoDays));
    EXPECT_FALSE(calendar.isDateInTomorrow(inTwoDays));
    EXPECT_TRUE(calendar.isDateInTomorrow(*calendar.dateByAdding(CalendarComponent::Day, 1, now)));
}

TEST(CalendarTest, IntervalsFollowTheZoneAndWeekRules) {
    struct Case {
        const char* name;
        const char* locale;
        CalendarComponent of;
        Date date;
        Date start;
        double hours;
    };
    // Wednesday 4 March 2026; the clocks change on Sundays 29 March and 25 October.
    const Case cases[] = {
        {"US week starts on Sunday", "en_US", CalendarComponent::WeekOfYear, utc(2026, 3, 4, 12), utc(2026, 2, 28, 23),
         7 * 24},
        {"German week starts on Monday", "de_DE", CalendarComponent::WeekOfYear, utc(2026, 3, 4, 12),
         utc(2026, 3, 1, 23), 7 * 24},
        {"German week of spring forward", "de_DE", CalendarComponent::WeekOfYear, utc(2026, 3, 29, 12),
         utc(2026, 3, 22, 23), 7 * 24 - 1},
        {"US week from spring forward", "en_US", CalendarComponent::WeekOfYear, utc(2026, 3, 29, 12),
         utc(2026, 3, 28, 23), 7 * 24 - 1},
        {"German week of fall back", "de_DE", CalendarComponent::WeekOfYear, utc(2026, 10, 25, 12),
         utc(2026, 10, 18, 22), 7 * 24 + 1},
        {"week across a year", "de_DE", CalendarComponent::WeekOfYear, utc(2027, 1, 1, 12), utc(2026, 12, 27, 23),
         7 * 24},
        {"day of spring forward", "de_DE", CalendarComponent::Day, utc(2026, 3, 29, 12), utc(2026, 3, 28, 23), 23},
        {"day of fall back", "de_DE", CalendarComponent::Day, utc(2026, 10, 25, 12), utc(2026, 10, 24, 22), 25},
        {"March", "de_DE", CalendarComponent::Month, utc(2026, 3, 4, 12), utc(2026, 2, 28, 23), 31 * 24 - 1},
        {"February of a leap year", "de_DE", CalendarComponent::Month, utc(2028, 2, 10), utc(2028, 1, 31, 23), 29 * 24},
        {"a year", "de_DE", CalendarComponent::Year, utc(2026, 3, 4, 12), utc(2025, 12, 31, 23), 365 * 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Calendar calendar = Calendar::gregorian(zone("Europe/Amsterdam"), Locale(c.locale));
        EXPECT_EQ(calendar.dateInterval(c.of, c.date), (DateInterval{c.start, c.hours * 3600}));
    }
}

TEST_F(AmsterdamTest, IntervalsOnlyForDaysWeeksMonthsAndYears) {
    EXPECT_FALSE(calendar.dateInterval(CalendarComponent::Hour, local(2026, 3, 4)));
    EXPECT_FALSE(calendar.dateInterval(CalendarComponent::Weekday, local(2026, 3, 4)));
}

TEST_F(AmsterdamTest, SettingTheHour) {
    struct Case {
        const char* name;
        Date date;
        int hour, minute, second;
        MatchingPolicy policy;
        RepeatedTimePolicy repeated;
        std::optional<Date> expected;
    };
    using enum MatchingPolicy;
    using enum RepeatedTimePolicy;
    const Case cases[] = {
        {"same day", local(2026, 3, 4, 15), 10, 30, 0, nextTime, first, local(2026, 3, 4, 10, 30)},
        {"the local day, not the UTC one", utc(2026, 3, 4, 23, 30), 8, 0, 0, nextTime, first, local(2026, 3, 5, 8)},
        {"skipped, next time", local(2026, 3, 29, 12), 2, 30, 0, nextTime, first, utc(2026, 3, 29, 1)},
        {"skipped, strict", local(2026, 3, 29, 12), 2, 30, 0, strict, first, std::nullopt},
        {"after the gap, strict", local(2026, 3, 29, 12), 3, 0, 0, strict, first, utc(2026, 3, 29, 1)},
        {"repeated, first", local(2026, 10, 25, 12), 2, 30, 0, nextTime, first, utc(2026, 10, 25, 0, 30)},
        {"repeated, last", local(2026, 10, 25, 12), 2, 30, 0, strict, last, utc(2026, 10, 25, 1, 30)},
        {"hour 24", local(2026, 3, 4), 24, 0, 0, nextTime, first, std::nullopt},
        {"minute 60", local(2026, 3, 4), 10, 60, 0, nextTime, first, std::nullopt},
        {"second -1", local(2026, 3, 4), 10, 0, -1, nextTime, first, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(calendar.dateBySettingHour(c.hour, c.minute, c.second, c.date, c.policy, c.repeated), c.expected);
    }
}

TEST_F(AmsterdamTest, NextDate) {
    struct Case {
        const char* name;
        Date after;
        DateComponents matching;
        MatchingPolicy policy;
        RepeatedTimePolicy repeated;
        std::optional<Date> expected;
    };
    using enum MatchingPolicy;
    using enum RepeatedTimePolicy;
    // 4 March 2026 is a Wednesday, 6 March a Friday.
    const Case cases[] = {
        {"a day number", local(2026, 3, 4, 10), {.day = 5}, strict, first, local(2026, 3, 5)},
        {"the 31st, strict, skips April", local(2026, 4, 1), {.day = 31}, strict, first, local(2026, 5, 31)},
        {"the 31st, next time, takes the day after April",
         local(2026, 4, 1),
         {.day = 31},
         nextTime,
         first,
         local(2026, 5, 1)},
        {"a weekday", local(2026, 3, 4, 10), {.weekday = 6}, nextTime, first, local(2026, 3, 6)},
        {"a weekday from the very start of that weekday",
         local(2026, 3, 6),
         {.weekday = 6},
         nextTime,
         first,
         local(2026, 3, 13)},
        {"an hour later today", local(2026, 3, 4, 8, 59), {.hour = 9}, strict, first, local(2026, 3, 4, 9)},
        {"an hour tomorrow", local(2026, 3, 4, 9), {.hour = 9}, strict, first, local(2026, 3, 5, 9)},
        {"a minute in any hour", local(2026, 3, 4, 10, 40), {.minute = 30}, strict, first, local(2026, 3, 4, 11, 30)},
        {"a second in any minute",
         local(2026, 3, 4, 10, 40, 30),
         {.second = 10},
         strict,
         first,
         local(2026, 3, 4, 10, 41, 10)},
        {"weekday and time",
         local(2026, 3, 6, 9),
         {.hour = 9, .minute = 15, .weekday = 6},
         strict,
         first,
         local(2026, 3, 6, 9, 15)},
        {"month and day", local(2026, 3, 4), {.month = 1, .day = 1}, strict, first, local(2027, 1, 1)},
        {"29 February", local(2026, 3, 1), {.month = 2, .day = 29}, strict, first, local(2028, 2, 29)},
        {"a year", local(2026, 3, 4), {.year = 2030}, strict, first, local(2030, 1, 1)},
        {"beyond eight years", local(2026, 3, 4), {.year = 2040}, strict, first, std::nullopt},
        {"a past year", local(2026, 3, 4), {.year = 2020}, strict, first, std::nullopt},
        {"second Tuesday", local(2026, 3, 4), {.weekday = 3, .weekdayOrdinal = 2}, strict, first, local(2026, 3, 10)},
        {"skipped time, next time",
         local(2026, 3, 28, 12),
         {.hour = 2, .minute = 30},
         nextTime,
         first,
         utc(2026, 3, 29, 1)},
        {"skipped time, strict",
         local(2026, 3, 28, 12),
         {.hour = 2, .minute = 30},
         strict,
         first,
         local(2026, 3, 30, 2, 30)},
        {"repeated time, first",
         local(2026, 10, 24, 12),
         {.hour = 2, .minute = 30},
         strict,
         first,
         utc(2026, 10, 25, 0, 30)},
        {"repeated time, last",
         local(2026, 10, 24, 12),
         {.hour = 2, .minute = 30},
         strict,
         last,
         utc(2026, 10, 25, 1, 30)},
        {"repeated time, first, already passed",
         utc(2026, 10, 25, 0, 30),
         {.hour = 2, .minute = 30},
         strict,
         first,
         local(2026, 10, 26, 2, 30)},
        {"repeated time, last, from the first 02:45",
         utc(2026, 10, 25, 0, 45),
         {.hour = 2, .minute = 30},
         strict,
         last,
         utc(2026, 10, 25, 1, 30)},
        {"nothing to match", local(2026, 3, 4), {}, strict, first, std::nullopt},
        {"a day no month has", local(2026, 3, 4), {.day = 32}, nextTime, first, std::nullopt},
        {"hour out of range", local(2026, 3, 4), {.hour = 24}, nextTime, first, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(calendar.nextDate(c.after, c.matching, c.policy, c.repeated), c.expected) << c.matching;
    }
}

TEST(DateComponentsTest, AnAbsentFieldDiffersFromZero) {
    EXPECT_NE(DateComponents{}, DateComponents{.hour = 0});
    EXPECT_EQ((DateComponents{.year = 2026, .hour = 0}), (DateComponents{.year = 2026, .hour = 0}));
    EXPECT_EQ(DateComponents{.timeZone = zone("Europe/Amsterdam")},
              DateComponents{.timeZone = zone("Europe/Amsterdam")});
    EXPECT_NE(DateComponents{.timeZone = zone("Europe/Amsterdam")}, DateComponents{.timeZone = zone("Europe/Berlin")});
    EXPECT_NE(DateComponents{.calendar = Calendar::gregorian(TimeZone::gmt(), Locale("en_US"))},
              DateComponents{.calendar = Calendar::gregorian(TimeZone::gmt(), Locale("de_DE"))});
}

TEST(DateComponentsTest, DescriptionShowsTheGivenFields) {
    const DateComponents components{.timeZone = zone("Europe/Amsterdam"), .year = 2026, .month = 3, .hour = 0};
    EXPECT_EQ(components.description(), "{year: 2026, month: 3, hour: 0, timeZone: Europe/Amsterdam}");
    EXPECT_EQ(DateComponents{}.description(), "{}");
}

}  // namespace
