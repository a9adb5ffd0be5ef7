#include "platform/Calendar.h"

#include "platform/DateComponents.h"

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <compare>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>

namespace tavlin::platform {

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;

// What a field pins down: the month (era, year, month), the day within
// weeks, the day of the month, or the time of day.
enum class Scale { Month, Week, Day, Time };

struct IcuField {
    CalendarComponent component;
    UCalendarDateFields field;
    Scale scale;
    int perYear;     // how many fit in a year, at most
    int offset = 0;  // ours minus ICU's
};

// The components that are plain ICU fields, largest first.
constexpr IcuField kIcuFields[] = {
    {CalendarComponent::Era, UCAL_ERA, Scale::Month, 1},
    {CalendarComponent::Year, UCAL_YEAR, Scale::Month, 1},
    {CalendarComponent::YearForWeekOfYear, UCAL_YEAR_WOY, Scale::Week, 1},
    {CalendarComponent::Month, UCAL_MONTH, Scale::Month, 12, 1},  // ICU counts months from 0
    {CalendarComponent::WeekOfYear, UCAL_WEEK_OF_YEAR, Scale::Week, 53},
    {CalendarComponent::WeekOfMonth, UCAL_WEEK_OF_MONTH, Scale::Week, 53},
    {CalendarComponent::WeekdayOrdinal, UCAL_DAY_OF_WEEK_IN_MONTH, Scale::Week, 53},
    {CalendarComponent::Day, UCAL_DATE, Scale::Day, 366},
    {CalendarComponent::Weekday, UCAL_DAY_OF_WEEK, Scale::Week, 366},
    {CalendarComponent::Hour, UCAL_HOUR_OF_DAY, Scale::Time, 366 * 24},
    {CalendarComponent::Minute, UCAL_MINUTE, Scale::Time, 366 * 24 * 60},
    {CalendarComponent::Second, UCAL_SECOND, Scale::Time, 366 * 24 * 60 * 60},
};

// ICU computes some five million years either side of 1970, and past them
// overflows without an error; so no field may reach beyond a million years.
bool withinReach(const DateComponents& components) {
    constexpr std::int64_t kYearsInReach = 1'000'000;
    for (const IcuField& field : kIcuFields) {
        const std::optional<int> value = components.value(field.component);
        if (value && std::abs(std::int64_t{*value}) > kYearsInReach * field.perYear) return false;
    }
    return true;
}

int valueOf(const icu::Calendar& calendar, const IcuField& field) {
    UErrorCode status = U_ZERO_ERROR;
    return calendar.get(field.field, status) + field.offset;
}

// Whether every given field of `scale` has its value in `calendar`.
bool matches(const icu::Calendar& calendar, const DateComponents& wanted, Scale scale) {
    for (const IcuField& field : kIcuFields) {
        const std::optional<int> value = wanted.value(field.component);
        if (field.scale == scale && value && *value != valueOf(calendar, field)) return false;
    }
    return true;
}

bool inRange(std::optional<int> value, int lowest, int highest) {
    return !value || (*value >= lowest && *value <= highest);
}

// The ranges no calendar date leaves; the day of the month is checked apart.
bool fieldsInRange(const DateComponents& components) {
    return inRange(components.month, 1, 12) && inRange(components.day, 1, 31) && inRange(components.weekday, 1, 7) &&
           inRange(components.hour, 0, 23) && inRange(components.minute, 0, 59) && inRange(components.second, 0, 59) &&
           inRange(components.nanosecond, 0, 999'999'999);
}

void setTime(icu::Calendar& calendar, Date date) {
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(date.toUDate(), status);
}

std::unique_ptr<icu::Calendar> icuCalendarAt(const Calendar& calendar, Date date) {
    std::unique_ptr<icu::Calendar> icuCalendar = calendar.makeIcuCalendar();
    setTime(*icuCalendar, date);
    return icuCalendar;
}

// The number of days in the month the components name (January 1970 where
// they leave it open).
int lengthOfMonth(icu::Calendar& calendar, const DateComponents& components) {
    calendar.clear();
    for (const IcuField& field : kIcuFields) {
        const std::optional<int> value = components.value(field.component);
        if (value && field.scale == Scale::Month) calendar.set(field.field, *value - field.offset);
    }
    UErrorCode status = U_ZERO_ERROR;
    return calendar.getActualMaximum(UCAL_DATE, status);
}

std::optional<Date> instantOf(icu::Calendar& calendar) {
    UErrorCode status = U_ZERO_ERROR;
    const UDate time = calendar.getTime(status);
    return U_SUCCESS(status) ? std::optional(Date::fromUDate(time)) : std::nullopt;
}

int nanosecondOf(Date date) {
    const double seconds = date.secondsSince1970();
    const long nanoseconds = std::lround((seconds - std::floor(seconds)) * 1e9);
    return static_cast<int>(std::min(nanoseconds, 999'999'999L));
}

Date addingNanoseconds(Date date, int nanoseconds, bool wrapping) {
    if (!wrapping) return date.addingTimeInterval(nanoseconds * 1e-9);
    const double whole = std::floor(date.secondsSince1970());
    const double fraction = std::fmod(date.secondsSince1970() - whole + nanoseconds * 1e-9, 1.0);
    return Date::fromSecondsSince1970(whole + (fraction < 0 ? fraction + 1.0 : fraction));
}

// A day by its fields; ICU carries a day or month that runs over (day 0 is
// the last day of the month before).
struct CivilDay {
    int year;  // ICU's extended year: 0 is 1 BC
    int month;
    int day;
    friend auto operator<=>(const CivilDay&, const CivilDay&) = default;
};

CivilDay civilDayOf(const icu::Calendar& calendar) {
    UErrorCode status = U_ZERO_ERROR;
    return {calendar.get(UCAL_EXTENDED_YEAR, status), calendar.get(UCAL_MONTH, status) + 1,
            calendar.get(UCAL_DATE, status)};
}

struct WallTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

WallTime wallTimeOf(int secondOfDay) { return {secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60}; }

void setWallTime(icu::Calendar& calendar, CivilDay day, WallTime time) {
    calendar.clear();
    calendar.set(UCAL_EXTENDED_YEAR, day.year);
    calendar.set(UCAL_MONTH, day.month - 1);
    calendar.set(UCAL_DATE, day.day);
    calendar.set(UCAL_HOUR_OF_DAY, time.hour);
    calendar.set(UCAL_MINUTE, time.minute);
    calendar.set(UCAL_SECOND, time.second);
}

bool showsWallTime(const icu::Calendar& calendar, WallTime time) {
    UErrorCode status = U_ZERO_ERROR;
    return calendar.get(UCAL_HOUR_OF_DAY, status) == time.hour && calendar.get(UCAL_MINUTE, status) == time.minute &&
           calendar.get(UCAL_SECOND, status) == time.second;
}

// The instant of a wall time on a day. A wall time that the clocks skip gives
// the first instant after the gap, or nothing when strict.
std::optional<Date> resolveWallTime(icu::Calendar& calendar, CivilDay day, WallTime time, MatchingPolicy policy,
                                    RepeatedTimePolicy repeated) {
    calendar.setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    calendar.setRepeatedWallTimeOption(repeated == RepeatedTimePolicy::first ? UCAL_WALLTIME_FIRST
                                                                             : UCAL_WALLTIME_LAST);
    setWallTime(calendar, day, time);
    const std::optional<Date> instant = instantOf(calendar);
    if (policy == MatchingPolicy::strict && instant && !showsWallTime(calendar, time)) return std::nullopt;
    return instant;
}

Date startOfCivilDay(icu::Calendar& calendar, CivilDay day) {
    return resolveWallTime(calendar, day, {}, MatchingPolicy::nextTime, RepeatedTimePolicy::first).value_or(Date());
}

// The time fields nextDate() looks for, hour, minute and second; nothing for
// a field that may take any value.
using TimePattern = std::array<std::optional<int>, 3>;

// Given fields are fixed; fields below the smallest given one are at 0.
TimePattern timePatternOf(const DateComponents& matching) {
    TimePattern pattern{matching.hour, matching.minute, matching.second};
    if (matching.nanosecond) return pattern;
    for (int i = 2; i >= 0 && !pattern[i]; --i) pattern[i] = 0;
    return pattern;
}

// The first second of the day, at or after `from`, that fits the pattern.
std::optional<int> firstMatchingSecond(const TimePattern& pattern, int from) {
    constexpr int kUnit[] = {3600, 60, 1};
    constexpr int kCount[] = {24, 60, 60};  // of each unit in the next larger one
    int second = from;
    while (second < kSecondsPerDay) {
        int i = 0;
        while (i < 3 && (!pattern[i] || *pattern[i] == second / kUnit[i] % kCount[i])) ++i;
        if (i == 3) return second;
        const int part = second / kUnit[i] % kCount[i];
        const int enclosingStart = second - second % kUnit[i] - part * kUnit[i];
        second = enclosingStart + (part < *pattern[i] ? *pattern[i] : kCount[i]) * kUnit[i];
    }
    return std::nullopt;
}

struct TimeSearch {
    Date after;
    TimePattern pattern;
    double nanoseconds;
    MatchingPolicy policy;
    RepeatedTimePolicy repeated;
};

// The first instant after `search.after` on `day` whose wall time, at or
// after `fromSecond` of the day, fits the pattern.
std::optional<Date> firstOnDay(icu::Calendar& zoned, CivilDay day, int fromSecond, const TimeSearch& search) {
    for (std::optional<int> second = firstMatchingSecond(search.pattern, fromSecond); second;
         second = firstMatchingSecond(search.pattern, *second + 1)) {
        const std::optional<Date> instant =
            resolveWallTime(zoned, day, wallTimeOf(*second), search.policy, search.repeated);
        if (instant && instant->addingTimeInterval(search.nanoseconds) > search.after)
            return instant->addingTimeInterval(search.nanoseconds);
    }
    return std::nullopt;
}

int secondOfDay(const icu::Calendar& calendar) {
    UErrorCode status = U_ZERO_ERROR;
    return calendar.get(UCAL_HOUR_OF_DAY, status) * 3600 + calendar.get(UCAL_MINUTE, status) * 60 +
           calendar.get(UCAL_SECOND, status);
}

bool hasAnyField(const DateComponents& components) {
    for (const IcuField& field : kIcuFields) {
        if (components.value(field.component)) return true;
    }
    return components.nanosecond.has_value();
}

// Whether `calendar` is on the last day of a month that is too short for
// the wanted day number.
bool lacksWantedDay(const icu::Calendar& calendar, const DateComponents& wanted) {
    UErrorCode status = U_ZERO_ERROR;
    const int length = calendar.getActualMaximum(UCAL_DATE, status);
    return wanted.day && *wanted.day > length && calendar.get(UCAL_DATE, status) == length;
}

}  // namespace

