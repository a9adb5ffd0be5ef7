#include "parsing/QuickAddParser.h"

#include "parsing/Cadence.h"
#include "parsing/DateServices.h"
#include "parsing/DateTimeStage.h"
#include "parsing/ListTag.h"
#include "parsing/Memo.h"
#include "parsing/PlaceRadiusTrigger.h"
#include "parsing/TextHelpers.h"
#include "parsing/TimeExpressions.h"
#include "parsing/WordProbe.h"
#include "platform/CharacterSet.h"
#include "platform/CodePoints.h"
#include "platform/DateComponents.h"
#include "platform/Text.h"

#include <unicode/uchar.h>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::Regex;

namespace {

// "!", "!!", "!!!" standing as a word of their own: low, medium, high.
platform::Priority takePriorityMarks(QString& text) {
    static const auto pattern = compileRegex(u"(?:^|\\s)(!{1,3})(?=\\s|$|[,.;:?])"_s);
    if (!pattern || !text.contains(u'!')) return platform::Priority::none;
    const auto match = pattern->firstMatch(text);
    if (!match || !match->range(1).isFound()) return platform::Priority::none;
    const platform::TextRange marks = match->range(1);
    text.remove(marks.location, marks.length);
    text = collapseWhitespace(text);
    switch (marks.length) {
    case 1: return platform::Priority::low;
    case 2: return platform::Priority::medium;
    default: return platform::Priority::high;
    }
}

bool readCadence(QString& text, const QString& scanText, const QString& adverbScanText, platform::Date referenceDate,
                 const platform::Calendar& calendar, const ParserVocabulary& vocabulary, bool tryAdverb,
                 ParsedQuickAdd& result, std::optional<platform::Date>& anchor) {
    if (const auto recurrence = extractRecurrence(text, scanText, referenceDate, calendar, vocabulary)) {
        result.recurrenceFrequency = recurrence->frequency;
        result.recurrenceInterval = recurrence->interval;
        anchor = recurrence->weekdayAnchor;
        return true;
    }
    if (!tryAdverb) return false;
    if (const auto adverb = extractCadenceAdverb(text, adverbScanText, vocabulary)) {
        result.recurrenceFrequency = *adverb;
        result.recurrenceInterval = 1;
        return true;
    }
    return false;
}

// A weekday cadence brings the day the due date falls on; a bare clock time
// read beside it lands on that day ("gym every monday 9:00"), a week later
// when that is already past.
void applyCadenceAnchor(ParsedQuickAdd& result, platform::Date anchor, platform::Date referenceDate,
                        const platform::Calendar& calendar, const ParserVocabulary& vocabulary,
                        const BoundDetector& detector, bool isEditing) {
    if (!result.dueDateComponents) {
        result.dueDateComponents = dueComponents(calendar, anchor, false);
        result.hasTime = false;
        return;
    }
    // A time with no day of its own: "9:00", and also "at noon" or "at 5",
    // which the blanking of explicit times cannot tell from a date.
    if (!result.matchedDateText || !containsTimeExpression(*result.matchedDateText, vocabulary) || !detector.exists() ||
        detectorReadsDay(*result.matchedDateText, detector))
        return;
    platform::DateComponents combined = dueComponents(calendar, anchor, false);
    combined.hour = result.dueDateComponents->hour;
    combined.minute = result.dueDateComponents->minute;
    if (!isEditing) {
        const auto date = calendar.date(combined);
        if (date && *date < referenceDate) {
            if (const auto moved = calendar.dateByAdding(platform::CalendarComponent::Day, 7, *date))
                combined = dueComponents(calendar, *moved, true);
        }
    }
    result.dueDateComponents = combined;
}

void readPlace(QString& text, const ParserVocabulary& vocabulary, ParsedQuickAdd& result) {
    QString radiusFree = text;
    const std::optional<double> radius = extractRadius(radiusFree, vocabulary, true);
    if (!radius) {
        const PlaceAndTrigger place = extractPlaceAndTrigger(text, vocabulary, true);
        if (place.name) {
            result.locationName = place.name;
            result.locationTrigger = place.trigger;
            result.locationRadius = place.radius;
        }
        return;
    }
    QString placeFree = radiusFree;
    const PlaceAndTrigger place = extractPlaceAndTrigger(placeFree, vocabulary, false);
    if (place.name) {
        text = placeFree;
        result.locationName = place.name;
        result.locationTrigger = place.trigger;
        result.locationRadius = radius;
        return;
    }
    // The radius names no place of its own: its words stay in the line.
    const PlaceAndTrigger withRadiusWords = extractPlaceAndTrigger(text, vocabulary, false);
    if (withRadiusWords.name) {
        result.locationName = withRadiusWords.name;
        result.locationTrigger = withRadiusWords.trigger;
    }
}

// "remind me to call mom" is titled "call mom"; the line itself keeps it.
QString titleSource(const QString& text, const ParserVocabulary& vocabulary, bool isEditing) {
    if (isEditing || vocabulary.taskWrappers.isEmpty()) return text;
    static Memo<std::optional<Regex>> patterns;
    const auto wrappers = patterns.get(
        [&] {
            return compileRegex(u"^(?:"_s + vocabulary.taskWrappers.alternation() + u")\\b\\s*"_s,
                                Regex::Option::CaseInsensitive);
        },
        vocabulary.taskWrappers);
    const auto wrapper = wrappers ? wrappers->firstMatch(text) : std::nullopt;
    if (!wrapper) return text;
    const QString rest = text.mid(wrapper->range().end());
    return rest.isEmpty() ? text : rest;
}

bool isPunctuationMark(QChar c) { return u",;:.!?"_s.contains(c); }

bool containsPunctuationMark(const QString& text) { return std::any_of(text.cbegin(), text.cend(), isPunctuationMark); }

// The patterns that tidy a title, made once per set of connectors.
struct TitlePatterns {
    std::optional<Regex> connectorBeforePunctuation;
    std::optional<Regex> doubledConnector;
    std::optional<Regex> anyTrailingConnector;
    std::vector<std::optional<Regex>> trailingConnectors;  // one per connector, in the set's order
    WordProbe connectors;
    bool connectorEndsInMark = false;
};

std::shared_ptr<const TitlePatterns> titlePatterns(const WordSet& connectors) {
    static Memo<std::shared_ptr<const TitlePatterns>> patterns;
    return patterns.get(
        [&] {
            constexpr auto kCaseInsensitive = Regex::Option::CaseInsensitive;
            const QString alternation = connectors.alternation();
            auto made = std::make_shared<TitlePatterns>();
            made->connectors = WordProbe(connectors);
            for (const QString& connector : connectors.raw())
                if (!connector.isEmpty() && isPunctuationMark(connector.back())) made->connectorEndsInMark = true;
            made->connectorBeforePunctuation =
                compileRegex(u"\\b(?:"_s + alternation + u")\\s*(?=[,;:.!?])"_s, kCaseInsensitive);
            made->doubledConnector = compileRegex(u"\\b("_s + alternation + u")\\s+\\1\\b"_s, kCaseInsensitive);
            made->anyTrailingConnector = compileRegex(u"\\s+(?:"_s + alternation + u")$"_s, kCaseInsensitive);
            for (const QString& connector : connectors.raw())
                made->trailingConnectors.push_back(
                    compileRegex(u"\\s+"_s + Regex::escapedPattern(connector) + u"$"_s, kCaseInsensitive));
            return std::shared_ptr<const TitlePatterns>(std::move(made));
        },
        connectors);
}

QString removingMatches(const QString& text, const std::optional<Regex>& pattern) {
    return pattern ? pattern->replacingMatches(text, QString()) : text;
}

// Whether a connector may stand before some punctuation mark, blanks
// between. Before a mark that follows another only a connector ending in a
// mark could stand ("!!!!").
bool mayHoldConnectorBeforePunctuation(const QString& title, const WordProbe& connectors, bool connectorEndsInMark) {
    bool afterMark = false;
    for (qsizetype at = 0; at < title.size(); ++at) {
        const QChar c = title.at(at);
        if (isPunctuationMark(c)) {
            if ((!afterMark || connectorEndsInMark) && connectors.mayEndAt(title, at)) return true;
            afterMark = true;
        } else if (!c.isSpace()) {
            afterMark = false;
        }
    }
    return false;
}

// Trailing connectors cut one after another, in the set's order, until none
// is left ("call mom at the" → "call mom").
QString withoutTrailingConnectors(QString title, const TitlePatterns& patterns) {
    // Most titles end in no connector at all: one search tells.
    if (!patterns.anyTrailingConnector || !patterns.connectors.mayEndAfterBlank(title) ||
        !patterns.anyTrailingConnector->firstMatch(title))
        return title;
    for (bool cut = true; cut;) {
        cut = false;
        for (const std::optional<Regex>& trailing : patterns.trailingConnectors) {
            const auto found = trailing ? trailing->firstMatch(title) : std::nullopt;
            if (!found) continue;
            title.remove(found->range().location, found->range().length);
            cut = true;
        }
    }
    return title;
}

}  // namespace

