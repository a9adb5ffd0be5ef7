#include "parsing/ClockDial.h"

#include "parsing/DateServices.h"
#include "parsing/Memo.h"
#include "parsing/TextHelpers.h"
#include "platform/Text.h"

#include <charconv>
#include <climits>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::CalendarComponent;
using platform::RegexMatch;

namespace {

constexpr auto kCaseInsensitive = platform::Regex::Option::CaseInsensitive;

enum class Meridiem { none, am, pm };

// The three families of dial phrases, each nothing when the vocabulary
// lacks its words.
struct DialPatterns {
    GuardedPattern quarter;  // "quarter past 3", guarded by "quarter past"
    LazyRegex minutes;       // "20 past 4", "at 10 to 5"
    WordProbe directions;    // of "minutes", which holds one
    GuardedPattern half;     // "um halb 5", guarded by "um halb"
};

DialPatterns makeDialPatterns(const ParserVocabulary& vocabulary) {
    const WordSet directions = WordSet::unionOf(vocabulary.pastDirectionWords.raw(), vocabulary.toDirectionWords.raw());
    const QString direction = directions.alternation();
    QStringList hourWords;
    for (const auto& [word, value] : vocabulary.clockHourWords) hourWords.append(word);
    const QString words = WordSet(hourWords).alternation();
    const QString hour = words.isEmpty() ? u"\\d{1,2}"_s : u"\\d{1,2}|(?:"_s + words + u")"_s;
    const QString meridiemTail = u"(?:\\s*([ap]\\.?\\s?m\\.?"_s + noLetterAfterCaseInsensitive() + u"))?)\\b(?!:)"_s;

    DialPatterns patterns;
    if (!vocabulary.quarterWords.isEmpty() && !direction.isEmpty())
        patterns.quarter = compileGuarded(
            u"(?:^|\\s)("_s, u"("_s + vocabulary.quarterWords.alternation() + u")\\s+("_s + direction + u")\\s+"_s,
            u"("_s + hour + u")"_s + meridiemTail, kCaseInsensitive, vocabulary.quarterWords);
    if (!direction.isEmpty()) {
        patterns.directions = WordProbe(directions);
        patterns.minutes =
            LazyRegex(u"(?:^|\\s)((?:("_s + vocabulary.clockMarkers.alternationOrNever() + u")\\s+)?(\\d{1,2})\\s+("_s +
                          direction + u")\\s+("_s + hour + u")"_s + meridiemTail,
                      kCaseInsensitive);
    }
    if (!vocabulary.clockMarkers.isEmpty() && !vocabulary.halfWords.isEmpty())
        patterns.half =
            compileGuarded(u"(?:^|\\s)("_s,
                           u"("_s + vocabulary.clockMarkers.alternation() + u")\\s+("_s +
                               vocabulary.halfWords.alternation() + u")\\s+"_s,
                           u"("_s + hour + u")"_s + meridiemTail, kCaseInsensitive, vocabulary.clockMarkers);
    return patterns;
}

DialPatterns dialPatterns(const ParserVocabulary& vocabulary) {
    static Memo<DialPatterns> patterns;
    return patterns.get([&] { return makeDialPatterns(vocabulary); }, vocabulary.pastDirectionWords,
                        vocabulary.toDirectionWords, vocabulary.clockHourWords, vocabulary.quarterWords,
                        vocabulary.clockMarkers, vocabulary.halfWords);
}

Meridiem meridiemOf(const RegexMatch& match, const QString& text, int group) {
    const std::optional<QString> mark = capturedIfFound(match, text, group);
    if (!mark) return Meridiem::none;
    return platform::lowercasedPosix(*mark).startsWith(u'p') ? Meridiem::pm : Meridiem::am;
}

// +1 for a word of "past", -1 for a word of "to", 0 for neither.
int directionSign(const QString& word, const ParserVocabulary& vocabulary) {
    const QString folded = WordSet::fold(word);
    if (vocabulary.pastDirectionWords.containsFolded(folded)) return 1;
    if (vocabulary.toDirectionWords.containsFolded(folded)) return -1;
    return 0;
}

bool isDialHour(const std::optional<int>& hour) { return hour && *hour >= 1 && *hour <= 12; }

struct DialTime {
    platform::DateComponents components;
    std::vector<DialReading> dialReadings;
};
// The next occurrence, from a minute before the reference on, of `hour`
// (1–12) moved by `minuteOffset`; without a meridiem also 12 hours later.
std::optional<DialTime> resolveDialTime(int hour, int minuteOffset, Meridiem meridiem, platform::Date referenceDate,
                                        const platform::Calendar& calendar) {
    const int hourToSet = meridiem == Meridiem::none ? hour : hour % 12 + (meridiem == Meridiem::pm ? 12 : 0);
    const auto base = calendar.dateBySettingHour(hourToSet, 0, 0, referenceDate);
    if (!base) return std::nullopt;
    const auto first = calendar.dateByAdding(CalendarComponent::Minute, minuteOffset, *base);
    if (!first) return std::nullopt;
    const auto nextDay = calendar.dateByAdding(CalendarComponent::Day, 1, *first);
    if (!nextDay) return std::nullopt;

    std::vector<platform::Date> readings = {*first};
    if (meridiem == Meridiem::none)
        if (const auto later = calendar.dateByAdding(CalendarComponent::Hour, 12, *first)) readings.push_back(*later);
    DialTime result;
    for (const platform::Date reading : readings) result.dialReadings.push_back(hourAndMinute(calendar, reading));

    const platform::Date threshold = earliestAhead(referenceDate);
    readings.push_back(*nextDay);
    for (const platform::Date reading : readings) {
        if (reading < threshold) continue;
        result.components = dueComponents(calendar, reading, true);
        return result;
    }
    return std::nullopt;
}

void appendResolved(std::vector<RuleDateCandidate>& candidates, const RegexMatch& match, int hour, int offset,
                    Meridiem meridiem, platform::Date referenceDate, const platform::Calendar& calendar) {
    const std::optional<DialTime> time = resolveDialTime(hour, offset, meridiem, referenceDate, calendar);
    if (!time) return;
    candidates.push_back({.range = match.range(1),
                          .components = time->components,
                          .hasTime = true,
                          .kind = RuleDateCandidate::Kind::clock,
                          .dialReadings = time->dialReadings});
}

// An optional sign and ASCII digits only, within 64 bits.
std::optional<long long> asciiInteger(const QString& token) {
    const qsizetype digitsFrom = token.startsWith(u'+') || token.startsWith(u'-') ? 1 : 0;
    if (token.size() == digitsFrom) return std::nullopt;
    for (qsizetype i = digitsFrom; i < token.size(); ++i)
        if (token[i] < u'0' || token[i] > u'9') return std::nullopt;
    const QByteArray ascii = token.mid(token.startsWith(u'+') ? 1 : 0).toLatin1();
    long long value = 0;
    const auto [stop, error] = std::from_chars(ascii.cbegin(), ascii.cend(), value);
    if (error != std::errc() || stop != ascii.cend()) return std::nullopt;
    return value;
}

}  // namespace

