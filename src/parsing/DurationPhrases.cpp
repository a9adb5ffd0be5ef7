#include "parsing/DurationPhrases.h"

#include "parsing/DateServices.h"
#include "parsing/Memo.h"
#include "parsing/TextHelpers.h"

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::CalendarComponent;
using platform::RegexMatch;

namespace {

// Groups of the pattern.
enum Group {
    kPhrase = 1,
    kMarker = 2,
    kNumberBeforeHalf = 3,
    kHalf = 4,
    kNumberAfterHalf = 5,
    kOneAndAHalf = 6,
    kDigits = 7,
    kOne = 8,
    kMinuteUnit = 9,
    kHourUnit = 10,
    kDayUnit = 11,
    kWeekUnit = 12,
    kHalfHourUnit = 13,
};

struct UnitRow {
    Group group;
    CalendarComponent component;
    int largestAmount;
    int multiplier;
    bool hasTime;
};

constexpr UnitRow kUnits[] = {
    {kMinuteUnit, CalendarComponent::Minute, 720, 1, true},   {kHourUnit, CalendarComponent::Hour, 168, 1, true},
    {kDayUnit, CalendarComponent::Day, 366, 1, false},        {kWeekUnit, CalendarComponent::Day, 52, 7, false},
    {kHalfHourUnit, CalendarComponent::Minute, 24, 30, true},
};

QString durationPattern(const ParserVocabulary& v) {
    const QString one = v.oneWords.alternationOrNever();
    return u"(?:^|\\s)(((?:"_s + v.durationMarkers.alternationOrNever() + u"))\\s+"_s +  //
           u"(?:(?:("_s + one + u")\\s+)?("_s + v.halfWords.alternationOrNever() + u")(?:\\s+("_s + one +
           u"))?\\s+"_s +                                                    //
           u"|("_s + v.oneAndAHalfWords.alternationOrNever() + u")\\s+"_s +  //
           u"|(\\d{1,3})\\s*"_s +                                            //
           u"|("_s + one + u")(?:\\s+|['’])"_s +                             //
           u")(?:("_s + v.minuteUnitWords.alternationOrNever() +             //
           u")|("_s + v.hourUnitWords.alternationOrNever() +                 //
           u")|("_s + v.dayUnitWords.alternationOrNever() +                  //
           u")|("_s + v.weekUnitWords.alternationOrNever() +                 //
           u")|("_s + v.halfHourUnitWords.alternationOrNever() + u")))\\b(?!['’\\-–—])"_s;
}

const UnitRow& unitOf(const RegexMatch& match) {
    for (const UnitRow& row : kUnits)
        if (match.range(row.group).isFound()) return row;
    return kUnits[4];
}

struct Reading {
    std::optional<platform::Date> moment;
    bool hasTime = false;
    bool rejected = false;  // the words belong to no single language
};

Reading readFraction(const RegexMatch& match, const QString& text, const UnitRow& unit, platform::Date reference,
                     const platform::Calendar& calendar) {
    if (unit.group != kMinuteUnit && unit.group != kHourUnit) return {};  // "in half a day"
    const bool half = match.range(kHalf).isFound();
    const QString fraction = *capturedIfFound(match, text, half ? kHalf : kOneAndAHalf);
    const std::optional<QString> before = capturedIfFound(match, text, kNumberBeforeHalf);
    const std::optional<QString> after = capturedIfFound(match, text, kNumberAfterHalf);
    if (before && after) return {};  // "in a half an hour"
    const std::optional<QString> number = before ? before : after;
    if (!ParserVocabulary::isDurationPhrase(match.captured(text, kMarker), number, fraction,
                                            match.captured(text, unit.group)))
        return {.rejected = true};
    if (unit.group != kHourUnit) return {};  // "in half a minute" is no whole minute
    return {calendar.dateByAdding(CalendarComponent::Minute, half ? 30 : 90, reference), true};
}

Reading readAmount(const RegexMatch& match, const QString& text, const UnitRow& unit, platform::Date reference,
                   const platform::Calendar& calendar) {
    int amount = 1;
    if (const auto digits = capturedIfFound(match, text, kDigits)) {
        bool isNumber = false;
        amount = digits->toInt(&isNumber);
        if (!isNumber) return {};
    }
    if (!ParserVocabulary::isDurationPhrase(match.captured(text, kMarker), capturedIfFound(match, text, kOne),
                                            std::nullopt, match.captured(text, unit.group)))
        return {.rejected = true};
    if (amount > unit.largestAmount) return {};
    return {calendar.dateByAdding(unit.component, amount * unit.multiplier, reference), unit.hasTime};
}

}  // namespace

DurationCandidates durationCandidates(const QString& text, platform::TextRange range, platform::Date referenceDate,
                                      const platform::Calendar& calendar, const ParserVocabulary& vocabulary) {
    DurationCandidates result;
    if (vocabulary.durationMarkers.isEmpty()) return result;
    // Guarded by what every phrase opens with: a marker word and a blank.
    static Memo<GuardedPattern> patterns;
    const GuardedPattern pattern = patterns.get(
        [&] {
            constexpr auto kCaseInsensitive = platform::Regex::Option::CaseInsensitive;
            return GuardedPattern{
                LazyRegex(durationPattern(vocabulary), kCaseInsensitive),
                LazyRegex(u"(?:"_s + vocabulary.durationMarkers.alternation() + u")\\s+"_s, kCaseInsensitive),
                WordProbe(vocabulary.durationMarkers)};
        },
        vocabulary.durationMarkers, vocabulary.oneWords, vocabulary.halfWords, vocabulary.oneAndAHalfWords,
        vocabulary.minuteUnitWords, vocabulary.hourUnitWords, vocabulary.dayUnitWords, vocabulary.weekUnitWords,
        vocabulary.halfHourUnitWords);

    for (const RegexMatch& match : pattern.matches(text, range)) {
        const UnitRow& unit = unitOf(match);
        const bool fraction = match.range(kHalf).isFound() || match.range(kOneAndAHalf).isFound();
        const Reading reading = fraction ? readFraction(match, text, unit, referenceDate, calendar)
                                         : readAmount(match, text, unit, referenceDate, calendar);
        if (reading.rejected) result.rejectedRanges.push_back(match.range(kPhrase));
        if (!reading.moment) continue;
        result.candidates.push_back({.range = match.range(kPhrase),
                                     .components = dueComponents(calendar, *reading.moment, reading.hasTime),
                                     .hasTime = reading.hasTime,
                                     .kind = RuleDateCandidate::Kind::duration});
    }
    return result;
}

}  // namespace tavlin::parsing::QuickAddParser
