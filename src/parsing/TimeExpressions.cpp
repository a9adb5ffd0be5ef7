#include "parsing/TimeExpressions.h"

#include "parsing/WordSet.h"
#include "platform/Regex.h"

#include <optional>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::Regex;

namespace {

const QString kMeridiem = u"[ap]\\.?\\s?m\\.?(?![\\p{L}])"_s;
const QString kHourLetterTime = u"\\b\\d{1,2}[hu](?:[0-5]\\d)?\\b"_s;
const QString kDottedTime = u"\\b(?:[01]?\\d|2[0-3])\\.(?:1[3-9]|[2-5]\\d)\\b"_s;

bool found(const QString& pattern, const QString& text) {
    const std::optional<Regex> regex = Regex::compile(pattern);
    return regex && regex->firstMatch(text);
}

// Each run of white space made one blank, the ends trimmed.
QString collapsedWhitespace(const QString& text) {
    return splitOnWhitespace(text).join(u' ');
}

// Digits that are not a duration in days or weeks ("3 days").
QString numberPattern(const ParserVocabulary& vocabulary) {
    const WordSet units = WordSet::unionOf(vocabulary.dayUnitWords.raw(), vocabulary.weekUnitWords.raw());
    const QString unitAlternation = WordSet::setAlternationPattern(units.folded());
    if (unitAlternation.isEmpty()) return u"\\d+(?!\\d)"_s;
    return u"\\d+(?!\\d|\\s*(?:"_s + unitAlternation + u")\\b)"_s;
}

}  // namespace

bool containsTimeExpression(const QString& text, const ParserVocabulary& vocabulary) {
    const QString folded = WordSet::fold(text);
    if (folded.contains(u':')) return true;
    if (found(u"\\d\\s*"_s + kMeridiem, folded)) return true;
    if (!vocabulary.timeWords.isEmpty() &&
        found(u"\\b(?:"_s + WordSet::setAlternationPattern(vocabulary.timeWords.folded()) + u")\\b"_s, folded))
        return true;
    if (found(kHourLetterTime, folded) || found(kDottedTime, folded)) return true;
    const QString number = numberPattern(vocabulary);
    const WordSet markers = WordSet::unionOf(vocabulary.locationMarkers.raw(), vocabulary.radiusPrepositions.raw());
    const QString locationAlternation = WordSet::alternationPattern(markers.raw());
    if (!locationAlternation.isEmpty() && found(u"\\b(?:"_s + locationAlternation + u")\\s+"_s + number, folded))
        return true;
    const QString clockAlternation = WordSet::setAlternationPattern(vocabulary.clockMarkers.folded());
    return !clockAlternation.isEmpty() && found(u"\\b(?:"_s + clockAlternation + u")\\s+"_s + number, folded);
}

bool hasDateBesideClockTime(const QString& text, const BoundDetector& detector, const ParserVocabulary& vocabulary) {
    QStringList explicitTimes = {
        u"\\d{1,2}:\\d{2}(?::\\d{2})?\\s*(?:"_s + kMeridiem + u")?"_s,
        u"\\d{1,2}\\s*"_s + kMeridiem,
        kHourLetterTime,
        kDottedTime,
    };
    if (!vocabulary.clockMarkers.isEmpty())
        explicitTimes.append(u"\\b(?:"_s + WordSet::alternationPattern(vocabulary.clockMarkers.raw()) +
                             u")\\s+(?:[01]?\\d|2[0-3])\\.[0-5]\\d\\b"_s);
    QString remainder = text;
    for (const QString& pattern : std::as_const(explicitTimes))
        if (const std::optional<Regex> regex = Regex::compile(pattern, Regex::Option::CaseInsensitive))
            remainder = regex->replacingMatches(remainder, u" "_s);
    remainder = collapsedWhitespace(remainder);
    return !remainder.isEmpty() && detector.firstMatch(remainder).has_value();
}

QString removeStandalonePhrase(const QString& phrase, const QString& text) {
    const std::optional<Regex> regex =
        Regex::compile(u"(?:^|\\s)"_s + Regex::escapedPattern(phrase) + u"(?=\\s|$)"_s, Regex::Option::CaseInsensitive);
    const std::optional<platform::RegexMatch> match = regex ? regex->firstMatch(text) : std::nullopt;
    if (!match) return text;
    const platform::TextRange range = match->range();
    return collapsedWhitespace(text.left(range.location) + text.mid(range.end()));
}

}  // namespace tavlin::parsing::QuickAddParser