Calendar::Calendar(TimeZone zone, Locale locale, int firstWeekday, int minimumDays)
    : zone_(std::move(zone)), locale_(std::move(locale)), firstWeekday_(firstWeekday), minimumDays_(minimumDays) {
    rebuildPrototype();
}

Calendar Calendar::current() {
    // Made anew only when the user's zone changed: making one costs.
    static std::mutex mutex;
    static std::optional<Calendar> calendar;
    const TimeZone zone = TimeZone::current();
    const std::lock_guard lock(mutex);
    if (!calendar) calendar = gregorian(zone, Locale::current());
    else if (&calendar->timeZone().icu() != &zone.icu()) calendar->setTimeZone(zone);  // copies share their zone
    return *calendar;
}

void Calendar::setTimeZone(const TimeZone& zone) {
    zone_ = zone;
    rebuildPrototype();
}

Calendar Calendar::gregorian(const TimeZone& zone, const Locale& locale) {
    const Locale::WeekRules rules = locale.weekRules();
    return Calendar(zone, locale, rules.firstWeekday, rules.minimumDaysInFirstWeek);
}

void Calendar::setFirstWeekday(int weekday) {
    if (weekday < 1 || weekday > 7) return;
    firstWeekday_ = weekday;
    rebuildPrototype();
}

