#include "parsing/QuickAddParser.h"

#include "parsing/Cadence.h"
#include "parsing/DateServices.h"
#include "parsing/DateTimeStage.h"
#include "parsing/PlaceRadiusTrigger.h"
#include "parsing/TimeExpressions.h"
#include "platform/CharacterSet.h"
#include "platform/DateComponents.h"
#include "platform/Text.h"

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;
using platform::Regex;
using platform::SearchOption;

namespace {

constexpr auto kPatternCaseInsensitive = SearchOption::RegularExpression | SearchOption::CaseInsensitive;

// "!", "!!", "!!!" standing as a word of their own: low, medium, high.
int takePriorityMarks(QString& text) {
    const auto pattern = compileRegex(u"(?:^|\\s)(!{1,3})(?=\\s|$|[,.;:?])"_s);
    if (!pattern) return 0;
    const auto match = pattern->firstMatch(text);
    if (!match || !match->range(1).isFound()) return 0;
    const platform::TextRange marks = match->range(1);
    text.remove(marks.location, marks.length);
    text = collapseWhitespace(text);
    switch (marks.length) {
    case 1: return 9;
    case 2: return 5;
    default: return 1;
    }
}

// Takes what the cadence stage found into the result, and answers its
// weekday anchor.
std::optional<platform::Date> applyRecurrence(ParsedQuickAdd& result, const RecurrenceMatch& match) {
    result.recurrenceFrequency = match.frequency;
    result.recurrenceInterval = match.interval;
    return match.weekdayAnchor;
}

bool readCadence(QString& text, const QString& scanText, const QString& adverbScanText, platform::Date referenceDate,
                 const platform::Calendar& calendar, const ParserVocabulary& vocabulary, bool tryAdverb,
                 ParsedQuickAdd& result, std::optional<platform::Date>& anchor) {
    if (const auto recurrence = extractRecurrence(text, scanText, referenceDate, calendar, vocabulary)) {
        anchor = applyRecurrence(result, *recurrence);
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

platform::DateComponents yearMonthDay(const platform::Calendar& calendar, platform::Date date) {
    using platform::CalendarComponent;
    return calendar.dateComponents(CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day, date);
}

// A weekday cadence brings the day the due date falls on; a bare clock time
// read beside it lands on that day ("gym every monday 9:00"), a week later
// when that is already past.
void applyCadenceAnchor(ParsedQuickAdd& result, platform::Date anchor, platform::Date referenceDate,
                        const platform::Calendar& calendar, const ParserVocabulary& vocabulary,
                        const BoundDetector& detector, bool isEditing) {
    if (!result.dueDateComponents) {
        result.dueDateComponents = yearMonthDay(calendar, anchor);
        result.hasTime = false;
        return;
    }
    if (!result.matchedDateText || !containsTimeExpression(*result.matchedDateText, vocabulary) || !detector.exists() ||
        hasDateBesideClockTime(*result.matchedDateText, detector, vocabulary))
        return;
    platform::DateComponents combined = yearMonthDay(calendar, anchor);
    combined.hour = result.dueDateComponents->hour;
    combined.minute = result.dueDateComponents->minute;
    if (!isEditing) {
        const auto date = calendar.date(combined);
        if (date && *date < referenceDate) {
            if (const auto moved = calendar.dateByAdding(platform::CalendarComponent::Day, 7, *date)) {
                using platform::CalendarComponent;
                combined = calendar.dateComponents(CalendarComponent::Year | CalendarComponent::Month |
                                                       CalendarComponent::Day | CalendarComponent::Hour |
                                                       CalendarComponent::Minute,
                                                   *moved);
            }
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
    const QString pattern = u"^(?:"_s + WordSet::alternationPattern(vocabulary.taskWrappers.raw()) + u")\\b\\s*"_s;
    const platform::TextRange wrapper = platform::rangeOf(text, pattern, kPatternCaseInsensitive);
    if (!wrapper.isFound()) return text;
    const QString rest = text.mid(wrapper.end());
    return rest.isEmpty() ? text : rest;
}

QString removingMatches(const QString& text, const QString& pattern, platform::SearchOptions options) {
    return platform::replacingOccurrences(text, pattern, QString(), options | SearchOption::RegularExpression);
}

}  // namespace

ParsedQuickAdd parse(const QString& line, platform::Date referenceDate, const platform::Calendar& calendar,
                     bool isEditing, const QStringList& listNames, const ParserVocabulary& vocabulary,
                     const std::optional<QString>& previousDateText, bool uses24HourClock) {
    ParsedQuickAdd result;
    QString text = platform::trimmedWhitespaceAndNewlines(line);
    if (text.isEmpty()) return result;

    result.priority = takePriorityMarks(text);
    result.listName = extractList(text, listNames);

    std::optional<platform::Date> anchor;
    PlaceScanTexts scan = placeScanTexts(text, vocabulary);
    bool foundCadence = readCadence(text, scan.cadenceScanText, scan.adverbScanText, referenceDate, calendar,
                                    vocabulary, true, result, anchor);

    const BoundDetector detector = bindDateDetector(dateDetector(), referenceDate, calendar, vocabulary);
    const DateTimeResult due = extractDateTime(text, referenceDate, calendar, vocabulary, isEditing, previousDateText,
                                               uses24HourClock, detector);
    result.dueDateComponents = due.components;
    result.hasTime = due.hasTime;
    result.matchedDateText = due.matchedText;

    if (result.matchedDateText && !foundCadence) {
        scan = placeScanTexts(text, vocabulary);
        foundCadence = readCadence(text, scan.cadenceScanText, scan.adverbScanText, referenceDate, calendar,
                                   vocabulary, !isEditing, result, anchor);
    }
    if (anchor) applyCadenceAnchor(result, *anchor, referenceDate, calendar, vocabulary, detector, isEditing);

    readPlace(text, vocabulary, result);
    result.title = cleanTitle(titleSource(text, vocabulary, isEditing), vocabulary);
    return result;
}

QString cleanTitle(const QString& text, const ParserVocabulary& vocabulary) {
    if (vocabulary.connectors.isEmpty()) return collapseWhitespace(text);
    const QString alternation = WordSet::alternationPattern(vocabulary.connectors.raw());

    QString title = collapseWhitespace(text);
    title = removingMatches(title, u"\\b(?:"_s + alternation + u")\\s*(?=[,;:.!?])"_s, SearchOption::CaseInsensitive);
    title = removingMatches(title, u"\\s+(?=[,;:.!?])"_s, {});
    const QString doubled = u"\\b("_s + alternation + u")\\s+\\1\\b"_s;
    for (QString previous; previous != title;) {
        previous = title;
        title = platform::replacingOccurrences(title, doubled, u"$1"_s, kPatternCaseInsensitive);
    }
    title = collapseWhitespace(title);

    for (bool cut = true; cut;) {
        cut = false;
        for (const QString& connector : vocabulary.connectors.raw()) {
            const QString trailing = u"\\s+"_s + Regex::escapedPattern(connector) + u"$"_s;
            const platform::TextRange found = platform::rangeOf(title, trailing, kPatternCaseInsensitive);
            if (!found.isFound()) continue;
            title.remove(found.location, found.length);
            cut = true;
        }
    }
    static const platform::CharacterSet edges = platform::CharacterSet::fromCharacters(u" ,;:-"_s);
    return platform::trimmed(title, edges);
}

QString collapseWhitespace(const QString& text) {
    static const Regex whitespaceRun = *Regex::compile(u"\\s+"_s);
    return platform::trimmedWhitespaceAndNewlines(whitespaceRun.replacingMatches(text, u" "_s));
}

QString normalizedKey(const QString& text) {
    const QString folded = WordSet::fold(text);
    QString key;
    key.reserve(folded.size());
    for (const platform::TextRange character : platform::graphemeRanges(folded)) {
        const QString c = folded.mid(character.location, character.length);
        if (platform::isLetterCharacter(c) || platform::isNumberCharacter(c) || c == u"_"_s || c == u"-"_s)
            key += c;
    }
    return key;
}

std::optional<Regex> compileRegex(const QString& pattern, Regex::Options options) {
    return Regex::compile(pattern, options);
}

}  // namespace tavlin::parsing::QuickAddParser
