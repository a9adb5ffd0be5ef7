#include "parsing/TimeExpressions.h"

#include "parsing/Memo.h"
#include "parsing/TextHelpers.h"
#include "parsing/WordSet.h"
#include "platform/Regex.h"

#include <algorithm>
#include <optional>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::Regex;

namespace {

const QString kMeridiem = u"[ap]\\.?\\s?m\\.?(?![\\p{L}])"_s;
const QString kHourLetterTime = u"\\b\\d{1,2}[hu](?:[0-5]\\d)?\\b"_s;
const QString kDottedTime = u"\\b(?:[01]?\\d|2[0-3])\\.(?:1[3-9]|[2-5]\\d)\\b"_s;

bool found(const std::optional<Regex>& regex, const QString& text) { return regex && regex->firstMatch(text); }

// Each run of white space made one blank, the ends trimmed.
QString collapsedWhitespace(const QString& text) { return splitOnWhitespace(text).join(u' '); }

// Digits that are not a duration in days or weeks ("3 days").
QString numberPattern(const ParserVocabulary& vocabulary) {
    const WordSet units = WordSet::unionOf(vocabulary.dayUnitWords.raw(), vocabulary.weekUnitWords.raw());
    const QString unitAlternation = units.foldedAlternation();
    if (unitAlternation.isEmpty()) return u"\\d+(?!\\d)"_s;
    return u"\\d+(?!\\d|\\s*(?:"_s + unitAlternation + u")\\b)"_s;
}

// The vocabulary's ways of stating a time, over folded text; nothing where
// the vocabulary lacks the words.
// A pattern led by an alternation of folded words, and the words: a text
// that holds none of them is not searched, as the pattern gives ICU no
// first character to skip to.
struct WordLedPattern {
    std::optional<Regex> regex;
    QStringList words;

    bool found(const QString& folded) const {
        return regex &&
               std::any_of(words.cbegin(), words.cend(), [&](const QString& w) { return folded.contains(w); }) &&
               regex->firstMatch(folded);
    }
};

struct TimeWordPatterns {
    WordLedPattern timeWord;             // "noon"
    WordLedPattern afterLocationMarker;  // "at 5", "in 3"
    WordLedPattern afterClockMarker;     // "um 5"
};

WordLedPattern wordLedPattern(const WordSet& words, const QString& rest) {
    if (words.isEmpty()) return {};
    return {Regex::compile(u"\\b(?:"_s + words.foldedAlternation() + u")"_s + rest), words.folded().values()};
}

TimeWordPatterns makeTimeWordPatterns(const ParserVocabulary& vocabulary) {
    const QString number = numberPattern(vocabulary);
    // Folded like the text it looks in: a marker with an accent or a final
    // sigma ("στις 5") matches too.
    return {wordLedPattern(vocabulary.timeWords, u"\\b"_s),
            wordLedPattern(WordSet::unionOf(vocabulary.locationMarkers.raw(), vocabulary.radiusPrepositions.raw()),
                           u"\\s+"_s + number),
            wordLedPattern(vocabulary.clockMarkers, u"\\s+"_s + number)};
}

TimeWordPatterns timeWordPatterns(const ParserVocabulary& vocabulary) {
    static Memo<TimeWordPatterns> patterns;
    return patterns.get([&] { return makeTimeWordPatterns(vocabulary); }, vocabulary.timeWords, vocabulary.dayUnitWords,
                        vocabulary.weekUnitWords, vocabulary.locationMarkers, vocabulary.radiusPrepositions,
                        vocabulary.clockMarkers);
}

// The explicit clock times, blanked one after the other.
std::vector<std::optional<Regex>> explicitTimePatterns(const WordSet& clockMarkers) {
    static Memo<std::vector<std::optional<Regex>>> patterns;
    return patterns.get(
        [&] {
            QStringList explicitTimes = {
                u"\\d{1,2}:\\d{2}(?::\\d{2})?\\s*(?:"_s + kMeridiem + u")?"_s,
                u"\\d{1,2}\\s*"_s + kMeridiem,
                kHourLetterTime,
                kDottedTime,
            };
            if (!clockMarkers.isEmpty())
                explicitTimes.append(u"\\b(?:"_s + clockMarkers.alternation() +
                                     u")\\s+(?:[01]?\\d|2[0-3])\\.[0-5]\\d\\b"_s);
            // The same for every vocabulary but the last, and slow to compile
            // (the letters after a meridiem, closed over case): kept once.
            std::vector<std::optional<Regex>> compiled;
            for (const QString& pattern : std::as_const(explicitTimes))
                compiled.push_back(Regex::cached(pattern, Regex::Option::CaseInsensitive));
            return compiled;
        },
        clockMarkers);
}

}  // namespace

bool containsTimeExpression(const QString& text, const ParserVocabulary& vocabulary) {
    static const std::optional<Regex> meridiem = Regex::compile(u"\\d\\s*"_s + kMeridiem);
    static const std::optional<Regex> hourLetterTime = Regex::compile(kHourLetterTime);
    static const std::optional<Regex> dottedTime = Regex::compile(kDottedTime);
    const QString folded = WordSet::fold(text);
    if (folded.contains(u':')) return true;
    const TimeWordPatterns patterns = timeWordPatterns(vocabulary);
    if (patterns.timeWord.found(folded)) return true;
    if (!containsDecimalDigit(folded)) return false;  // every other form has one
    if (found(meridiem, folded) || found(hourLetterTime, folded) || found(dottedTime, folded)) return true;
    return patterns.afterLocationMarker.found(folded) || patterns.afterClockMarker.found(folded);
}

bool hasDateBesideClockTime(const QString& text, const BoundDetector& detector, const ParserVocabulary& vocabulary) {
    QString remainder = text;
    if (containsDecimalDigit(text)) {  // every explicit time has one
        for (const std::optional<Regex>& regex : explicitTimePatterns(vocabulary.clockMarkers))
            if (regex) remainder = regex->replacingMatches(remainder, u" "_s);
    }
    remainder = collapsedWhitespace(remainder);
    return !remainder.isEmpty() && detector.firstMatch(remainder).has_value();
}

QString removeStandalonePhrase(const QString& phrase, const QString& text) {
    const std::optional<Regex> regex =
        Regex::cached(u"(?:^|\\s)"_s + Regex::escapedPattern(phrase) + u"(?=\\s|$)"_s, Regex::Option::CaseInsensitive);
    const std::optional<platform::RegexMatch> match = regex ? regex->firstMatch(text) : std::nullopt;
    if (!match) return text;
    const platform::TextRange range = match->range();
    return collapsedWhitespace(text.left(range.location) + text.mid(range.end()));
}

bool detectedTime(const platform::DetectedDate& match, const QString& line, const ParserVocabulary& vocabulary) {
    return match.timeWritten && containsTimeExpression(textAt(line, match.range), vocabulary);
}

bool hidesItsTime(const platform::DetectedDate& match, const QString& line, const ParserVocabulary& vocabulary) {
    return match.timeWritten && !match.partOfDay && !containsTimeExpression(textAt(line, match.range), vocabulary);
}

bool detectorReadsDay(const QString& text, const BoundDetector& detector) {
    const std::vector<platform::DetectedDate> matches = detector.matches(text);
    return std::any_of(matches.cbegin(), matches.cend(), [](const platform::DetectedDate& m) { return m.dayWritten; });
}

}  // namespace tavlin::parsing::QuickAddParser
