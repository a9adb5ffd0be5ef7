#include "parsing/DateTimeStage.h"

#include "parsing/Cadence.h"
#include "parsing/ClockDial.h"
#include "parsing/DatePairing.h"
#include "parsing/DurationPhrases.h"
#include "parsing/OrdinalDays.h"
#include "parsing/PlaceSpans.h"
#include "parsing/TextHelpers.h"
#include "parsing/TimeExpressions.h"

#include <algorithm>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::CalendarComponent;
using platform::Date;
using platform::DateComponents;
using platform::DetectedDate;
using platform::TextRange;

namespace {

bool liesStrictlyWithin(TextRange inner, TextRange outer) { return outer.contains(inner) && inner != outer; }

bool touchesAny(TextRange range, const std::vector<TextRange>& ranges) {
    return std::any_of(ranges.begin(), ranges.end(), [&](TextRange r) { return range.intersects(r); });
}

bool liesStrictlyWithinAnyMatch(TextRange range, const std::vector<DetectedDate>& matches) {
    return std::any_of(matches.begin(), matches.end(),
                       [&](const DetectedDate& m) { return liesStrictlyWithin(range, m.range); });
}

struct Stage {
    const QString& text;
    Date reference;
    const platform::Calendar& calendar;
    const ParserVocabulary& vocabulary;
    bool isEditing;
    bool uses24HourClock;
    const BoundDetector& detector;
    std::vector<TextRange> places;
    Date soonLimit;

    Date limitFor(const QString& matched) const {
        return containsTimeExpression(matched, vocabulary) ? soonLimit : startOfReferenceDay(calendar, reference);
    }
    Date corrected(const DetectedDate& match, const QString& matched) const {
        return clockCorrected(match, matched, calendar, uses24HourClock);
    }

    // A time already past today, moved on at its hour and minute: to the next
    // day of the written number when it stands on that day, else to the day
    // after (unless that is past as well).
    std::optional<Date> rolledForward(Date date, std::optional<int> dayNumber) const {
        if (dayNumber && calendar.component(CalendarComponent::Day, date) == *dayNumber) {
            const DateComponents numbered{.day = *dayNumber};
            if (const auto next = calendar.nextDate(date, numbered, platform::MatchingPolicy::strict)) {
                const DialReading time = hourAndMinute(calendar, date);
                return calendar.dateBySettingHour(time.hour, time.minute, 0, *next);
            }
        }
        const auto later = calendar.dateByAdding(CalendarComponent::Day, 1, date);
        if (later && *later >= soonLimit) return later;
        return std::nullopt;
    }

    // hasDateBesideClockTime of the match, asked of the detector once.
    bool dateBesideClockTime(const QString& matched, std::optional<bool>& known) const {
        if (!known) known = hasDateBesideClockTime(matched, detector, vocabulary);
        return *known;
    }

    // A detector date read again without the match's first word ("last
    // friday" is not the coming one).
    std::optional<Date> retried(const QString& matched, std::optional<int> dayNumber,
                                std::optional<bool>& dateBesideTime) const {
        static const std::optional<platform::Regex> leadingWord = compileRegex(u"^[\\p{L}]+\\s+"_s);
        const auto word = leadingWord ? leadingWord->firstMatch(matched) : std::nullopt;
        if (!word) return std::nullopt;
        const QString rest = matched.mid(word->range().end());
        const auto match = detector.firstMatch(rest);
        if (!match) return std::nullopt;
        const Date date = corrected(*match, rest);
        if (date >= limitFor(rest)) return date;
        if (!containsTimeExpression(rest, vocabulary) || !calendar.isDateInSameDay(date, reference) ||
            dateBesideClockTime(matched, dateBesideTime))
            return std::nullopt;
        return rolledForward(date, dayNumber);
    }

