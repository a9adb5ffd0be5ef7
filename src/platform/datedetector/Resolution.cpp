#include "platform/datedetector/Resolution.h"

#include "platform/IcuString.h"
#include "platform/datedetector/CivilDate.h"

#include <unicode/calendar.h>
#include <unicode/simpletz.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace tavlin::platform::datedetector {

namespace {

constexpr double kGraceSeconds = 60;

// Times are read to the second at most, so the fraction of the reference's
// second says nothing about whether one has passed.
Date wholeSecond(Date date) { return Date::fromSecondsSince1970(std::floor(date.secondsSince1970())); }
constexpr int kDaysPerWeek = 7;

// Days and wall times on one ICU calendar: lenient, a skipped wall time
// moved to the end of the gap (02:30 on the night the clocks go forward is
// 03:00), a repeated one taken at its first occurrence.
class WallClock {
public:
    explicit WallClock(icu::Calendar& calendar) : calendar_(calendar) {
        calendar_.setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    }

    CivilDate dayOf(Date date) const {
        UErrorCode status = U_ZERO_ERROR;
        calendar_.setTime(date.toUDate(), status);
        return {calendar_.get(UCAL_YEAR, status), calendar_.get(UCAL_MONTH, status) + 1,
                calendar_.get(UCAL_DATE, status)};
    }

    std::optional<Date> at(CivilDate day, int hour, int minute, int second) const {
        UErrorCode status = U_ZERO_ERROR;
        calendar_.clear();
        calendar_.set(day.year, day.month - 1, day.day, hour, minute, second);
        const UDate instant = calendar_.getTime(status);
        if (U_FAILURE(status)) return std::nullopt;
        return Date::fromUDate(instant);
    }

private:
    icu::Calendar& calendar_;
};

// Places one phrase. "Today" is the reference's day on the wall clock (in
// the stated zone, when the phrase has one); "within the grace" is not more
// than 60 seconds before the reference.
class Placement {
public:
    Placement(const WallClock& clock, const DetectionContext& context)
        : clock_(clock),
          reference_(context.reference),
          grace_(wholeSecond(context.reference).addingTimeInterval(-kGraceSeconds)),
          today_(clock.dayOf(context.reference)),
          firstWeekday_(context.calendar.firstWeekday()) {}

    std::optional<Date> of(const Phrase& phrase) const {
        if (phrase.minutesAhead) return reference_.addingTimeInterval(*phrase.minutesAhead * 60.0);
        if (!phrase.time) {
            const std::optional<CivilDate> day = dayOf(*phrase.day);
            return day ? at(*day, WrittenTime{.hour = 12}) : std::nullopt;
        }
        if (!phrase.day) return timeOnly(*phrase.time);
        return dayAndTime(*phrase.day, *phrase.time);
    }

private:
    // A time the parser can roll stays on today even when it has passed;
    // any other goes to its next occurrence.
    std::optional<Date> timeOnly(const WrittenTime& time) const {
        const std::optional<Date> today = at(today_, time);
        if (today && *today < grace_ && time.rollsForward) return at(today_.addingDays(1), time);
        return today;
    }

    std::optional<Date> dayAndTime(const WrittenDay& written, const WrittenTime& time) const {
        const std::optional<CivilDate> day = dayOf(written);
        if (!day) return std::nullopt;
        const std::optional<Date> moment = at(*day, time);
        if (!moment || *moment >= grace_ || *day != today_) return moment;
        // Passed today: a weekday means the same weekday next week; an
        // ordinal day the next month with that day, unless the parser
        // rolls it itself.
        if (written.kind == WrittenDay::Kind::weekday && written.mode == WeekdayMode::fromToday)
            return at(day->addingDays(kDaysPerWeek), time);
        if (written.kind == WrittenDay::Kind::dayOfMonth && time.rollsForward) {
            if (const std::optional<CivilDate> next = dayOfMonth(written.day, today_.addingDays(1)))
                return at(*next, time);
        }
        return moment;
    }

    std::optional<CivilDate> dayOf(const WrittenDay& written) const {
        switch (written.kind) {
        case WrittenDay::Kind::relative: return today_.addingDays(written.offset);
        case WrittenDay::Kind::weekday: return weekday(written.weekday, written.mode);
        case WrittenDay::Kind::calendarDate: return calendarDate(written.year, written.month, written.day);
        case WrittenDay::Kind::dayOfMonth: {
            const std::optional<CivilDate> day = dayOfMonth(written.day, today_);
            if (day && written.weekday != 0 && day->weekday() != written.weekday) return std::nullopt;
            return day;
        }
        case WrittenDay::Kind::monthsAhead: return monthsAhead(written.offset);
        case WrittenDay::Kind::weekend: return weekend(written.offset);
        }
        return std::nullopt;
    }

    // The same day so many months on, or the month's last day when it is
    // shorter (31 January and a month is 28 February).
    CivilDate monthsAhead(int months) const {
        const int index = today_.month - 1 + months;
        const int year = today_.year + index / 12, month = index % 12 + 1;
        return {year, month, std::min(today_.day, CivilDate::daysInMonth(year, month))};
    }

