#include "parsing/DatePairing.h"

#include "parsing/TextHelpers.h"
#include "parsing/TimeExpressions.h"

#include <cstdlib>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::DateComponents;
using platform::DetectedDate;
using platform::TextRange;

namespace {

struct DayPartner {
    TextRange range;
    DateComponents components;
};

// A time written apart from the date it belongs to.
struct TimeCandidate {
    TextRange range;
    std::vector<DialReading> readings;
    DialReading resolved;
};

// A detector match that reads as a time and nothing else, or as a day and nothing else.
bool isTimeOnly(bool hasTime, const QString& matched, const BoundDetector& detector,
                const ParserVocabulary& vocabulary) {
    return hasTime && !hasDateBesideClockTime(matched, detector, vocabulary);
}
bool isDayOnly(bool hasTime, const QString& matched, const BoundDetector& detector,
               const ParserVocabulary& vocabulary) {
    return !hasTime && hasDateBesideClockTime(matched, detector, vocabulary);
}

// The partner whose start lies nearest the chosen one's; the first on a tie.
template <class Partner>
const Partner* nearest(const std::vector<Partner>& partners, TextRange chosen) {
    const Partner* best = nullptr;
    for (const Partner& partner : partners)
        if (!best ||
            std::llabs(partner.range.location - chosen.location) < std::llabs(best->range.location - chosen.location))
            best = &partner;
    return best;
}

// The range widened back over one link word ("at", "on") before it.
TextRange withLinkWord(TextRange range, const QString& text, const ParserVocabulary& vocabulary) {
    if (range.location <= 0) return range;
    static const std::optional<platform::Regex> lastWord = compileRegex(u"(?:^|\\s)(\\S+)\\s+$"_s);
    const auto match = lastWord ? lastWord->firstMatch(text.left(range.location)) : std::nullopt;
    if (!match) return range;
    const QString word = WordSet::fold(match->captured(text, 1));
    if (!vocabulary.clockMarkers.containsFolded(word) && !vocabulary.connectors.containsFolded(word)) return range;
    return TextRange::fromBounds(match->range(1).location, range.end());
}

// Whether two phrases stand next to each other, a link word before either allowed.
bool areNeighbours(TextRange a, TextRange b, const QString& text, const ParserVocabulary& vocabulary) {
    TextRange first = withLinkWord(a, text, vocabulary);
    TextRange second = withLinkWord(b, text, vocabulary);
    if (second.location < first.location) std::swap(first, second);
    if (first.end() > second.location) return false;
    return text.mid(first.end(), second.location - first.end()).trimmed().isEmpty();
}

DateComponents withTime(DateComponents components, DialReading time) {
    components.hour = time.hour;
    components.minute = time.minute;
    return components;
}

// On another day than today a spoken time means its usual reading (3 →
// 15:00); today it keeps the reading that is still ahead.
DialReading timeFor(const DateComponents& day, const std::vector<DialReading>& readings, DialReading resolved,
                    platform::Date referenceDate, const platform::Calendar& calendar) {
    const auto date = calendar.date(day);
    if (date && !calendar.isDateInSameDay(*date, referenceDate))
        return readings.empty() ? resolved : *preferredDialReading(readings);
    return resolved;
}

std::optional<PairedDate> timeSearch(const ChosenDate& chosen, const QString& text, const BoundDetector& detector,
                                     const std::vector<DateCandidate>& candidates, platform::Date referenceDate,
                                     const platform::Calendar& calendar, const ParserVocabulary& vocabulary,
                                     bool uses24HourClock) {
    std::vector<TimeCandidate> partners;
    for (const DateCandidate& candidate : candidates) {
        if (const auto* rule = std::get_if<RuleDateCandidate>(&candidate)) {
            if (rule->kind == RuleDateCandidate::Kind::clock && !rule->range.intersects(chosen.range) &&
                rule->components.hour && rule->components.minute)
                partners.push_back(
                    {rule->range, rule->dialReadings, {*rule->components.hour, *rule->components.minute}});
            continue;
        }
        const DetectedDate& detected = std::get<DetectedDate>(candidate);
        const QString matched = textAt(text, detected.range);
        if (detected.range.intersects(chosen.range) || hidesItsTime(detected, text, vocabulary) ||
            !isTimeOnly(detectedTime(detected, text, vocabulary), matched, detector, vocabulary))
            continue;
        const platform::Date date = clockCorrected(detected, matched, calendar, uses24HourClock);
        const DialReading resolved = hourAndMinute(calendar, date);
        partners.push_back({detected.range, {resolved}, resolved});
    }
    const TimeCandidate* partner = nearest(partners, chosen.range);
    if (!partner) return std::nullopt;
    if (chosen.kind == RuleDateCandidate::Kind::ordinal) {
        if (!chosen.components.day) return std::nullopt;
        const auto date = ordinalDayDate(*chosen.components.day, partner->readings, referenceDate, calendar);
        if (!date) return std::nullopt;
        return PairedDate{*date, partner->range};
    }
    const DialReading time = timeFor(chosen.components, partner->readings, partner->resolved, referenceDate, calendar);
    return PairedDate{withTime(chosen.components, time), partner->range};
}

std::optional<PairedDate> ordinalStep(const ChosenDate& chosen, const std::vector<DateCandidate>& candidates,
                                      platform::Date referenceDate, const platform::Calendar& calendar) {
    std::vector<RuleDateCandidate> ordinals;
    for (const DateCandidate& candidate : candidates)
        if (const auto* rule = std::get_if<RuleDateCandidate>(&candidate))
            if (rule->kind == RuleDateCandidate::Kind::ordinal && !rule->range.intersects(chosen.range) &&
                rule->components.day)
                ordinals.push_back(*rule);
    const RuleDateCandidate* ordinal = nearest(ordinals, chosen.range);
    if (!ordinal) return std::nullopt;
    std::vector<DialReading> readings = chosen.dialReadings;
    if (chosen.kind != RuleDateCandidate::Kind::clock) {
        if (!chosen.components.hour || !chosen.components.minute) return std::nullopt;
        readings = {{*chosen.components.hour, *chosen.components.minute}};
    }
    const auto date = ordinalDayDate(*ordinal->components.day, readings, referenceDate, calendar);
    if (!date) return std::nullopt;
    return PairedDate{*date, ordinal->range};
}

std::optional<PairedDate> daySearch(const ChosenDate& chosen, const QString& text, const BoundDetector& detector,
                                    const std::vector<DateCandidate>& candidates, platform::Date referenceDate,
                                    const platform::Calendar& calendar, const ParserVocabulary& vocabulary) {
    if (chosen.components.hour && chosen.components.minute) {
        std::vector<DayPartner> partners;
        const platform::Date startOfToday = startOfReferenceDay(calendar, referenceDate);
        for (const DateCandidate& candidate : candidates) {
            if (const auto* rule = std::get_if<RuleDateCandidate>(&candidate)) {
                if (rule->kind == RuleDateCandidate::Kind::day && !rule->range.intersects(chosen.range))
                    partners.push_back({rule->range, rule->components});
                continue;
            }
            const DetectedDate& detected = std::get<DetectedDate>(candidate);
            if (detected.range.intersects(chosen.range) || hidesItsTime(detected, text, vocabulary) ||
                !isDayOnly(detectedTime(detected, text, vocabulary), textAt(text, detected.range), detector,
                           vocabulary))
                continue;
            if (!areNeighbours(detected.range, chosen.range, text, vocabulary) || detected.date < startOfToday)
                continue;
            partners.push_back({detected.range, dueComponents(calendar, detected.date, false)});
        }
        if (const DayPartner* partner = nearest(partners, chosen.range)) {
            const DialReading chosenTime{*chosen.components.hour, *chosen.components.minute};
            const DialReading time =
                timeFor(partner->components, chosen.dialReadings, chosenTime, referenceDate, calendar);
            return PairedDate{withTime(partner->components, time), partner->range};
        }
    }
    return ordinalStep(chosen, candidates, referenceDate, calendar);
}

}  // namespace