    std::optional<Date> acceptedDate(const DetectedDate& match, const std::vector<RuleDateCandidate>& ordinals) const {
        const QString matched = textAt(text, match.range);
        const Date date = corrected(match, matched);
        std::optional<int> dayNumber;
        for (const RuleDateCandidate& ordinal : ordinals) {
            if (!match.range.contains(ordinal.range)) continue;
            dayNumber = ordinal.components.day;
            break;
        }
        if (isEditing || date >= limitFor(matched)) return date;
        std::optional<bool> dateBesideTime;
        // A bare time already past today moves on.
        const bool rollable = containsTimeExpression(matched, vocabulary) &&
                              calendar.isDateInSameDay(date, reference) &&
                              !dateBesideClockTime(matched, dateBesideTime);
        if (rollable)
            if (const auto moved = rolledForward(date, dayNumber)) return moved;
        return retried(matched, dayNumber, dateBesideTime);
    }

    std::optional<ChosenDate> choose(const DateCandidate& candidate,
                                     const std::vector<RuleDateCandidate>& ordinals) const {
        if (const auto* rule = std::get_if<RuleDateCandidate>(&candidate))
            return ChosenDate{rule->range, rule->components, rule->hasTime, rule->kind, rule->dialReadings};
        const DetectedDate& match = std::get<DetectedDate>(candidate);
        if (hidesItsTime(match, text, vocabulary)) return std::nullopt;
        const std::optional<Date> date = acceptedDate(match, ordinals);
        if (!date) return std::nullopt;
        const bool hasTime = detectedTime(match, text, vocabulary);
        return ChosenDate{match.range, dueComponents(calendar, *date, hasTime), hasTime, std::nullopt, {}};
    }
};

struct Gathered {
    std::vector<DateCandidate> candidates;    // in the order of the walk
    std::vector<RuleDateCandidate> ordinals;  // those not touching a place, for day numbers
};

Gathered gather(const Stage& stage) {
    const QString& text = stage.text;
    const TextRange whole{0, text.size()};
    const std::vector<DetectedDate> matches = stage.detector.matches(text);

    // Clear of the places, and not a piece of a longer detector match.
    const auto validRange = [&](TextRange r) {
        return !touchesAny(r, stage.places) && !liesStrictlyWithinAnyMatch(r, matches);
    };

    std::vector<RuleDateCandidate> clocks;
    for (RuleDateCandidate& c : clockPhraseCandidates(text, whole, stage.reference, stage.calendar, stage.vocabulary))
        if (validRange(c.range)) clocks.push_back(std::move(c));

    const DurationCandidates durations =
        durationCandidates(text, whole, stage.reference, stage.calendar, stage.vocabulary);
    std::vector<DetectedDate> clearOfPlaces;
    for (const DetectedDate& m : matches)
        if (!touchesAny(m.range, stage.places)) clearOfPlaces.push_back(m);

    std::vector<RuleDateCandidate> nextWeek;
    for (RuleDateCandidate& c :
         nextWeekWeekdayCandidates(text, whole, stage.reference, stage.calendar, stage.vocabulary, clearOfPlaces))
        if (!touchesAny(c.range, stage.places)) nextWeek.push_back(std::move(c));

    std::vector<RuleDateCandidate> keptDurations;
    for (const RuleDateCandidate& c : durations.candidates)
        if (validRange(c.range)) keptDurations.push_back(c);

    std::vector<DetectedDate> keptMatches;
    for (const DetectedDate& m : clearOfPlaces) {
        const auto anyRule = [&](const std::vector<RuleDateCandidate>& rules, auto holds) {
            return std::any_of(rules.begin(), rules.end(), [&](const RuleDateCandidate& r) { return holds(r.range); });
        };
        if (anyRule(clocks, [&](TextRange r) { return r.contains(m.range); }) ||
            anyRule(nextWeek, [&](TextRange r) { return r.intersects(m.range); }) ||
            anyRule(keptDurations, [&](TextRange r) { return liesStrictlyWithin(m.range, r); }))
            continue;
        if (!stage.isEditing && m.date < stage.limitFor(textAt(text, m.range)) &&
            std::any_of(durations.rejectedRanges.begin(), durations.rejectedRanges.end(),
                        [&](TextRange x) { return validRange(x) && liesStrictlyWithin(m.range, x); }))
            continue;
        keptMatches.push_back(m);
    }

    Gathered gathered;
    std::vector<RuleDateCandidate> ordinals;
    for (RuleDateCandidate& c : ordinalDayCandidates(text, whole, stage.reference, stage.calendar, stage.vocabulary,
                                                     stage.detector, clearOfPlaces, clocks))
        if (!touchesAny(c.range, stage.places)) gathered.ordinals.push_back(std::move(c));
    for (const RuleDateCandidate& c : gathered.ordinals)
        if (!liesStrictlyWithinAnyMatch(c.range, matches)) ordinals.push_back(c);

    for (const DetectedDate& m : keptMatches) gathered.candidates.emplace_back(m);
    for (const auto* rules : {&nextWeek, &keptDurations, &ordinals, &clocks})
        for (const RuleDateCandidate& c : *rules) gathered.candidates.emplace_back(c);

    // From the end of the line backwards; the detector first where both start.
    std::stable_sort(gathered.candidates.begin(), gathered.candidates.end(),
                     [](const DateCandidate& a, const DateCandidate& b) {
                         const qsizetype x = rangeOf(a).location, y = rangeOf(b).location;
                         if (x != y) return x > y;
                         return a.index() == 0 && b.index() == 1;
                     });
    return gathered;
}

QString joinedWithout(const QString& text, TextRange range) {
    return text.left(range.location) + u" "_s + text.mid(range.end());
}

}  // namespace

