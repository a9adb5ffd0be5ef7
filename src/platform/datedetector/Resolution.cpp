#include "platform/datedetector/Resolution.h"

#include "platform/DateComponents.h"
#include "platform/datedetector/CivilDate.h"

namespace tavlin::platform::datedetector {

namespace {

constexpr double kGraceSeconds = 60;
constexpr int kDaysPerWeek = 7;

// Places a phrase on the calendar. "Today" is the reference's day in the
// calendar's zone (the stated zone, when the phrase has one); "within the
// grace" is not more than 60 seconds before the reference.
class Resolver {
public:
    Resolver(const DetectionContext& context, const std::optional<TimeSpec>& time)
        : calendar_(context.calendar), grace_(context.reference.addingTimeInterval(-kGraceSeconds)) {
        if (time && time->zoneOffsetSeconds)
            calendar_.setTimeZone(TimeZone::fromIdentifier(time->zoneIdentifier).value_or(TimeZone::gmt()));
        const DateComponents day = calendar_.dateComponents(
            CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day, context.reference);
        today_ = {day.year.value_or(1970), day.month.value_or(1), day.day.value_or(1)};
        firstWeekday_ = calendar_.firstWeekday();
    }

    std::optional<Date> resolve(const Phrase& phrase) const {
        if (!phrase.time) {
            const std::optional<CivilDate> day = dayOf(*phrase.day);
            return day ? at(*day, TimeSpec{.hour = 12}) : std::nullopt;
        }
        if (!phrase.day) return timeOnly(*phrase.time);
        return dayAndTime(*phrase.day, *phrase.time);
    }

private:
    // A time the parser can roll stays on today even when it has passed;
    // any other goes to its next occurrence.
    std::optional<Date> timeOnly(const TimeSpec& time) const {
        const std::optional<Date> today = at(today_, time);
        if (today && *today < grace_ && time.rollsForward) return at(today_.addingDays(1), time);
        return today;
    }

    std::optional<Date> dayAndTime(const DaySpec& spec, const TimeSpec& time) const {
        const std::optional<CivilDate> day = dayOf(spec);
        if (!day) return std::nullopt;
        const std::optional<Date> moment = at(*day, time);
        if (!moment || *moment >= grace_ || *day != today_) return moment;
        // Passed today: a weekday means the same weekday next week; an
        // ordinal day the next month with that day, unless the parser
        // rolls it itself.
        if (spec.kind == DaySpec::Kind::weekday && spec.mode == WeekdayMode::fromToday)
            return at(day->addingDays(kDaysPerWeek), time);
        if (spec.kind == DaySpec::Kind::dayOfMonth && time.rollsForward)
            if (const std::optional<CivilDate> next = dayOfMonth(spec.day, today_.addingDays(1)))
                return at(*next, time);
        return moment;
    }

    std::optional<CivilDate> dayOf(const DaySpec& spec) const {
        switch (spec.kind) {
        case DaySpec::Kind::relative:
            return today_.addingDays(spec.offset);
        case DaySpec::Kind::weekday:
            return weekday(spec.weekday, spec.mode);
        case DaySpec::Kind::calendarDate:
            return calendarDate(spec.year, spec.month, spec.day);
        case DaySpec::Kind::dayOfMonth:
            return dayOfMonth(spec.day, today_);
        }
        return std::nullopt;
    }

    CivilDate weekday(int weekday, WeekdayMode mode) const {
        const auto daysUntil = [weekday](CivilDate from) { return (weekday - from.weekday() + kDaysPerWeek) % kDaysPerWeek; };
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
        case WeekdayMode::past:
            break;
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
            const int year = from.year + index / 12;
            const int month = index % 12 + 1;
            if (CivilDate::isValid(year, month, day) && CivilDate{year, month, day} >= from)
                return CivilDate{year, month, day};
        }
        return std::nullopt;
    }

    // The day at the time: a skipped wall time moves to the end of the gap,
    // a repeated one takes its first occurrence; midnight ends the day.
    std::optional<Date> at(CivilDate day, const TimeSpec& time) const {
        const CivilDate date = time.midnight ? day.addingDays(1) : day;
        const std::optional<Date> noon =
            calendar_.date({.year = date.year, .month = date.month, .day = date.day, .hour = 12});
        if (!noon) return std::nullopt;
        return calendar_.dateBySettingHour(time.hour, time.minute, time.second, *noon, MatchingPolicy::nextTime,
                                           RepeatedTimePolicy::first);
    }

    Calendar calendar_;
    Date grace_;
    CivilDate today_;
    int firstWeekday_ = 1;
};

}  // namespace

std::optional<DetectedDate> resolvePhrase(const Phrase& phrase, const DetectionContext& context) {
    const std::optional<Date> date = Resolver(context, phrase.time).resolve(phrase);
    if (!date) return std::nullopt;
    DetectedDate detected{.range = phrase.range,
                          .date = *date,
                          .dayWritten = phrase.day.has_value(),
                          .timeWritten = phrase.time.has_value()};
    if (phrase.time && phrase.time->zoneOffsetSeconds) detected.zoneIdentifier = phrase.time->zoneIdentifier;
    if (phrase.time) detected.durationSeconds = phrase.time->durationSeconds;
    return detected;
}

}  // namespace tavlin::platform::datedetector