std::optional<PairedDate> pairDateAndTime(const ChosenDate& chosen, const QString& text, const BoundDetector& detector,
                                          const std::vector<DateCandidate>& candidates, platform::Date referenceDate,
                                          const platform::Calendar& calendar, const ParserVocabulary& vocabulary,
                                          bool uses24HourClock) {
    using Kind = RuleDateCandidate::Kind;
    if (!chosen.kind) {
        if (!isTimeOnly(chosen.hasTime, textAt(text, chosen.range), detector, vocabulary)) return std::nullopt;
        return daySearch(chosen, text, detector, candidates, referenceDate, calendar, vocabulary);
    }
    switch (*chosen.kind) {
    case Kind::duration: return std::nullopt;
    case Kind::ordinal:
        return timeSearch(chosen, text, detector, candidates, referenceDate, calendar, vocabulary, uses24HourClock);
    case Kind::day:
        if (chosen.components.hour) return std::nullopt;
        return timeSearch(chosen, text, detector, candidates, referenceDate, calendar, vocabulary, uses24HourClock);
    case Kind::clock: return daySearch(chosen, text, detector, candidates, referenceDate, calendar, vocabulary);
    }
    return std::nullopt;
}

std::optional<DialReading> preferredDialReading(const std::vector<DialReading>& readings) {
    if (readings.empty()) return std::nullopt;
    for (const DialReading& reading : readings)
        if (reading.hour > 5) return reading;
    return readings.front();
}

std::optional<DateComponents> ordinalDayDate(int day, const std::vector<DialReading>& readings,
                                             platform::Date referenceDate, const platform::Calendar& calendar) {
    const std::optional<DialReading> preferred = preferredDialReading(readings);
    if (!preferred) return std::nullopt;
    const platform::Date threshold = earliestAhead(referenceDate);
    const auto dayDate = firstDayNumbered(day, referenceDate, calendar);
    if (!dayDate) return std::nullopt;

    std::optional<platform::Date> answer;
    if (!calendar.isDateInSameDay(*dayDate, referenceDate)) {
        answer = calendar.dateBySettingHour(preferred->hour, preferred->minute, 0, *dayDate);
    } else {
        for (const DialReading& reading : readings) {
            const auto today = calendar.dateBySettingHour(reading.hour, reading.minute, 0, *dayDate);
            if (today && *today >= threshold) {
                answer = today;
                break;
            }
        }
        if (!answer) {
            const auto later =
                calendar.nextDate(*dayDate, DateComponents{.day = day}, platform::MatchingPolicy::strict);
            if (later) answer = calendar.dateBySettingHour(preferred->hour, preferred->minute, 0, *later);
        }
    }
    if (!answer) return std::nullopt;
    return dueComponents(calendar, *answer, true);
}

}  // namespace tavlin::parsing::QuickAddParser
