#include "parsing/PlaceRadiusTrigger.h"

#include "parsing/DateServices.h"
#include "parsing/Memo.h"
#include "parsing/PlaceSpans.h"
#include "parsing/TextHelpers.h"
#include "platform/CharacterSet.h"
#include "platform/Text.h"

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::RegexMatch;
using platform::TextRange;

namespace {

constexpr auto kCaseInsensitive = platform::Regex::Option::CaseInsensitive;
constexpr double kSmallestRadius = 25;
constexpr double kLargestRadius = 10000;

// A radius: a number and its unit, after a preposition ("within 500 m"),
// and alone at the start or the end of a place's name.
struct RadiusPatterns {
    std::optional<platform::Regex> afterPreposition;
    std::optional<platform::Regex> prepositionOptional;
    std::optional<platform::Regex> leading;
    std::optional<platform::Regex> trailing;
};

RadiusPatterns makeRadiusPatterns(const ParserVocabulary& vocabulary) {
    const QString units = WordSet::unionOf({u"m"_s, u"km"_s}, vocabulary.radiusUnitWords.raw()).alternation();
    const QString number = u"\\b(\\d{1,5})\\s*("_s + units + u")\\b\\.?"_s;
    RadiusPatterns patterns;
    if (vocabulary.radiusPrepositions.isEmpty()) {
        patterns.prepositionOptional = compileRegex(number, kCaseInsensitive);
    } else {
        const QString preposition = u"(?:\\b(?:"_s + vocabulary.radiusPrepositions.alternation() + u")\\s+)"_s;
        patterns.afterPreposition = compileRegex(preposition + number, kCaseInsensitive);
        patterns.prepositionOptional = compileRegex(preposition + u"?"_s + number, kCaseInsensitive);
    }
    patterns.leading = compileRegex(u"^\\s*(\\d{1,5})\\s*("_s + units + u")\\b\\.?"_s, kCaseInsensitive);
    patterns.trailing = compileRegex(u"\\s+(\\d{1,5})\\s*("_s + units + u")\\.?$"_s, kCaseInsensitive);
    return patterns;
}

RadiusPatterns radiusPatterns(const ParserVocabulary& vocabulary) {
    static Memo<RadiusPatterns> patterns;
    return patterns.get([&] { return makeRadiusPatterns(vocabulary); }, vocabulary.radiusPrepositions,
                        vocabulary.radiusUnitWords);
}

// "500 m of rope": a word of the set opens the text.
bool startsWithPartitive(const QString& text, const ParserVocabulary& vocabulary) {
    static Memo<std::optional<platform::Regex>> patterns;
    const auto partitive = patterns.get(
        [&] { return compileRegex(u"^(?:"_s + vocabulary.partitiveWords.alternation() + u")\\b"_s, kCaseInsensitive); },
        vocabulary.partitiveWords);
    return partitive && partitive->firstMatch(text);
}

// The radius in metres of a number and its unit, when it lies in range.
std::optional<double> metres(const RegexMatch& match, const QString& text) {
    bool isNumber = false;
    double value = match.captured(text, 1).toDouble(&isNumber);
    if (!isNumber) return std::nullopt;
    if (WordSet::fold(match.captured(text, 2)) == u"km"_s) value *= 1000;
    if (value < kSmallestRadius || value > kLargestRadius) return std::nullopt;
    return value;
}

QString leadInPattern(const ParserVocabulary& vocabulary) {
    if (vocabulary.locationLeadIns.isEmpty()) return {};
    return u"(?:(?:"_s + vocabulary.locationLeadIns.alternation() + u")\\s+){0,2}"_s;
}

struct PurposeSplit {
    QString name;
    std::optional<QString> clause;  // given back to the line
};

// "store to buy milk" → the place "store" and the clause "to buy milk".
PurposeSplit splitPurposeClause(const QString& tail, const ParserVocabulary& vocabulary) {
    if (vocabulary.purposeMarkers.isEmpty()) return {tail, std::nullopt};
    static Memo<std::optional<platform::Regex>> patterns;
    const auto pattern = patterns.get(
        [&] {
            return compileRegex(u"\\s+(?:"_s + vocabulary.purposeMarkers.alternation() + u")\\s+\\S+\\s+\\S+"_s,
                                kCaseInsensitive);
        },
        vocabulary.purposeMarkers);
    const auto match = pattern ? pattern->firstMatch(tail) : std::nullopt;
    if (!match) return {tail, std::nullopt};
    const QString name = platform::trimmedWhitespace(tail.left(match->range().location));
    if (name.isEmpty()) return {tail, std::nullopt};
    return {name, platform::trimmedWhitespace(tail.mid(match->range().location))};
}

// A radius at the start (`leading`) or the end of a place text, taken out of it.
std::optional<double> extractRadiusFromPlace(QString& text, bool leading, const ParserVocabulary& vocabulary) {
    if (!containsDecimalDigit(text)) return std::nullopt;
    const RadiusPatterns patterns = radiusPatterns(vocabulary);
    const auto& pattern = leading ? patterns.leading : patterns.trailing;
    const auto match = pattern ? pattern->firstMatch(text) : std::nullopt;
    if (!match) return std::nullopt;
    const std::optional<double> radius = metres(*match, text);
    if (!radius) return std::nullopt;
    const QString unit = WordSet::fold(match->captured(text, 2));
    const bool writtenTogether =
        match->range(2).location == match->range(1).end() && (unit == u"m"_s || unit == u"km"_s);
    QString remainder = text;
    remainder.remove(match->range().location, match->range().length);
    remainder = platform::trimmedWhitespace(remainder);

    bool accepted = false;
    if (leading) {
        // "500m run" takes a radius, "500 m of rope" does not.
        accepted = remainder.isEmpty();
        if (!accepted && writtenTogether) {
            accepted = vocabulary.partitiveWords.isEmpty() || !startsWithPartitive(remainder, vocabulary);
        }
    } else {
        accepted = !remainder.isEmpty();  // "@500m" keeps its name
    }
    if (!accepted) return std::nullopt;
    text = remainder;
    return radius;
}

PlaceAndTrigger extractQuotedPlace(QString& text, const ParserVocabulary& vocabulary, bool allowRadius) {
    for (const RegexMatch& match : quotedPlaceMatches(text, vocabulary)) {
        const std::optional<QString> name = quotedPlaceName(match, text);
        if (!name) continue;
        QString before = text.left(match.range().location);
        QString after = text.mid(match.range().end());
        PlaceAndTrigger result{.name = name};
        if (stripLeavePhrase(before, vocabulary)) result.trigger = LocationTrigger::leave;
        if (allowRadius) result.radius = extractRadiusFromPlace(after, true, vocabulary);
        text = collapseWhitespace(before + u" "_s + after);
        return result;
    }
    return {};
}

}  // namespace

