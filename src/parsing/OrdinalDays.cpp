#include "parsing/OrdinalDays.h"

#include "parsing/Memo.h"
#include "parsing/TextHelpers.h"
#include "parsing/TimeExpressions.h"
#include "platform/Text.h"

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::CalendarComponent;
using platform::DateComponents;
using platform::TextRange;

namespace {

constexpr auto kCaseInsensitive = platform::Regex::Option::CaseInsensitive;

// Each connector word before the number must belong, with the suffix, to
// some one language (each word may find its own).
bool connectorsFitSuffix(const QString& words, const QString& suffix) {
    const QString foldedSuffix = WordSet::fold(suffix);
    for (const QString& word : splitOnWhitespace(words)) {
        const QString folded = WordSet::fold(word);
        bool fits = false;
        for (const QString& code : ParserVocabulary::supportedLanguageCodes()) {
            const ParserVocabulary* table = ParserVocabulary::languageTable(code);
            if (table && table->ordinalSuffixes.containsFolded(foldedSuffix) &&
                table->connectors.containsFolded(folded)) {
                fits = true;
                break;
            }
        }
        if (!fits) return false;
    }
    return true;
}

// No words before `start`, or one clock marker or connector.
bool opensTheLine(const QString& text, qsizetype start, const ParserVocabulary& vocabulary) {
    const QStringList words = splitOnWhitespace(text.left(start));
    if (words.isEmpty()) return true;
    if (words.size() > 1) return false;
    const QString folded = WordSet::fold(words.first());
    return vocabulary.clockMarkers.containsFolded(folded) || vocabulary.connectors.containsFolded(folded);
}

bool onlyBlanksBetween(const QString& text, qsizetype from, qsizetype to) {
    return platform::trimmedWhitespace(text.mid(from, to - from)).isEmpty();
}

bool isPunctuation(const QString& text, qsizetype at) {
    return platform::isPunctuationCharacter(platform::characterAt(text, at));
}

// Whether what follows an ordinal lets it be a date: the end, punctuation,
// or a date word ("the 5th of May"), but not "5th-floor" or "5th floor".
bool ordinalTailAllowsDate(const QString& tail, const ParserVocabulary& vocabulary) {
    if (!tail.isEmpty() && (tail[0] == u'-' || tail[0] == u'\u2013' || tail[0] == u'\u2014'))
        return false;  // "5th-floor"
    qsizetype at = 0;
    while (at < tail.size() && tail[at].isSpace()) ++at;
    if (at >= tail.size() || isPunctuation(tail, at)) return true;
    qsizetype end = at;
    while (end < tail.size() && !tail[end].isSpace() && !isPunctuation(tail, end)) ++end;
    return vocabulary.dateFunctionWords.contains(tail.mid(at, end - at));
}

// Whether the ordinal at `start` comes right after a time that opens the
// line ("9am the 3rd buy milk").
bool ordinalFollowsLeadingTime(qsizetype start, const QString& text, const BoundDetector& detector,
                               const std::vector<platform::DetectedDate>& detectorMatches,
                               const std::vector<RuleDateCandidate>& earlierCandidates,
                               const ParserVocabulary& vocabulary) {
    for (const RuleDateCandidate& candidate : earlierCandidates) {
        const qsizetype end = candidate.range.end();
        if (end <= start && onlyBlanksBetween(text, end, start) &&
            opensTheLine(text, candidate.range.location, vocabulary))
            return true;
    }
    for (const platform::DetectedDate& match : detectorMatches) {
        const qsizetype end = match.range.end();
        if (end > start || !onlyBlanksBetween(text, end, start)) continue;
        if (!opensTheLine(text, match.range.location, vocabulary)) continue;
        const QString matched = textAt(text, match.range);
        if (!containsTimeExpression(matched, vocabulary)) continue;
        if (!hasDateBesideClockTime(matched, detector, vocabulary)) return true;
    }
    return false;
}

// "5th", "on the 5th": up to two connector words, a day number and its
// suffix, guarded by the number and its suffix.
GuardedPattern ordinalPattern(const ParserVocabulary& vocabulary) {
    static Memo<GuardedPattern> patterns;
    return patterns.get(
        [&] {
            const QString prefix = vocabulary.connectors.isEmpty()
                                       ? QString()
                                       : u"(?:(?:"_s + vocabulary.connectors.alternation() + u")\\s+){0,2}"_s;
            return compileGuarded(u"(?:^|\\s)("_s + prefix,
                                  u"(\\d{1,2})("_s + vocabulary.ordinalSuffixes.alternation() + u")"_s, u")\\b"_s,
                                  kCaseInsensitive);
        },
        vocabulary.connectors, vocabulary.ordinalSuffixes);
}

// "next week friday" in one grammar, guarded by "next week".
GuardedPattern nextWeekWeekdayPattern(const RecurrenceGrammar& grammar) {
    static Memo<GuardedPattern> patterns;
    return patterns.get(
        [&] {
            return compileGuarded(u"(?:^|\\s)("_s,
                                  u"(?:"_s + grammar.nextWords.alternation() + u")\\s+(?:"_s +
                                      grammar.weekWords.alternation() + u")\\s+"_s,
                                  u"("_s + grammar.weekdayNames.alternation() + u"))(?=[\\s,;:.!?]|$)"_s,
                                  kCaseInsensitive, grammar.nextWords);
        },
        grammar.nextWords, grammar.weekWords, grammar.weekdayNames);
}

}  // namespace