void Calendar::setMinimumDaysInFirstWeek(int days) {
    if (days < 1 || days > 7) return;
    minimumDays_ = days;
    rebuildPrototype();
}

// Making an ICU calendar reads the locale's week data and costs some
// microseconds; a clone of one kept ready costs a fraction of that, and the
// parser asks for one at almost every step.
void Calendar::rebuildPrototype() {
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(zone_.icu().clone(), locale_.icu(), status);
    calendar->setGregorianChange(U_DATE_MIN, status);  // proleptic: no Julian dates
    calendar->setFirstDayOfWeek(static_cast<UCalendarDaysOfWeek>(firstWeekday_));
    calendar->setMinimalDaysInFirstWeek(static_cast<uint8_t>(minimumDays_));
    calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    prototype_ = std::move(calendar);
}

std::unique_ptr<icu::Calendar> Calendar::makeIcuCalendar() const {
    return std::unique_ptr<icu::Calendar>(prototype_->clone());
}

std::optional<Date> Calendar::date(const DateComponents& components) const {
    if (!withinReach(components)) return std::nullopt;
    const std::unique_ptr<icu::Calendar> calendar = makeIcuCalendar();
    if (components.timeZone) calendar->setTimeZone(components.timeZone->icu());
    calendar->clear();
    // ICU resolves the date from the fields set last: weekday-style fields
    // count only where year, month and day leave the date open.
    for (const bool weekStyle : {true, false}) {
        for (const IcuField& field : kIcuFields) {
            const std::optional<int> value = components.value(field.component);
            if (value && (field.scale == Scale::Week) == weekStyle) calendar->set(field.field, *value - field.offset);
        }
    }
    const std::optional<Date> instant = instantOf(*calendar);
    if (!instant || !components.nanosecond) return instant;
    return addingNanoseconds(*instant, *components.nanosecond, false);
}