ParsedQuickAdd parse(const QString& line, const ParseOptions& options) {
    const auto& [referenceDate, calendar, vocabulary, listNames, isEditing, previousDateText, uses24HourClock] =
        options;
    ParsedQuickAdd result;
    QString text = platform::trimmedWhitespaceAndNewlines(line);
    if (text.isEmpty()) return result;

    result.priority = takePriorityMarks(text);
    result.listName = extractList(text, listNames, isEditing ? ListTagChoice::last : ListTagChoice::first);

    std::optional<platform::Date> anchor;
    PlaceScanTexts scan = placeScanTexts(text, vocabulary);
    const bool foundCadence = readCadence(text, scan.cadenceScanText, scan.adverbScanText, referenceDate, calendar,
                                          vocabulary, true, result, anchor);

    const BoundDetector detector = bindDateDetector(dateDetector(), referenceDate, calendar, vocabulary);
    const DateTimeResult due = extractDateTime(text, referenceDate, calendar, vocabulary, isEditing, previousDateText,
                                               uses24HourClock, detector);
    result.dueDateComponents = due.components;
    result.hasTime = due.hasTime;
    result.matchedDateText = due.matchedText;

    if (result.matchedDateText && !foundCadence) {
        scan = placeScanTexts(text, vocabulary);
        readCadence(text, scan.cadenceScanText, scan.adverbScanText, referenceDate, calendar, vocabulary, !isEditing,
                    result, anchor);
    }
    if (anchor) applyCadenceAnchor(result, *anchor, referenceDate, calendar, vocabulary, detector, isEditing);

    readPlace(text, vocabulary, result);
    result.title = cleanTitle(titleSource(text, vocabulary, isEditing), vocabulary);
    return result;
}

