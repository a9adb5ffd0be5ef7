#include "parsing/Cadence.h"

#include "parsing/DateServices.h"
#include "parsing/Memo.h"
#include "parsing/TextHelpers.h"
#include "parsing/WordProbe.h"
#include "platform/DateComponents.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::RegexMatch;
using platform::TextRange;

namespace {

// The first match that reads the same in the line as in the scan text (a
// match running into a blanked place does not).
std::optional<RegexMatch> firstUnblankedMatch(const std::vector<RegexMatch>& matches, const QString& text,
                                              const QString& scanText) {
    for (const RegexMatch& match : matches)
        if (textAt(text, match.range()) == textAt(scanText, match.range())) return match;
    return std::nullopt;
}

std::optional<platform::Date> weekdayAnchor(int weekday, platform::Date referenceDate,
                                            const platform::Calendar& calendar) {
    const platform::Date startOfToday = startOfReferenceDay(calendar, referenceDate);
    if (calendar.component(platform::CalendarComponent::Weekday, startOfToday) == weekday) return startOfToday;
    return keptNextDate(calendar, startOfToday, platform::DateComponents{.weekday = weekday},
                        platform::MatchingPolicy::nextTime, platform::RepeatedTimePolicy::first);
}

// A count of ASCII digits; digits of other scripts give none.
std::optional<int> asciiCount(const QString& digits) {
    if (digits.isEmpty()) return std::nullopt;
    for (const QChar c : digits)
        if (c < u'0' || c > u'9') return std::nullopt;
    return digits.toInt();
}

// The adverb pattern, made here for a vocabulary that does not carry it,
// and a probe for the adverbs ending the line, which most lines do not.
struct CadenceAdverbs {
    std::optional<platform::Regex> pattern;
    WordProbe probe;
};

std::shared_ptr<const CadenceAdverbs> cadenceAdverbs(const ParserVocabulary& vocabulary) {
    static Memo<std::shared_ptr<const CadenceAdverbs>> memo;
    return memo.get(
        [&] {
            return std::make_shared<const CadenceAdverbs>(
                CadenceAdverbs{vocabulary.makeCadenceAdverbRegex(), WordProbe(vocabulary.cadenceAdverbs())});
        },
        vocabulary.dailyWords, vocabulary.weeklyWords, vocabulary.monthlyWords, vocabulary.yearlyWords);
}

}  // namespace

bool restIsOneConnector(const QString& text, qsizetype from, const ParserVocabulary& vocabulary) {
    static const std::optional<platform::Regex> lastWord = compileRegex(u"\\s+(\\S+)\\s*$"_s);
    if (!lastWord || from >= text.size()) return false;
    const auto match = lastWord->firstMatch(text, {from, text.size() - from});
    return match && match->range().location == from && vocabulary.connectors.contains(match->captured(text, 1));
}

std::vector<RegexMatch> everyPhraseMatches(const RecurrenceGrammar& grammar, const QString& text) {
    // Every phrase opens with an every-word and a blank, which is much
    // quicker to look for than the phrase.
    struct Opening {
        std::optional<platform::Regex> pattern;
        WordProbe everyWords;
    };
    static Memo<std::shared_ptr<const Opening>> openings;
    const auto opening = openings.get(
        [&] {
            return std::make_shared<const Opening>(
                Opening{compileRegex(u"(?:"_s + grammar.everyWords.alternation() + u")\\s+"_s,
                                     platform::Regex::Option::CaseInsensitive),
                        WordProbe(grammar.everyWords)});
        },
        grammar.everyWords);
    if (opening->pattern && (!opening->everyWords.mayContain(text) || !opening->pattern->firstMatch(text))) return {};
    static Memo<std::optional<platform::Regex>> patterns;
    const std::optional<platform::Regex> phrase =
        grammar.everyPhraseRegex.value
            ? grammar.everyPhraseRegex.value
            : patterns.get([&] { return grammar.makeEveryPhraseRegex(); }, grammar.everyWords, grammar.alternateWords,
                           grammar.dayWords, grammar.weekWords, grammar.monthWords, grammar.yearWords,
                           grammar.weekdayNames);
    return phrase ? phrase->matches(text) : std::vector<RegexMatch>{};
}

