#include "parsing/PlaceSpans.h"

#include "parsing/Cadence.h"
#include "parsing/QuickAddParser.h"
#include "platform/CharacterSet.h"
#include "platform/Text.h"

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::TextRange;

namespace {

QString placeLead(const ParserVocabulary& vocabulary) {
    QString lead = u"(?:^|\\s)"_s;
    if (!vocabulary.locationMarkers.isEmpty())
        lead += u"(?:(?:"_s + WordSet::alternationPattern(vocabulary.locationMarkers.raw()) + u")\\s+)?"_s;
    return lead;
}

}  // namespace

QString quotedPlacePattern(const ParserVocabulary& vocabulary) {
    return placeLead(vocabulary) + u"(?:@[\"“”„]([^\"“”„]+)[\"“”„]|[\"“”„]@([^\"“”„]+)[\"“”„])"_s;
}

QString unquotedPlacePattern(const ParserVocabulary& vocabulary) {
    return placeLead(vocabulary) + u"@(?![\"“”„])(\\S.*)$"_s;
}

std::vector<TextRange> quotedPlaceRanges(const QString& text, const ParserVocabulary& vocabulary) {
    std::vector<TextRange> ranges;
    const auto pattern = compileRegex(quotedPlacePattern(vocabulary), platform::Regex::Option::CaseInsensitive);
    if (!pattern) return ranges;
    for (const platform::RegexMatch& match : pattern->matches(text)) {
        for (const int group : {1, 2}) {
            if (!match.range(group).isFound()) continue;
            if (platform::trimmed(match.captured(text, group), platform::CharacterSet::whitespaces()).isEmpty()) continue;
            ranges.push_back(match.range());
            break;
        }
    }
    return ranges;
}

std::optional<TextRange> cadenceStartInPlaceTail(const QString& text, qsizetype tailStart, qsizetype tailLength,
                                                 const ParserVocabulary& vocabulary) {
    static const std::optional<platform::Regex> lastWord = compileRegex(u"\\s+(\\S+)\\s*$"_s);
    for (const RecurrenceGrammar& grammar : vocabulary.recurrenceGrammars) {
        const std::optional<platform::Regex> regex = everyPhraseRegex(grammar);
        if (!regex) continue;
        const std::vector<platform::RegexMatch> matches = regex->matches(text);
        if (matches.empty()) continue;
        const TextRange last = matches.back().range();
        if (last.location < tailStart || last.end() > tailStart + tailLength) continue;
        if (platform::trimmedWhitespaceAndNewlines(text.mid(last.end())).isEmpty()) return last;
        if (!lastWord || last.end() >= text.size()) continue;
        const auto after = lastWord->firstMatch(text, {last.end(), text.size() - last.end()});
        if (after && after->range().location == last.end() && vocabulary.connectors.contains(after->captured(text, 1)))
            return last;
    }
    return std::nullopt;
}

}  // namespace tavlin::parsing::QuickAddParser
