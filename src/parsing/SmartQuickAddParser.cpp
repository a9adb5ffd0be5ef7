#include "parsing/SmartQuickAddParser.h"

#include "parsing/DateServices.h"
#include "parsing/PlaceRadiusTrigger.h"
#include "parsing/QuickAddParser.h"
#include "parsing/TaskSplitter.h"
#include "parsing/TextHelpers.h"
#include "platform/CharacterSet.h"
#include "platform/DateComponents.h"
#include "platform/DateFormatter.h"
#include "platform/Text.h"

#include <cstdio>

namespace tavlin::parsing::SmartQuickAddParser {

using namespace Qt::StringLiterals;
using platform::CalendarComponent;
using platform::DateComponents;
using platform::SearchOption;
using platform::TextRange;

namespace {

constexpr qsizetype kMaximumSplitTasks = 10;
constexpr qsizetype kMaximumTaskLength = 200;
constexpr double kGroundedWordShare = 0.7;

const platform::GenerationOptions kGreedy{.sampling = platform::GenerationOptions::Sampling::greedy};

const platform::DateFormatter& dateFormatter() {
    static const platform::DateFormatter formatter(u"yyyy-MM-dd"_s);
    return formatter;
}

const platform::DateFormatter& timeFormatter() {
    static const platform::DateFormatter formatter(u"HH:mm"_s);
    return formatter;
}

bool matchesWhole(const QString& token, const QString& pattern) {
    return platform::rangeOf(token, pattern, SearchOption::RegularExpression).isFound();
}

bool isWordCharacter(const QString& character) {
    return platform::isLetterCharacter(character) || platform::isNumberCharacter(character);
}

// The character (grapheme) of `text` that ends at `end`.
QString characterBefore(const QString& text, qsizetype end) {
    QString before;
    for (const TextRange c : platform::graphemeRanges(text.left(end))) before = text.mid(c.location, c.length);
    return before;
}

void writeDebugLine(const SmartParsedReminder& answer) {
    const QString line = u"raw model output: "_s + answer.debugText() + u"\n"_s;
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

ParsedQuickAdd ruleReading(const QString& text, const QStringList& listNames, const ParserVocabulary& vocabulary,
                           platform::Date referenceDate, const platform::Calendar& calendar) {
    return QuickAddParser::parse(
        text, {.referenceDate = referenceDate, .calendar = calendar, .vocabulary = vocabulary, .listNames = listNames});
}

// The rule reading the model's fields are laid over.
ParsedQuickAdd startValue(const ParsedQuickAdd& rules, const QString& note, platform::Date referenceDate,
                          const platform::Calendar& calendar) {
    ParsedQuickAdd start = rules;
    if (start.title.isEmpty()) {
        // The rules took the whole note: its words are the title again, and the
        // model's date is grounded in them. What else the rules read (priority,
        // cadence, list, place) stays.
        start.title = platform::trimmedWhitespaceAndNewlines(note);
        start.dueDateComponents.reset();
        start.hasTime = false;
        start.matchedDateText.reset();
    }
    QuickAddParser::dueTodayForBareCadence(start, referenceDate, calendar);
    return start;
}

void applyModelDate(ParsedQuickAdd& result, const SmartParsedReminder& answer, const ParserVocabulary& vocabulary,
                    platform::Date referenceDate, const platform::Calendar& calendar) {
    const std::optional<platform::Date> dueDate = dateFormatter().date(answer.dueDate);
    if (!dueDate) return;
    const std::optional<QString> phrase = groundDateText(answer.dateText, result.title, vocabulary);
    if (!phrase) return;

    // The fields as written: read in the zone the formatters read them in.
    const platform::Calendar formatterCalendar = platform::Calendar::gregorian(platform::TimeZone::current());
    DateComponents components = QuickAddParser::dueComponents(formatterCalendar, *dueDate, false);
    bool hasTime = false;
    if (!answer.dueTime.isEmpty()) {
        if (const auto time = timeFormatter().date(answer.dueTime)) {
            components.hour = formatterCalendar.component(CalendarComponent::Hour, *time);
            components.minute = formatterCalendar.component(CalendarComponent::Minute, *time);
            hasTime = true;
        }
    }
    // The rules' reading of the phrase wins over the model's day and time.
    const ParsedQuickAdd reread = ruleReading(*phrase, {}, vocabulary, referenceDate, calendar);
    if (reread.dueDateComponents) {
        components.year = reread.dueDateComponents->year;
        components.month = reread.dueDateComponents->month;
        components.day = reread.dueDateComponents->day;
        if (reread.hasTime) {
            components.hour = reread.dueDateComponents->hour;
            components.minute = reread.dueDateComponents->minute;
            hasTime = true;
        }
    }

    platform::Date candidate = calendar.date(components).value_or(*dueDate);
    const platform::Date startOfToday = calendar.startOfDay(referenceDate);
    if (candidate < startOfToday &&
        !platform::rangeOf(*phrase, u"\\b(19|20)\\d{2}\\b"_s, SearchOption::RegularExpression).isFound()) {
        const int year = calendar.component(CalendarComponent::Year, referenceDate);
        for (const int tryYear : {year, year + 1}) {
            DateComponents moved = components;
            moved.year = tryYear;
            const auto date = calendar.date(moved);
            if (date && *date >= startOfToday) {
                components = moved;
                candidate = *date;
                break;
            }
        }
    }
    if (candidate < startOfToday) return;
    if (!reread.dueDateComponents && !resolveDueDate(*phrase, components, referenceDate, calendar, vocabulary)) return;
    if (!removeSpan(*phrase, result.title)) return;

    result.dueDateComponents = components;
    result.hasTime = hasTime;
    result.matchedDateText = phrase;
    result.dueDateIsBareCadenceDefault = false;
}

QString modelPlaceName(const SmartParsedReminder& answer) {
    QString name = platform::trimmedWhitespaceAndNewlines(answer.location);
    if (name.startsWith(u'@')) name.remove(0, 1);
    if (name.isEmpty()) {
        const qsizetype at = answer.locationText.indexOf(u'@');
        if (at >= 0) {
            static const platform::CharacterSet edges = platform::CharacterSet::fromCharacters(u" ,.;:?!"_s);
            name = platform::trimmed(answer.locationText.mid(at + 1), edges);
        }
    }
    return name;
}

void applyModelPlace(ParsedQuickAdd& result, const SmartParsedReminder& answer, const QString& note,
                     const ParserVocabulary& vocabulary) {
    const QString name = modelPlaceName(answer);
    if (result.locationName || name.isEmpty()) return;
    const std::optional<QString> span = groundPlace(answer.locationText, name, note, vocabulary);
    if (!span || !removeSpan(*span, result.title)) return;
    result.locationName = name;
    result.locationRadius = QuickAddParser::extractRadius(result.title, vocabulary, true);

    const TextRange inNote =
        platform::rangeOf(note, *span, SearchOption::CaseInsensitive | SearchOption::DiacriticInsensitive);
    if (!inNote.isFound() || vocabulary.leaveWords.isEmpty()) return;
    const QString leaveBefore = u"\\b(?:"_s + vocabulary.leaveWords.alternation() + u")\\b(\\s+\\S+){0,2}\\s*$"_s;
    if (platform::rangeOf(note.left(inNote.location), leaveBefore,
                          SearchOption::RegularExpression | SearchOption::CaseInsensitive)
            .isFound()) {
        result.locationTrigger = LocationTrigger::leave;
        QuickAddParser::stripLeavePhrase(result.title, vocabulary);
    }
}

void applyModelList(ParsedQuickAdd& result, const SmartParsedReminder& answer, const QStringList& listNames,
                    const ParserVocabulary& vocabulary) {
    if (result.listName || answer.list.isEmpty() || listNames.isEmpty()) return;
    for (const QString& name : listNames) {
        if (QString::compare(name, answer.list, Qt::CaseInsensitive) != 0) continue;
        if (groundList(answer.listText, name, vocabulary) && removeSpan(answer.listText, result.title))
            result.listName = name;
        return;  // no other name is tried
    }
}

// Words of three or more letters or digits, lower-cased.
QStringList longWords(const QString& text) {
    QStringList words;
    QString word;
    qsizetype length = 0;
    const auto flush = [&] {
        if (length >= 3) words.append(word);
        word.clear();
        length = 0;
    };
    for (const TextRange c : platform::graphemeRanges(text)) {
        const QString character = text.mid(c.location, c.length);
        if (isWordCharacter(character)) {
            word += character;
            ++length;
        } else {
            flush();
        }
    }
    flush();
    return words;
}

// The model's split, where it survives the check against the text.
platform::Task<std::optional<QStringList>> splitTasks(QString text) {
    std::unique_ptr<platform::LanguageModelSession> session =
        platform::LanguageModel::systemDefault().makeSession(splitInstructions());
    std::optional<SplitTasks> split;
    try {
        split = SplitTasks::fromGeneratedContent(co_await session->respond(text, SplitTasks::schema(), true, kGreedy));
    } catch (const platform::LanguageModelError&) {
        co_return std::nullopt;
    }
    if (!split) co_return std::nullopt;
    const QStringList sanitized = sanitizeSplitTasks(split->tasks, text);
    if (sanitized.size() < 2) co_return std::nullopt;
    co_return sanitized;
}

}  // namespace

bool isModelAvailable() { return platform::LanguageModel::systemDefault().isAvailable(); }

platform::Task<std::optional<ParsedQuickAdd>> parse(QString note, QStringList listNames, ParserVocabulary vocabulary) {
    // Its instructions are most of the work of asking: made only for a model.
    if (!isModelAvailable()) co_return std::nullopt;
    const platform::Date referenceDate = platform::Date::now();
    const platform::Calendar calendar = platform::Calendar::current();
    std::unique_ptr<platform::LanguageModelSession> session =
        platform::LanguageModel::systemDefault().makeSession(readingInstructions(referenceDate, calendar, listNames));
    std::optional<SmartParsedReminder> answer;
    try {
        answer = SmartParsedReminder::fromGeneratedContent(
            co_await session->respond(note, SmartParsedReminder::schema(), true, kGreedy));
    } catch (const platform::LanguageModelError&) {
        co_return std::nullopt;
    }
    if (!answer) co_return std::nullopt;
    co_return finish(*answer, note, listNames, vocabulary, referenceDate, calendar);
}

ParsedQuickAdd finish(const SmartParsedReminder& answer, const QString& note, const QStringList& listNames,
                      const ParserVocabulary& vocabulary, platform::Date referenceDate,
                      const platform::Calendar& calendar) {
    if (qEnvironmentVariableIsSet("TAVLIN_PARSE_DEBUG")) writeDebugLine(answer);
    ParsedQuickAdd result =
        startValue(ruleReading(note, listNames, vocabulary, referenceDate, calendar), note, referenceDate, calendar);
    if (!result.dueDateComponents || result.dueDateIsBareCadenceDefault)
        applyModelDate(result, answer, vocabulary, referenceDate, calendar);
    applyModelPlace(result, answer, note, vocabulary);
    applyModelList(result, answer, listNames, vocabulary);
    result.title = QuickAddParser::cleanTitle(result.title, vocabulary);
    // A title of nothing but markers falls back to the note itself, without
    // the line breaks a split piece may end in.
    if (result.title.isEmpty()) result.title = platform::trimmedWhitespaceAndNewlines(note);
    return result;
}

platform::Task<QStringList> splitNote(QString text) {
    const QStringList tasks = TaskSplitter::split(text);
    if (tasks.size() >= 2 || !isModelAvailable()) co_return tasks;
    const std::optional<QStringList> modelTasks = co_await splitTasks(text);
    co_return modelTasks && modelTasks->size() >= 2 ? *modelTasks : tasks;
}

QStringList sanitizeSplitTasks(const QStringList& tasks, const QString& note) {
    const QString loweredNote = platform::lowercasedPosix(note);
    QStringList kept;
    for (const QString& task : tasks) {
        const QString trimmed = platform::trimmedWhitespaceAndNewlines(task);
        if (trimmed.isEmpty() || platform::graphemeCount(trimmed) > kMaximumTaskLength) continue;
        const QStringList words = longWords(platform::lowercasedPosix(trimmed));
        if (words.isEmpty()) continue;
        const auto inNote = std::count_if(words.cbegin(), words.cend(),
                                          [&](const QString& word) { return loweredNote.contains(word); });
        if (static_cast<double>(inNote) / static_cast<double>(words.size()) >= kGroundedWordShare) kept.append(trimmed);
        if (kept.size() == kMaximumSplitTasks) break;
    }
    return kept;
}

QStringList foldedTokens(const QString& text) {
    static const platform::CharacterSet edges = platform::CharacterSet::fromCharacters(u",.;:?()\"'“”‘’"_s);
    QStringList tokens;
    for (const QString& piece : splitOnWhitespace(WordSet::fold(text))) {
        QString token = platform::trimmed(piece, edges);
        if (!token.isEmpty()) tokens.append(std::move(token));
    }
    return tokens;
}

std::optional<TextRange> wordBoundedRange(const QString& span, const QString& text) {
    if (span.isEmpty()) return std::nullopt;
    qsizetype from = 0;
    while (from <= text.size()) {
        const TextRange found = platform::rangeOf(
            text, span, SearchOption::CaseInsensitive | SearchOption::DiacriticInsensitive, {from, text.size() - from});
        if (!found.isFound()) return std::nullopt;
        const QString before = characterBefore(text, found.location);
        const QString after = platform::characterAt(text, found.end());
        if ((before.isEmpty() || !isWordCharacter(before)) && (after.isEmpty() || !isWordCharacter(after)))
            return found;
        from = found.location + platform::characterAt(text, found.location).size();
    }
    return std::nullopt;
}

bool removeSpan(const QString& span, QString& text) {
    const QString trimmed = platform::trimmedWhitespaceAndNewlines(span);
    if (trimmed.isEmpty()) return false;
    const std::optional<TextRange> range = wordBoundedRange(trimmed, text);
    if (!range) return false;
    text.remove(range->location, range->length);
    return true;
}

std::optional<QString> groundDateText(const QString& dateText, const QString& title,
                                      const ParserVocabulary& vocabulary) {
    const QStringList words = splitOnWhitespace(dateText);
    if (words.isEmpty() || vocabulary.pastMarkers.matchesTokens(foldedTokens(dateText))) return std::nullopt;
    for (qsizetype length = words.size(); length >= 1; --length) {
        for (qsizetype start = 0; start + length <= words.size(); ++start) {
            const QString candidate = words.mid(start, length).join(u' ');
            if (isDatePhrase(candidate, vocabulary) && wordBoundedRange(candidate, title)) return candidate;
        }
    }
    return std::nullopt;
}

bool isDatePhrase(const QString& phrase, const ParserVocabulary& vocabulary) {
    const QStringList tokens = foldedTokens(phrase);
    if (tokens.isEmpty() || tokens.size() > 8 || vocabulary.pastMarkers.matchesTokens(tokens)) return false;
    // Recognition does not depend on the reference, so any will do.
    const BoundDetector detector = QuickAddParser::bindDateDetector(
        QuickAddParser::dateDetector(), platform::Date::now(), platform::Calendar::current(), vocabulary);
    QSet<QString> detectorWords;
    for (const platform::DetectedDate& match : detector.matches(phrase))
        for (const QString& token : foldedTokens(phrase.mid(match.range.location, match.range.length)))
            detectorWords.insert(token);
    return std::all_of(tokens.cbegin(), tokens.cend(), [&](const QString& token) {
        return detectorWords.contains(token) || vocabulary.dateFunctionWords.containsFolded(token) ||
               matchesWhole(token, u"^\\d{1,4}([:.]\\d{2})?(am|pm)?$"_s) ||
               matchesWhole(token, u"^\\d{1,2}(st|nd|rd|th)$"_s) ||
               matchesWhole(token, u"^\\d{1,2}[/\\-.]\\d{1,2}([/\\-.]\\d{2,4})?$"_s);
    });
}

bool resolveDueDate(const QString& phrase, const DateComponents& components, platform::Date referenceDate,
                    const platform::Calendar& calendar, const ParserVocabulary& vocabulary) {
    const QStringList tokens = foldedTokens(phrase);
    bool sawYear = false;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QString& token = tokens[i];
        if (const std::optional<int> day = ordinalDay(token)) {
            if (components.day != day) return false;
        } else if (matchesWhole(token, u"^(19|20)\\d{2}$"_s)) {
            if (components.year != token.toInt()) return false;
            sawYear = true;
        } else if (matchesWhole(token, u"^\\d{1,2}$"_s)) {
            const int n = token.toInt();
            if (n >= 1 && n <= 31 && !isTimeNumber(i, tokens, vocabulary) && components.day != n &&
                components.month != n)
                return false;
        }
    }
    if (!calendar.date(components)) return false;
    if (sawYear) return true;
    const auto limit = calendar.dateByAdding(CalendarComponent::Year, 2, referenceDate);
    return limit && *calendar.date(components) <= *limit;
}

std::optional<int> ordinalDay(const QString& token) {
    if (!matchesWhole(token, u"^\\d{1,2}(?:st|nd|rd|th|e|de|ste)$"_s)) return std::nullopt;
    qsizetype digits = 0;
    while (digits < token.size() && token[digits].isDigit()) ++digits;
    const int day = token.left(digits).toInt();
    if (day < 1 || day > 31) return std::nullopt;
    return day;
}

bool isTimeNumber(qsizetype position, const QStringList& tokens, const ParserVocabulary& vocabulary) {
    if (position > 0) {
        const QString& before = tokens[position - 1];
        if (vocabulary.clockMarkers.containsFolded(before)) return true;
        if (vocabulary.locationMarkers.containsFolded(before)) {
            qsizetype next = position + 1;
            if (next < tokens.size() && vocabulary.articles.containsFolded(tokens[next])) ++next;
            if (next >= tokens.size() || vocabulary.timeWords.containsFolded(tokens[next])) return true;
        }
    }
    return position + 1 < tokens.size() &&
           matchesWhole(tokens[position + 1], u"^(?:[ap]\\.?m\\.?|h|hr|hrs|u|uhr|uur)$"_s);
}

std::optional<QString> groundPlace(const QString& locationText, const QString& placeName, const QString& note,
                                   const ParserVocabulary& vocabulary) {
    if (locationTextMatchesPlace(locationText, placeName, vocabulary)) return locationText;
    if (placeName.isEmpty()) return std::nullopt;
    QString pattern;
    if (!vocabulary.locationMarkers.isEmpty())
        pattern = u"(?:\\b(?:"_s + vocabulary.locationMarkers.alternation() + u")\\s+)?"_s;
    pattern += u"@"_s + platform::Regex::escapedPattern(placeName);
    const auto regex = compileRegex(pattern, platform::Regex::Option::CaseInsensitive);
    const auto match = regex ? regex->firstMatch(note) : std::nullopt;
    if (!match) return std::nullopt;
    return match->captured(note);
}

bool locationTextMatchesPlace(const QString& locationText, const QString& placeName,
                              const ParserVocabulary& vocabulary) {
    const QString trimmed = platform::trimmedWhitespaceAndNewlines(locationText);
    if (trimmed.isEmpty() || placeName.isEmpty()) return false;
    QStringList tokens = foldedTokens(trimmed);
    if (tokens.isEmpty() || tokens.size() > 8) return false;
    const auto at = std::find_if(tokens.cbegin(), tokens.cend(), [](const QString& t) { return t.startsWith(u'@'); });
    if (at == tokens.cend()) return false;
    const qsizetype k = at - tokens.cbegin();
    for (qsizetype i = 0; i < k; ++i) {
        const QString& t = tokens[i];
        if (!vocabulary.locationMarkers.containsFolded(t) && !vocabulary.locationLeadIns.containsFolded(t) &&
            !vocabulary.leaveWords.containsFolded(t) && !vocabulary.articles.containsFolded(t))
            return false;
    }
    tokens = tokens.mid(k);
    tokens[0].remove(0, 1);
    if (tokens[0].isEmpty()) tokens.removeFirst();
    tokens.removeIf([&](const QString& t) { return vocabulary.articles.containsFolded(t); });
    return tokens == foldedTokens(placeName);
}

bool groundList(const QString& listText, const QString& listName, const ParserVocabulary& vocabulary) {
    QStringList tokens = foldedTokens(listText);
    if (tokens.isEmpty() || tokens.size() > 5) return false;
    tokens.removeIf([&](const QString& t) { return vocabulary.listGlue.containsFolded(t); });
    if (tokens.isEmpty()) return false;
    return tokens == QStringList{u"#"_s + normalizedKey(listName)} || tokens == foldedTokens(listName);
}

}  // namespace tavlin::parsing::SmartQuickAddParser