PlaceScanTexts placeScanTexts(const QString& text, const ParserVocabulary& vocabulary) {
    const std::vector<TextRange> quoted = quotedPlaceRanges(text, vocabulary);
    if (!quoted.empty()) {
        const QString scan = blankingRanges(quoted, text);
        return {scan, scan};
    }
    const auto match = unquotedPlaceMatch(text, vocabulary);
    if (!match) return {text, text};
    const qsizetype tailStart = match->range().location;
    const QString adverbScan = blankingRanges({TextRange::fromBounds(tailStart, text.size())}, text);
    const auto cadence = cadenceStartInPlaceTail(text, tailStart, text.size() - tailStart, vocabulary);
    if (!cadence) return {adverbScan, adverbScan};
    return {blankingRanges({TextRange::fromBounds(tailStart, cadence->location)}, text), adverbScan};
}

std::optional<double> extractRadius(QString& text, const ParserVocabulary& vocabulary, bool requirePreposition) {
    if (!containsDecimalDigit(text)) return std::nullopt;
    const RadiusPatterns patterns = radiusPatterns(vocabulary);
    const auto& pattern = requirePreposition ? patterns.afterPreposition : patterns.prepositionOptional;
    const auto match = pattern ? pattern->firstMatch(text) : std::nullopt;
    if (!match) return std::nullopt;
    const std::optional<double> radius = metres(*match, text);
    if (!radius) return std::nullopt;  // later matches are not tried
    text.remove(match->range().location, match->range().length);
    text = collapseWhitespace(text);
    return radius;
}

PlaceAndTrigger extractPlaceAndTrigger(QString& text, const ParserVocabulary& vocabulary, bool allowRadius) {
    if (!text.contains(u'@')) return {};  // every place is written with one
    if (PlaceAndTrigger quoted = extractQuotedPlace(text, vocabulary, allowRadius); quoted.name) return quoted;
    const auto match = unquotedPlaceMatch(text, vocabulary);
    if (!match || !match->range(1).isFound()) return {};
    const QString tail = platform::trimmedWhitespace(match->captured(text, 1));
    if (tail.isEmpty()) return {};

    PurposeSplit split = splitPurposeClause(tail, vocabulary);
    QString line = text;
    line.remove(match->range().location, match->range().length);
    PlaceAndTrigger result;
    if (stripLeavePhrase(line, vocabulary)) result.trigger = LocationTrigger::leave;
    if (split.clause) line += u" "_s + *split.clause;
    text = collapseWhitespace(line);
    if (allowRadius) result.radius = extractRadiusFromPlace(split.name, false, vocabulary);
    result.name = split.name;
    return result;
}

bool stripLeavePhrase(QString& text, const ParserVocabulary& vocabulary) {
    if (vocabulary.leaveWords.isEmpty()) return false;
    // Guarded by its ending: the lead-ins before it are slow to look for.
    static Memo<GuardedPattern> patterns;
    const GuardedPattern leave = patterns.get(
        [&] {
            const QString articles = vocabulary.articles.alternationOrNever();
            return compileGuarded(
                u"\\s*"_s + leadInPattern(vocabulary),
                u"(?:"_s + vocabulary.leaveWords.alternation() + u")(?:\\s+(?:"_s + articles + u"))?\\s*$"_s, QString(),
                kCaseInsensitive, vocabulary.leaveWords);
        },
        vocabulary.leaveWords, vocabulary.articles, vocabulary.locationLeadIns);
    const auto match = leave.firstMatch(text, {0, text.size()});
    if (!match || match->range().isEmpty()) return false;
    const TextRange found = match->range();
    text.remove(found.location, found.length);
    return true;
}

}  // namespace tavlin::parsing::QuickAddParser