std::vector<RuleDateCandidate> clockPhraseCandidates(const QString& text, platform::TextRange range,
                                                     platform::Date referenceDate, const platform::Calendar& calendar,
                                                     const ParserVocabulary& vocabulary) {
    std::vector<RuleDateCandidate> candidates;
    const DialPatterns patterns = dialPatterns(vocabulary);

    for (const RegexMatch& match : patterns.quarter.matches(text, range)) {
        const QString quarter = match.captured(text, 2);
        const QString direction = match.captured(text, 3);
        const int sign = directionSign(direction, vocabulary);
        if (sign == 0 || !ParserVocabulary::isQuarterPhrase(quarter, direction, std::nullopt)) continue;
        const auto hour = clockNumber(match.captured(text, 4), quarter, direction, std::nullopt, std::nullopt);
        if (!isDialHour(hour)) continue;
        appendResolved(candidates, match, *hour, 15 * sign, meridiemOf(match, text, 5), referenceDate, calendar);
    }

    const platform::TextRange within = range.clampedTo(text.size());
    const std::vector<RegexMatch> minuteMatches =
        containsDecimalDigit(text) &&
                patterns.directions.mayContain(QStringView(text).sliced(within.location, within.length)) &&
                patterns.minutes.get()
            ? patterns.minutes.get()->matches(text, range)
            : std::vector<RegexMatch>{};
    for (const RegexMatch& match : minuteMatches) {
        const std::optional<QString> marker = capturedIfFound(match, text, 2);
        const QString direction = match.captured(text, 4);
        const int sign = directionSign(direction, vocabulary);
        const int minutes = match.captured(text, 3).toInt();
        if (sign == 0 || minutes < 1 || minutes > 30) continue;
        if (sign < 0 && !marker) continue;  // "10 to 5" alone is no time
        if (!ParserVocabulary::isQuarterPhrase(std::nullopt, direction, marker)) continue;
        const auto hour = clockNumber(match.captured(text, 5), std::nullopt, direction, marker, std::nullopt);
        if (!isDialHour(hour)) continue;
        appendResolved(candidates, match, *hour, minutes * sign, meridiemOf(match, text, 6), referenceDate, calendar);
    }

    for (const RegexMatch& match : patterns.half.matches(text, range)) {
        const QString marker = match.captured(text, 2);
        const QString half = match.captured(text, 3);
        const auto direction = ParserVocabulary::halfHourDirectionFor(marker, half);
        if (!direction) continue;
        const auto hour = clockNumber(match.captured(text, 4), std::nullopt, std::nullopt, marker, half);
        if (!isDialHour(hour)) continue;
        const int offset = *direction == HalfHourDirection::beforeTheHour ? -30 : 30;
        appendResolved(candidates, match, *hour, offset, meridiemOf(match, text, 5), referenceDate, calendar);
    }
    return candidates;
}

std::optional<int> clockNumber(const QString& token, const std::optional<QString>& quarterWord,
                               const std::optional<QString>& directionWord, const std::optional<QString>& clockMarker,
                               const std::optional<QString>& halfWord) {
    if (const std::optional<long long> number = asciiInteger(token)) {
        // Beyond an int no number is an hour; callers only take 1 to 12.
        if (*number < INT_MIN || *number > INT_MAX) return INT_MAX;
        return static_cast<int>(*number);
    }
    return ParserVocabulary::clockHourValue(token, quarterWord, directionWord, clockMarker, halfWord);
}

}  // namespace tavlin::parsing::QuickAddParser