QString cleanTitle(const QString& text, const ParserVocabulary& vocabulary) {
    if (vocabulary.connectors.isEmpty()) return collapseWhitespace(text);
    static const auto blanksBeforePunctuation = compileRegex(u"\\s+(?=[,;:.!?])"_s);
    const std::shared_ptr<const TitlePatterns> kept = titlePatterns(vocabulary.connectors);
    const TitlePatterns& patterns = *kept;

    const QString collapsed = collapseWhitespace(text);
    QString title = collapsed;
    if (containsPunctuationMark(title)) {  // both patterns end before one
        if (mayHoldConnectorBeforePunctuation(title, patterns.connectors, patterns.connectorEndsInMark))
            title = removingMatches(title, patterns.connectorBeforePunctuation);
        title = removingMatches(title, blanksBeforePunctuation);
    }
    for (QString previous; patterns.doubledConnector && previous != title;) {
        if (!patterns.connectors.mayRepeatAcrossBlank(title)) break;
        previous = title;
        title = patterns.doubledConnector->replacingMatches(title, u"$1"_s);
    }
    if (title != collapsed) title = collapseWhitespace(title);
    title = withoutTrailingConnectors(title, patterns);
    static const platform::CharacterSet edges = platform::CharacterSet::fromCharacters(u" ,;:-"_s);
    return platform::trimmed(title, edges);
}

}  // namespace tavlin::parsing::QuickAddParser
