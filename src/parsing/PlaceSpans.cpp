#include "parsing/PlaceSpans.h"

#include "parsing/Cadence.h"
#include "parsing/Memo.h"
#include "parsing/TextHelpers.h"
#include "platform/CharacterSet.h"
#include "platform/Regex.h"
#include "platform/Text.h"

#include <unicode/uchar.h>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::Regex;
using platform::TextRange;

namespace {

// The plain double quote and the typographic ones, in any combination.
const QString kQuote = u"[\"“”„]"_s;
const QString kNotQuote = u"[^\"“”„]"_s;

QString placeLead(const ParserVocabulary& vocabulary) {
    if (vocabulary.locationMarkers.isEmpty()) return u"(?:^|\\s)"_s;
    return u"(?:^|\\s)(?:(?:"_s + vocabulary.locationMarkers.alternation() + u")\\s+)?"_s;
}

QString quotedPlacePattern(const ParserVocabulary& vocabulary) {
    return placeLead(vocabulary) + u"(?:@"_s + kQuote + u"("_s + kNotQuote + u"+)"_s + kQuote + u"|"_s + kQuote +
           u"@("_s + kNotQuote + u"+)"_s + kQuote + u")"_s;
}

bool isQuote(QChar c) { return c == u'"' || c == u'“' || c == u'”' || c == u'„'; }

// Quick looks for the "@" that each pattern needs: beside a quote for a
// quoted place, before anything but a quote or white space for an unquoted one.
bool mayHoldQuotedPlace(const QString& text) {
    for (qsizetype at = text.indexOf(u'@'); at >= 0; at = text.indexOf(u'@', at + 1))
        if ((at + 1 < text.size() && isQuote(text.at(at + 1))) || (at > 0 && isQuote(text.at(at - 1)))) return true;
    return false;
}

bool mayHoldUnquotedPlace(const QString& text) {
    for (qsizetype at = text.indexOf(u'@'); at >= 0; at = text.indexOf(u'@', at + 1)) {
        if (at + 1 == text.size()) return false;
        const QChar next = text.at(at + 1);
        if (!isQuote(next) && !u_isUWhiteSpace(next.unicode())) return true;
    }
    return false;
}

// The stages of a parse look for a line's places more than once: each
// thread keeps the last answer of each search, by line and markers.
template <class Value>
struct LastAnswer {
    QString text;
    WordSet markers;
    Value value;
};

// `search` with the pattern that `pattern` writes for the vocabulary's
// markers, compiled once per set of them, unless `kept` holds the answer.
template <class Value, class Search>
Value placeSearch(std::optional<LastAnswer<Value>>& kept, Memo<std::optional<Regex>>& patterns,
                  QString (*pattern)(const ParserVocabulary&), const QString& text, const ParserVocabulary& vocabulary,
                  Search search) {
    if (kept && kept->text == text && kept->markers == vocabulary.locationMarkers) return kept->value;
    const auto regex = patterns.get([&] { return compileRegex(pattern(vocabulary), Regex::Option::CaseInsensitive); },
                                    vocabulary.locationMarkers);
    Value value = regex ? search(*regex) : Value{};
    kept = LastAnswer<Value>{text, vocabulary.locationMarkers, value};
    return value;
}

}  // namespace

std::optional<QString> quotedPlaceName(const platform::RegexMatch& match, const QString& text) {
    for (const int group : {1, 2}) {
        if (!match.range(group).isFound()) continue;
        const QString name = platform::trimmedWhitespace(match.captured(text, group));
        if (!name.isEmpty()) return name;
    }
    return std::nullopt;
}

QString unquotedPlacePattern(const ParserVocabulary& vocabulary) {
    return placeLead(vocabulary) + u"@(?!"_s + kQuote + u")(\\S.*)$"_s;
}

std::vector<platform::RegexMatch> quotedPlaceMatches(const QString& text, const ParserVocabulary& vocabulary) {
    if (!mayHoldQuotedPlace(text)) return {};
    thread_local std::optional<LastAnswer<std::vector<platform::RegexMatch>>> kept;
    static Memo<std::optional<Regex>> patterns;
    return placeSearch(kept, patterns, quotedPlacePattern, text, vocabulary,
                       [&](const Regex& regex) { return regex.matches(text); });
}

std::optional<platform::RegexMatch> unquotedPlaceMatch(const QString& text, const ParserVocabulary& vocabulary) {
    if (!mayHoldUnquotedPlace(text)) return std::nullopt;
    thread_local std::optional<LastAnswer<std::optional<platform::RegexMatch>>> kept;
    static Memo<std::optional<Regex>> patterns;
    return placeSearch(kept, patterns, unquotedPlacePattern, text, vocabulary,
                       [&](const Regex& regex) { return regex.firstMatch(text); });
}

std::vector<TextRange> quotedPlaceRanges(const QString& text, const ParserVocabulary& vocabulary) {
    std::vector<TextRange> ranges;
    for (const platform::RegexMatch& match : quotedPlaceMatches(text, vocabulary))
        if (quotedPlaceName(match, text)) ranges.push_back(match.range());
    return ranges;
}

std::optional<TextRange> cadenceStartInPlaceTail(const QString& text, qsizetype tailStart, qsizetype tailLength,
                                                 const ParserVocabulary& vocabulary) {
    for (const RecurrenceGrammar& grammar : vocabulary.recurrenceGrammars) {
        const std::vector<platform::RegexMatch> matches = everyPhraseMatches(grammar, text);
        if (matches.empty()) continue;
        const TextRange phrase = matches.back().range();
        if (phrase.location < tailStart || phrase.end() > tailStart + tailLength) continue;
        if (platform::trimmedWhitespaceAndNewlines(text.mid(phrase.end())).isEmpty()) return phrase;
        if (restIsOneConnector(text, phrase.end(), vocabulary)) return phrase;
    }
    return std::nullopt;
}

}  // namespace tavlin::parsing::QuickAddParser