bool Calendar::isValidDate(const DateComponents& components) const {
    if (!fieldsInRange(components) || !withinReach(components)) return false;
    if (components.day && *components.day > lengthOfMonth(*makeIcuCalendar(), components)) return false;
    return date(components).has_value();
}

DateComponents Calendar::dateComponents(CalendarComponents wanted, Date date) const {
    const std::unique_ptr<icu::Calendar> calendar = icuCalendarAt(*this, date);
    DateComponents components;
    for (const IcuField& field : kIcuFields) {
        if (wanted.testFlag(field.component)) components.setValue(field.component, valueOf(*calendar, field));
    }
    if (wanted.testFlag(CalendarComponent::Nanosecond)) components.nanosecond = nanosecondOf(date);
    if (wanted.testFlag(CalendarComponent::TimeZone)) components.timeZone = zone_;
    if (wanted.testFlag(CalendarComponent::Calendar)) components.calendar = *this;
    return components;
}

int Calendar::component(CalendarComponent which, Date date) const {
    return dateComponents(which, date).value(which).value_or(0);
}

std::optional<Date> Calendar::dateByAdding(CalendarComponent which, int value, Date to, bool wrapping) const {
    DateComponents amounts;
    amounts.setValue(which, value);
    if (!amounts.value(which)) return std::nullopt;  // a time zone or calendar is no amount
    return dateByAdding(amounts, to, wrapping);
}

std::optional<Date> Calendar::dateByAdding(const DateComponents& amounts, Date to, bool wrapping) const {
    if (!withinReach(amounts)) return std::nullopt;
    const std::unique_ptr<icu::Calendar> calendar = icuCalendarAt(*this, to);
    UErrorCode status = U_ZERO_ERROR;
    for (const IcuField& field : kIcuFields) {
        if (const std::optional<int> amount = amounts.value(field.component)) {
            if (wrapping) calendar->roll(field.field, *amount, status);
            else calendar->add(field.field, *amount, status);
        }
    }
    const std::optional<Date> result = instantOf(*calendar);
    if (U_FAILURE(status) || !result) return std::nullopt;
    return amounts.nanosecond ? addingNanoseconds(*result, *amounts.nanosecond, wrapping) : *result;
}

Date Calendar::startOfDay(Date date) const {
    const std::unique_ptr<icu::Calendar> calendar = icuCalendarAt(*this, date);
    return startOfCivilDay(*calendar, civilDayOf(*calendar));
}

bool Calendar::isDateInSameDay(Date a, Date b) const {
    const std::unique_ptr<icu::Calendar> calendar = icuCalendarAt(*this, a);
    const CivilDay dayOfA = civilDayOf(*calendar);
    setTime(*calendar, b);
    return civilDayOf(*calendar) == dayOfA;
}