std::optional<RecurrenceMatch> extractRecurrence(QString& text, const QString& scanText, platform::Date referenceDate,
                                                 const platform::Calendar& calendar,
                                                 const ParserVocabulary& vocabulary) {
    for (const RecurrenceGrammar& grammar : vocabulary.recurrenceGrammars) {
        const std::optional<RegexMatch> match =
            firstUnblankedMatch(everyPhraseMatches(grammar, scanText), text, scanText);
        if (!match) continue;

        RecurrenceMatch result{.frequency = RecurrenceFrequency::weekly};
        const QString unit = match->captured(text, 3);
        const bool hasCount = match->range(1).isFound();
        if (const auto frequency = grammar.frequency(unit)) {
            result.frequency = *frequency;
        } else {
            const auto weekday = grammar.weekdayIndex.constFind(WordSet::fold(unit));
            if (weekday == grammar.weekdayIndex.cend() || hasCount) continue;  // "every 2 mondays"
            result.weekdayAnchor = weekdayAnchor(*weekday, referenceDate, calendar);
        }

        const std::optional<int> count = hasCount ? asciiCount(match->captured(text, 1)) : std::nullopt;
        if (count == 0) continue;  // "every 0 days" repeats nothing; its words stay in the title
        if (count) result.interval = std::min(*count, 999);
        else result.interval = match->range(2).isFound() ? 2 : grammar.defaultInterval;

        // The match starts at the blank before the every-word, so the marker
        // before it ("on every friday") is looked for from the word itself;
        // without one the blank goes with the phrase.
        TextRange removal = match->range();
        const qsizetype wordStart = removal.location + (scanText.at(removal.location).isSpace() ? 1 : 0);
        const TextRange fromWord = TextRange::fromBounds(wordStart, removal.end());
        const TextRange widened = includePrecedingMarker(fromWord, scanText, vocabulary, {});
        if (widened != fromWord && textAt(text, widened) == textAt(scanText, widened)) removal = widened;
        if (restIsOneConnector(text, removal.end(), vocabulary))
            removal = TextRange::fromBounds(removal.location, text.size());  // "every week to"
        if (removal.end() > text.size()) continue;
        text.remove(removal.location, removal.length);
        text = collapseWhitespace(text);
        return result;
    }
    return std::nullopt;
}

std::optional<RecurrenceFrequency> extractCadenceAdverb(QString& text, const QString& scanText,
                                                        const ParserVocabulary& vocabulary) {
    const std::shared_ptr<const CadenceAdverbs> adverbs = cadenceAdverbs(vocabulary);
    const std::optional<platform::Regex>& regex =
        vocabulary.cadenceAdverbRegex.value ? vocabulary.cadenceAdverbRegex.value : adverbs->pattern;
    if (!regex || !adverbs->probe.mayEnd(scanText)) return std::nullopt;
    const std::optional<RegexMatch> match = firstUnblankedMatch(regex->matches(scanText), text, scanText);
    if (!match || !match->range(1).isFound()) return std::nullopt;

    const QStringList wordsBefore = splitOnWhitespace(text.left(match->range().location));
    if (!wordsBefore.isEmpty() && vocabulary.articles.contains(wordsBefore.last()))
        return std::nullopt;  // "the weekly"

    const QString adverb = WordSet::fold(match->captured(text, 1));
    std::optional<RecurrenceFrequency> frequency;
    if (vocabulary.dailyWords.containsFolded(adverb)) frequency = RecurrenceFrequency::daily;
    else if (vocabulary.weeklyWords.containsFolded(adverb)) frequency = RecurrenceFrequency::weekly;
    else if (vocabulary.monthlyWords.containsFolded(adverb)) frequency = RecurrenceFrequency::monthly;
    else if (vocabulary.yearlyWords.containsFolded(adverb)) frequency = RecurrenceFrequency::yearly;
    if (!frequency) return std::nullopt;

    text.remove(match->range().location, match->range().length);
    text = collapseWhitespace(text);
    return frequency;
}

TextRange includePrecedingMarker(TextRange range, const QString& text, const ParserVocabulary& vocabulary,
                                 const std::vector<TextRange>& protectedRanges) {
    if (range.location <= 0) return range;
    // The word and the blanks before the range, by hand: a pattern for them
    // tries every position of the text before.
    const auto isBlank = [](QChar c) { return u_isUWhiteSpace(c.unicode()) != 0; };
    const qsizetype end = std::min(range.location, text.size());
    qsizetype wordEnd = end;
    while (wordEnd > 0 && isBlank(text.at(wordEnd - 1))) --wordEnd;
    if (wordEnd == end || wordEnd == 0) return range;
    qsizetype wordStart = wordEnd;
    while (wordStart > 0 && !isBlank(text.at(wordStart - 1))) --wordStart;
    const QString word = WordSet::fold(text.mid(wordStart, wordEnd - wordStart));
    if (!vocabulary.clockMarkers.containsFolded(word) && !vocabulary.connectors.containsFolded(word)) return range;
    const TextRange marker = TextRange::fromBounds(wordStart, range.location);
    for (const TextRange& guarded : protectedRanges)
        if (marker.intersects(guarded)) return range;
    return TextRange::fromBounds(marker.location, range.end());
}

}  // namespace tavlin::parsing::QuickAddParser