std::vector<RuleDateCandidate> ordinalDayCandidates(const QString& text, TextRange range, platform::Date referenceDate,
                                                    const platform::Calendar& calendar,
                                                    const ParserVocabulary& vocabulary, const BoundDetector& detector,
                                                    const std::vector<platform::DetectedDate>& detectorMatches,
                                                    const std::vector<RuleDateCandidate>& earlierCandidates) {
    std::vector<RuleDateCandidate> candidates;
    if (vocabulary.ordinalSuffixes.isEmpty() || !containsDecimalDigit(text)) return candidates;
    for (const platform::RegexMatch& match : ordinalPattern(vocabulary).matches(text, range)) {
        const TextRange phrase = match.range(1);
        const TextRange number = match.range(2);
        if (!connectorsFitSuffix(text.mid(phrase.location, number.location - phrase.location), match.captured(text, 3)))
            continue;
        bool isNumber = false;
        const int day = match.captured(text, 2).toInt(&isNumber);
        if (!isNumber || day < 1 || day > 31) continue;
        if (!ordinalTailAllowsDate(text.mid(phrase.end()), vocabulary) &&
            !ordinalFollowsLeadingTime(phrase.location, text, detector, detectorMatches, earlierCandidates, vocabulary))
            continue;
        const auto date = firstDayNumbered(day, referenceDate, calendar);
        if (!date) continue;
        candidates.push_back({.range = phrase,
                              .components = dueComponents(calendar, *date, false),
                              .kind = RuleDateCandidate::Kind::ordinal});
    }
    return candidates;
}

std::vector<RuleDateCandidate> nextWeekWeekdayCandidates(const QString& text, TextRange range,
                                                         platform::Date referenceDate,
                                                         const platform::Calendar& calendar,
                                                         const ParserVocabulary& vocabulary,
                                                         const std::vector<platform::DetectedDate>& detectorMatches) {
    std::vector<RuleDateCandidate> candidates;
    for (const RecurrenceGrammar& grammar : vocabulary.recurrenceGrammars) {
        if (grammar.nextWords.isEmpty() || grammar.weekWords.isEmpty() || grammar.weekdayNames.isEmpty()) continue;
        for (const platform::RegexMatch& match : nextWeekWeekdayPattern(grammar).matches(text, range)) {
            const auto weekday = grammar.weekdayIndex.constFind(WordSet::fold(match.captured(text, 2)));
            if (weekday == grammar.weekdayIndex.cend()) continue;
            const auto week = calendar.dateInterval(CalendarComponent::WeekOfYear, referenceDate);
            if (!week) continue;
            const auto nextWeek = calendar.dateByAdding(CalendarComponent::Day, 7, week->start);
            if (!nextWeek) continue;
            const auto date = keptNextDate(calendar, nextWeek->addingTimeInterval(-1),
                                           DateComponents{.weekday = *weekday}, platform::MatchingPolicy::nextTime);
            if (!date) continue;

            RuleDateCandidate candidate{.range = match.range(1),
                                        .components = dueComponents(calendar, *date, false),
                                        .kind = RuleDateCandidate::Kind::day};
            // The detector's overlapping match ("Friday at 3pm") joins the
            // phrase and brings its time.
            for (const platform::DetectedDate& detected : detectorMatches) {
                if (!detected.range.intersects(candidate.range)) continue;
                candidate.range = candidate.range.unionWith(detected.range);
                if (candidate.components.hour) continue;
                if (!containsTimeExpression(textAt(text, detected.range), vocabulary)) continue;
                const DialReading time = hourAndMinute(calendar, detected.date);
                candidate.components.hour = time.hour;
                candidate.components.minute = time.minute;
            }
            candidate.hasTime = candidate.components.hour.has_value();
            candidates.push_back(std::move(candidate));
        }
    }
    return candidates;
}

}  // namespace tavlin::parsing::QuickAddParser