bool Calendar::isDateInToday(Date date) const { return isDateInSameDay(date, Date::now()); }

bool Calendar::isDateInTomorrow(Date date) const {
    const std::optional<Date> tomorrow = dateByAdding(CalendarComponent::Day, 1, Date::now());
    return tomorrow && isDateInSameDay(date, *tomorrow);
}

std::optional<DateInterval> Calendar::dateInterval(CalendarComponent of, Date date) const {
    const std::unique_ptr<icu::Calendar> calendar = icuCalendarAt(*this, date);
    CivilDay first = civilDayOf(*calendar);
    CivilDay next = first;
    switch (of) {
    case CalendarComponent::Day: next.day += 1; break;
    case CalendarComponent::WeekOfYear: {
        UErrorCode status = U_ZERO_ERROR;
        first.day -= (calendar->get(UCAL_DAY_OF_WEEK, status) - firstWeekday_ + 7) % 7;
        next = first;
        next.day += 7;
        break;
    }
    case CalendarComponent::Month:
        first.day = 1;
        next = {first.year, first.month + 1, 1};
        break;
    case CalendarComponent::Year:
        first = {first.year, 1, 1};
        next = {first.year + 1, 1, 1};
        break;
    default: return std::nullopt;
    }
    const Date start = startOfCivilDay(*calendar, first);
    return DateInterval{start, startOfCivilDay(*calendar, next).timeIntervalSince(start)};
}

std::optional<Date> Calendar::nextDate(Date after, const DateComponents& matching, MatchingPolicy policy,
                                       RepeatedTimePolicy repeated) const {
    if (!hasAnyField(matching) || !fieldsInRange(matching)) return std::nullopt;
    const TimeSearch search{after, timePatternOf(matching), matching.nanosecond.value_or(0) * 1e-9, policy, repeated};
    const std::unique_ptr<icu::Calendar> zoned = makeIcuCalendar();
    // Day fields are read on the wall clock: a calendar in UTC, where every
    // day has 24 hours.
    const std::unique_ptr<icu::Calendar> wall = makeIcuCalendar();
    wall->setTimeZone(*icu::TimeZone::getGMT());

    // On a night the clocks go back, a wall time up to a few hours before
    // that of `after` may still come after it.
    constexpr int kLargestShift = 3 * 3600;
    setTime(*wall, after.addingTimeInterval(zone_.secondsFromGMT(after) - kLargestShift));
    int fromSecond = secondOfDay(*wall);
    CivilDay day = civilDayOf(*wall);
    // Eight years hold a 29 February wherever the search starts.
    const CivilDay lastDay{day.year + 8, day.month, day.day};

    for (; day <= lastDay; fromSecond = 0) {
        setWallTime(*wall, day, {});
        day = civilDayOf(*wall);
        if (!matches(*wall, matching, Scale::Month)) {
            day = {day.year, day.month + 1, 1};
            continue;
        }
        if (matches(*wall, matching, Scale::Week) && matches(*wall, matching, Scale::Day)) {
            if (const std::optional<Date> found = firstOnDay(*zoned, day, fromSecond, search)) return found;
        } else if (policy == MatchingPolicy::nextTime && lacksWantedDay(*wall, matching)) {
            const Date dayAfter = startOfCivilDay(*zoned, {day.year, day.month, day.day + 1});
            if (dayAfter > after) return dayAfter;
        }
        day.day += 1;
    }
    return std::nullopt;
}

std::optional<Date> Calendar::dateBySettingHour(int hour, int minute, int second, Date date, MatchingPolicy policy,
                                                RepeatedTimePolicy repeated) const {
    if (!fieldsInRange({.hour = hour, .minute = minute, .second = second})) return std::nullopt;
    const std::unique_ptr<icu::Calendar> calendar = icuCalendarAt(*this, date);
    return resolveWallTime(*calendar, civilDayOf(*calendar), {hour, minute, second}, policy, repeated);
}

bool operator==(const Calendar& a, const Calendar& b) {
    return a.zone_ == b.zone_ && a.locale_ == b.locale_ && a.firstWeekday_ == b.firstWeekday_ &&
           a.minimumDays_ == b.minimumDays_;
}

}  // namespace tavlin::platform