DateTimeResult extractDateTime(QString& text, Date referenceDate, const platform::Calendar& calendar,
                               const ParserVocabulary& vocabulary, bool isEditing,
                               const std::optional<QString>& previousDateText, bool uses24HourClock,
                               const BoundDetector& detector) {
    // Without a detector the rules' own dates (durations, dial phrases,
    // ordinal days, next week's days) still count.
    const Stage stage{text,
                      referenceDate,
                      calendar,
                      vocabulary,
                      isEditing,
                      uses24HourClock,
                      detector,
                      quotedPlaceRanges(text, vocabulary),
                      earliestAhead(referenceDate)};
    const Gathered gathered = gather(stage);

    std::optional<ChosenDate> chosen;
    for (const DateCandidate& candidate : gathered.candidates)
        if ((chosen = stage.choose(candidate, gathered.ordinals))) break;
    if (!chosen) return {};

    DateTimeResult result{.components = chosen->components, .hasTime = chosen->hasTime};
    const std::optional<PairedDate> paired = pairDateAndTime(*chosen, text, detector, gathered.candidates,
                                                             referenceDate, calendar, vocabulary, uses24HourClock);
    QString line;
    if (!paired) {
        const TextRange removal = includePrecedingMarker(chosen->range, text, vocabulary, stage.places);
        result.matchedText = textAt(text, removal);
        line = collapseWhitespace(joinedWithout(text, removal));
    } else {
        result.components = paired->components;
        result.hasTime = true;
        std::vector<TextRange> guarded = stage.places;
        guarded.push_back(paired->partnerRange);
        const TextRange chosenRange = includePrecedingMarker(chosen->range, text, vocabulary, guarded);
        guarded.back() = chosenRange;
        const TextRange partnerRange = includePrecedingMarker(paired->partnerRange, text, vocabulary, guarded);
        const TextRange first = chosenRange.location <= partnerRange.location ? chosenRange : partnerRange;
        const TextRange second = chosenRange.location <= partnerRange.location ? partnerRange : chosenRange;
        result.matchedText = textAt(text, first) + u" "_s + textAt(text, second);
        line = collapseWhitespace(joinedWithout(joinedWithout(text, second), first));
    }

    if (previousDateText && !previousDateText->isEmpty() &&
        WordSet::fold(*previousDateText) != WordSet::fold(*result.matchedText))
        line = removeStandalonePhrase(*previousDateText, line);
    text = line;
    return result;
}

}  // namespace tavlin::parsing::QuickAddParser