    // The Saturday of the weekend under way or coming, so many weekends on.
    CivilDate weekend(int weekendsAhead) const {
        constexpr int kSunday = 1, kSaturday = 7;
        const CivilDate saturday =
            today_.weekday() == kSunday
                ? today_.addingDays(-1)
                : today_.addingDays((kSaturday - today_.weekday() + kDaysPerWeek) % kDaysPerWeek);
        const CivilDate day = saturday.addingDays(kDaysPerWeek * weekendsAhead);
        return day < today_ ? today_ : day;
    }

    CivilDate weekday(int weekday, WeekdayMode mode) const {
        const auto daysUntil = [weekday](CivilDate from) {
            return (weekday - from.weekday() + kDaysPerWeek) % kDaysPerWeek;
        };
        switch (mode) {
        case WeekdayMode::afterToday: {
            const CivilDate tomorrow = today_.addingDays(1);
            return tomorrow.addingDays(daysUntil(tomorrow));
        }
        case WeekdayMode::followingWeek: {
            const int intoWeek = (today_.weekday() - firstWeekday_ + kDaysPerWeek) % kDaysPerWeek;
            const CivilDate nextWeek = today_.addingDays(kDaysPerWeek - intoWeek);
            return nextWeek.addingDays(daysUntil(nextWeek));
        }
        case WeekdayMode::fromToday:
        case WeekdayMode::past: break;
        }
        return today_.addingDays(daysUntil(today_));
    }

    // With a year, that day, past or not; without one, its next occurrence
    // from today on (29 February in the next leap year).
    std::optional<CivilDate> calendarDate(std::optional<int> year, int month, int day) const {
        if (year) {
            if (!CivilDate::isValid(*year, month, day)) return std::nullopt;
            return CivilDate{*year, month, day};
        }
        for (int candidate = today_.year; candidate <= today_.year + 8; ++candidate)
            if (CivilDate::isValid(candidate, month, day) && CivilDate{candidate, month, day} >= today_)
                return CivilDate{candidate, month, day};
        return std::nullopt;
    }

    // The first day `day` of a month from `from` on, passing over months
    // that lack it.
    static std::optional<CivilDate> dayOfMonth(int day, CivilDate from) {
        for (int months = 0; months <= 12; ++months) {
            const int index = from.month - 1 + months;
            const CivilDate candidate{from.year + index / 12, index % 12 + 1, day};
            if (CivilDate::isValid(candidate.year, candidate.month, day) && candidate >= from) return candidate;
        }
        return std::nullopt;
    }

    // Midnight ends the named day, and a time after it ("Friday night at
    // 2") falls on the next.
    std::optional<Date> at(CivilDate day, const WrittenTime& time) const {
        if (time.midnight) return clock_.at(day.addingDays(1), 0, 0, 0);
        return clock_.at(time.nextDay ? day.addingDays(1) : day, time.hour, time.minute, time.second);
    }

    const WallClock& clock_;
    Date reference_;
    Date grace_;
    CivilDate today_;
    int firstWeekday_;
};

}  // namespace

// Making an ICU calendar costs more than reading a short text, and every
// search of a session reads against the same calendar: each thread keeps
// the last one it made. Every use sets all it reads, so none leaks into the
// next search. Comparing calendars costs too: a search looks once, at its
// first phrase.
icu::Calendar& Resolver::calendar() {
    if (calendar_) return *calendar_;
    struct Kept {
        std::optional<Calendar> of;
        std::unique_ptr<icu::Calendar> calendar;
    };
    thread_local Kept kept;
    if (!kept.of || !(*kept.of == context_.calendar)) {
        kept.calendar = context_.calendar.makeIcuCalendar();
        kept.of = context_.calendar;
    }
    calendar_ = kept.calendar.get();
    return *calendar_;
}

std::optional<DetectedDate> Resolver::resolve(const Phrase& phrase) {
    const std::optional<int> zoneOffset = phrase.time ? phrase.time->zoneOffsetSeconds : std::nullopt;
    std::unique_ptr<icu::Calendar> zoned;
    if (zoneOffset) {
        zoned.reset(calendar().clone());
        zoned->adoptTimeZone(new icu::SimpleTimeZone(*zoneOffset * 1000, icuView(phrase.time->zoneIdentifier)));
    }
    const WallClock clock(zoned ? *zoned : calendar());
    const std::optional<Date> date = Placement(clock, context_).of(phrase);
    if (!date) return std::nullopt;
    DetectedDate detected{.range = phrase.range,
                          .date = *date,
                          .dayWritten = phrase.day.has_value(),
                          .timeWritten = phrase.time.has_value(),
                          .partOfDay = phrase.partOfDay};
    if (zoneOffset) detected.zoneIdentifier = phrase.time->zoneIdentifier;
    if (phrase.time) {
        detected.durationSeconds = phrase.time->durationSeconds;
        detected.afternoonGuessed = phrase.time->afternoonGuessed;
    }
    if (phrase.minutesAhead) detected.timeWritten = true;
    return detected;
}

}  // namespace tavlin::platform::datedetector
