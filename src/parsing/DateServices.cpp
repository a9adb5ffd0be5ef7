#include "parsing/DateServices.h"

#include "platform/DateComponents.h"
#include "platform/Locale.h"
#include "platform/Regex.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace tavlin::parsing {

using namespace Qt::StringLiterals;
using platform::Regex;

std::vector<platform::DetectedDate> BoundDetector::matches(const QString& text) const {
    if (!detector) return {};
    return detector->matches(text, {0, text.size()}, context);
}

std::optional<platform::DetectedDate> BoundDetector::firstMatch(const QString& text) const {
    if (!detector) return std::nullopt;
    return detector->firstMatch(text, {0, text.size()}, context);
}

namespace QuickAddParser {

const platform::DateDetector* dateDetector() {
    static const std::unique_ptr<platform::DateDetector> detector = platform::DateDetector::create();
    return detector.get();
}

bool hourCyclePreference() {
    static const bool uses24HourClock = platform::Locale::current().uses24HourClock();
    return uses24HourClock;
}

platform::NumericDateOrder numericDateOrderPreference() {
    static const platform::NumericDateOrder order = platform::numericDateOrder(platform::Locale::current());
    return order;
}

BoundDetector bindDateDetector(const platform::DateDetector* detector, platform::Date reference,
                               const platform::Calendar& calendar, const ParserVocabulary& vocabulary) {
    return {detector,
            {.reference = reference,
             .calendar = calendar,
             .languages = vocabulary.languageCodes,
             .numericOrder = numericDateOrderPreference()}};
}

DialReading hourAndMinute(const platform::Calendar& calendar, platform::Date date) {
    using platform::CalendarComponent;
    const platform::DateComponents time =
        calendar.dateComponents(CalendarComponent::Hour | CalendarComponent::Minute, date);
    return {time.hour.value_or(0), time.minute.value_or(0)};
}

platform::DateComponents dueComponents(const platform::Calendar& calendar, platform::Date date, bool withTime) {
    using platform::CalendarComponent;
    platform::CalendarComponents wanted = CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day;
    if (withTime) wanted |= CalendarComponent::Hour | CalendarComponent::Minute;
    return calendar.dateComponents(wanted, date);
}

void dueTodayForBareCadence(ParsedQuickAdd& reading, platform::Date now, const platform::Calendar& calendar) {
    if (!reading.recurrenceFrequency || reading.dueDateComponents) return;
    reading.dueDateComponents = dueComponents(calendar, now, false);
    reading.hasTime = false;
    reading.dueDateIsBareCadenceDefault = true;
}

platform::Date startOfReferenceDay(const platform::Calendar& calendar, platform::Date reference) {
    struct Kept {
        std::optional<platform::Calendar> calendar;
        platform::Date reference;
        platform::Date start;
    };
    thread_local Kept kept;
    if (!kept.calendar || kept.reference != reference || !(*kept.calendar == calendar))
        kept = {calendar, reference, calendar.startOfDay(reference)};
    return kept.start;
}

std::optional<platform::Date> keptNextDate(const platform::Calendar& calendar, platform::Date after,
                                           const platform::DateComponents& matching, platform::MatchingPolicy policy,
                                           platform::RepeatedTimePolicy repeated) {
    struct Kept {
        std::optional<platform::Calendar> calendar;
        platform::Date after;
        platform::DateComponents matching;
        platform::MatchingPolicy policy{};
        platform::RepeatedTimePolicy repeated{};
        std::optional<platform::Date> found;
    };
    thread_local std::array<Kept, 8> kept;
    thread_local std::size_t next = 0;
    for (const Kept& entry : kept)
        if (entry.calendar && entry.after == after && entry.policy == policy && entry.repeated == repeated &&
            entry.matching == matching && *entry.calendar == calendar)
            return entry.found;
    const std::optional<platform::Date> found = calendar.nextDate(after, matching, policy, repeated);
    kept[next] = {calendar, after, matching, policy, repeated, found};
    next = (next + 1) % kept.size();
    return found;
}

platform::Date earliestAhead(platform::Date reference) {
    return platform::Date::fromSecondsSince1970(std::floor(reference.secondsSince1970())).addingTimeInterval(-60);
}

std::optional<platform::Date> firstDayNumbered(int day, platform::Date reference, const platform::Calendar& calendar) {
    return keptNextDate(calendar, startOfReferenceDay(calendar, reference).addingTimeInterval(-1),
                        platform::DateComponents{.day = day}, platform::MatchingPolicy::strict);
}

std::optional<platform::Date> writtenHourCorrection(platform::Date date, const QString& text,
                                                    const platform::Calendar& calendar) {
    static const std::optional<Regex> meridiem =
        Regex::compile(u"\\d\\s*[ap]\\.?\\s?m\\.?(?![\\p{L}])"_s, Regex::Option::CaseInsensitive);
    static const std::optional<Regex> writtenHour =
        Regex::compile(u"\\b\\d{1,2}(?=[:hu]\\d{2}\\b|[hu]\\b)"_s, Regex::Option::CaseInsensitive);
    // The text first: reading the calendar costs more.
    if (!meridiem || !writtenHour || meridiem->firstMatch(text)) return std::nullopt;
    const std::optional<platform::RegexMatch> written = writtenHour->firstMatch(text);
    if (!written || written->range().isEmpty()) return std::nullopt;
    const auto [hour, minute] = hourAndMinute(calendar, date);
    if (hour < 13 || hour > 23) return std::nullopt;
    bool isNumber = false;
    if (written->captured(text).toInt(&isNumber) != hour - 12 || !isNumber) return std::nullopt;
    return calendar.dateBySettingHour(hour - 12, minute, 0, date, platform::MatchingPolicy::nextTime,
                                      platform::RepeatedTimePolicy::first);
}

platform::Date clockCorrected(const platform::DetectedDate& match, const QString& text,
                              const platform::Calendar& calendar, bool uses24HourClock) {
    if (!uses24HourClock || !match.afternoonGuessed) return match.date;
    return writtenHourCorrection(match.date, text, calendar).value_or(match.date);
}

QString blankingRanges(const std::vector<platform::TextRange>& ranges, const QString& text) {
    QString blanked = text;
    for (const platform::TextRange range : ranges) {
        const qsizetype start = std::clamp<qsizetype>(range.location, 0, blanked.size());
        const qsizetype end = std::clamp<qsizetype>(range.end(), start, blanked.size());
        blanked.replace(start, end - start, QString(end - start, u' '));
    }
    return blanked;
}

}  // namespace QuickAddParser

}  // namespace tavlin::parsing
