#pragma once

#include "platform/Date.h"
#include "platform/Locale.h"
#include "platform/TimeZone.h"

#include <QFlags>

#include <memory>
#include <optional>

#include <unicode/uversion.h>

// ICU names its namespace by version; "icu" is only an alias.
U_NAMESPACE_BEGIN
class Calendar;
U_NAMESPACE_END

namespace tavlin::platform {

struct DateComponents;

enum class CalendarComponent : unsigned {
    Era = 1u << 0,
    Year = 1u << 1,
    Month = 1u << 2,
    Day = 1u << 3,
    Hour = 1u << 4,
    Minute = 1u << 5,
    Second = 1u << 6,
    Nanosecond = 1u << 7,
    Weekday = 1u << 8,         // 1 = Sunday … 7 = Saturday
    WeekdayOrdinal = 1u << 9,  // 2 for the second Tuesday of a month
    WeekOfMonth = 1u << 10,
    WeekOfYear = 1u << 11,
    YearForWeekOfYear = 1u << 12,
    TimeZone = 1u << 13,  // dateComponents() fills in the calendar's zone
    Calendar = 1u << 14,  // dateComponents() fills in the calendar itself
};
Q_DECLARE_FLAGS(CalendarComponents, CalendarComponent)
Q_DECLARE_OPERATORS_FOR_FLAGS(CalendarComponents)

// What to do when the wanted wall time does not exist on a day.
enum class MatchingPolicy {
    nextTime,  // take the next time that exists (02:30 on a spring-forward night → 03:00)
    strict,    // only an exact match counts; look further on
};
// Which of two equal wall times to take on a fall-back night.
enum class RepeatedTimePolicy { first, last };

// The proleptic Gregorian calendar in a time zone, with the week rules of a
// locale. A value: copies are independent, and every operation is const and
// works on its own ICU calendar, so one Calendar may be shared by threads.
class Calendar {
public:
    // The user's calendar: TimeZone::current(), and the first weekday and
    // minimal days of the first week of Locale::current().
    static Calendar current();
    static Calendar gregorian(const TimeZone& zone, const Locale& locale = Locale::posix());

    const TimeZone& timeZone() const { return zone_; }
    void setTimeZone(const TimeZone& zone);
    const Locale& locale() const { return locale_; }
    int firstWeekday() const { return firstWeekday_; }  // 1 = Sunday
    void setFirstWeekday(int weekday);                  // ignored outside 1 … 7
    int minimumDaysInFirstWeek() const { return minimumDays_; }
    void setMinimumDaysInFirstWeek(int days);  // ignored outside 1 … 7

    // The instant of the components, read leniently (month 13 is January of
    // the next year); a time zone carried by the components wins over the
    // calendar's. Fields left out take their lowest value (1970-01-01 00:00).
    // A wall time the clocks skip is read with the offset before the change
    // (02:30 → 03:30); a repeated one as its first occurrence. Weekday-style
    // fields count where year, month and day leave the date open. Nothing
    // when a field holds more than a million years.
    std::optional<Date> date(const DateComponents& components) const;
    // Whether the components name an existing date as they stand (a wall
    // time that the clocks skip still counts as a date).
    bool isValidDate(const DateComponents& components) const;

    // Exactly the wanted fields; TimeZone and Calendar fill in this
    // calendar's zone and the calendar itself.
    DateComponents dateComponents(CalendarComponents wanted, Date date) const;
    int component(CalendarComponent which, Date date) const;  // 0 for TimeZone and Calendar

    // Calendar arithmetic: a month later than 31 January is the last day of
    // February; days keep the wall time across a DST change, hours do not.
    // With wrapping, the larger fields stay as they are (23:00 + 2 h → 01:00
    // of the same day). The components form adds its fields largest first.
    // Nothing when an amount holds more than a million years.
    std::optional<Date> dateByAdding(CalendarComponent which, int value, Date to, bool wrapping = false) const;
    std::optional<Date> dateByAdding(const DateComponents& amounts, Date to, bool wrapping = false) const;

    Date startOfDay(Date date) const;
    bool isDateInSameDay(Date a, Date b) const;
    bool isDateInToday(Date date) const;     // against Date::now()
    bool isDateInTomorrow(Date date) const;  // against Date::now()

    // The interval of the day, week (by firstWeekday), month or year holding
    // `date`; nothing for other components.
    std::optional<DateInterval> dateInterval(CalendarComponent of, Date date) const;

    // The first instant after `after` whose fields equal every field given in
    // `matching` (fields below the smallest one given are at their lowest),
    // searching forward up to eight years. Strict skips what a day or month
    // lacks; nextTime takes the end of a skipped stretch of wall time, and for
    // a day number a month lacks, the start of the next month. Nothing for
    // empty components or a field out of its range.
    std::optional<Date> nextDate(Date after, const DateComponents& matching, MatchingPolicy policy,
                                 RepeatedTimePolicy repeated = RepeatedTimePolicy::first) const;

    // The same day as `date` at hour:minute:second; nothing for a time out of
    // range. A wall time the clocks skip gives the end of the gap (nextTime)
    // or nothing (strict).
    std::optional<Date> dateBySettingHour(int hour, int minute, int second, Date date,
                                          MatchingPolicy policy = MatchingPolicy::nextTime,
                                          RepeatedTimePolicy repeated = RepeatedTimePolicy::first) const;

    // A new ICU calendar with this one's zone, locale and week rules, lenient,
    // taking the first of two repeated wall times.
    std::unique_ptr<icu::Calendar> makeIcuCalendar() const;

    friend bool operator==(const Calendar& a, const Calendar& b);

private:
    Calendar(TimeZone zone, Locale locale, int firstWeekday, int minimumDays);

    void rebuildPrototype();

    TimeZone zone_;
    Locale locale_;
    int firstWeekday_;
    int minimumDays_;
    // Set up once, never changed afterwards: cloned by each operation, so
    // that a Calendar may still be used from several threads.
    std::shared_ptr<const icu::Calendar> prototype_;
};

}  // namespace tavlin::platform
