#include "devmodes/ParseComparisons.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "parsing/RecurrenceEdit.h"
#include "parsing/SmartQuickAddParser.h"
#include "platform/CharacterSet.h"

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using parsing::ParsedQuickAdd;
using parsing::ParserVocabulary;

namespace {

QString quoted(const QString& text) { return u"\""_s + text + u"\""_s; }

QString optionalText(const std::optional<QString>& text) { return text ? quoted(*text) : u"nil"_s; }

QString triggerName(parsing::LocationTrigger trigger) {
    return trigger == parsing::LocationTrigger::leave ? u"leave"_s : u"arrive"_s;
}

QString orDash(const std::optional<QString>& text) { return text ? *text : u"-"_s; }

QString readingLine(const ParsedQuickAdd& reading, bool withDue) {
    QString line = u"title="_s + reading.title + u" | date="_s + orDash(reading.matchedDateText);
    if (withDue)
        line += u" | due="_s + (reading.dueDateComponents ? dateComponentsText(*reading.dueDateComponents) : u"-"_s);
    return line + u" | place="_s + orDash(reading.locationName) + u" | trigger="_s +
           triggerName(reading.locationTrigger);
}

}  // namespace

ParsedQuickAdd deterministicReading(const QString& text, const QStringList& listNames,
                                    const ParserVocabulary& vocabulary) {
    return committedReading(text, listNames, false, std::nullopt, vocabulary);
}

QString debugRendering(const ParsedQuickAdd& r) {
    const QStringList fields = {
        u"title: "_s + quoted(r.title),
        u"dueDateComponents: "_s + (r.dueDateComponents ? dateComponentsText(*r.dueDateComponents) : u"nil"_s),
        u"hasTime: "_s + boolText(r.hasTime),
        u"matchedDateText: "_s + optionalText(r.matchedDateText),
        u"recurrenceFrequency: "_s +
            (r.recurrenceFrequency ? parsing::RecurrenceEdit::adverb(*r.recurrenceFrequency) : u"nil"_s),
        u"recurrenceInterval: "_s + QString::number(r.recurrenceInterval),
        u"locationName: "_s + optionalText(r.locationName),
        u"locationRadius: "_s + (r.locationRadius ? QString::number(*r.locationRadius) : u"nil"_s),
        u"locationTrigger: "_s + triggerName(r.locationTrigger),
        u"priority: "_s + QString::number(platform::icalendarPriority(r.priority)),
        u"listName: "_s + optionalText(r.listName),
        u"dueDateIsBareCadenceDefault: "_s + boolText(r.dueDateIsBareCadenceDefault),
    };
    return u"ParsedQuickAdd("_s + fields.join(u", "_s) + u")"_s;
}

QStringList inputLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !platform::CharacterSet::newlines().contains(text.at(i).unicode())) continue;
        if (i > start) lines.append(text.mid(start, i - start));
        start = i + 1;
    }
    return lines;
}

const ParserVocabulary& Vocabularies::forTag(const QString& languageTag) {
    auto found = byTag_.constFind(languageTag);
    if (found == byTag_.cend()) {
        found =
            byTag_.insert(languageTag, languageTag == u"-"_s ? ParserVocabulary::current()
                                                             : ParserVocabulary::forLocaleIdentifiers({languageTag}));
    }
    return *found;
}

std::optional<QString> takeTabField(QStringView& rest) {
    qsizetype start = 0;
    while (start < rest.size() && rest.at(start) == u'\t') ++start;
    const qsizetype tab = rest.indexOf(u'\t', start);
    if (tab < 0 || tab == start) return std::nullopt;
    const QString field = rest.mid(start, tab - start).toString();
    rest = rest.mid(tab + 1);
    return field;
}

platform::Task<> parseCompareTest(QString text) {
    const ParserVocabulary& vocabulary = ParserVocabulary::current();
    printLine(u"deterministic: "_s + debugRendering(deterministicReading(text, {}, vocabulary)));
    // Named, not braced into the call: g++ 12 cannot keep an initializer
    // list alive across a co_await.
    const QStringList modelLists = {u"To do"_s, u"Work"_s};
    const std::optional<ParsedQuickAdd> smart =
        co_await parsing::SmartQuickAddParser::parse(text, modelLists, vocabulary);
    printLine(smart ? u"smart: "_s + debugRendering(*smart) : u"smart: unavailable"_s);
    flushStandardOutput();
    terminateApplication();
}

platform::Task<> parseBatch(QString fileText) {
    printLine(u"model available: "_s + boolText(parsing::SmartQuickAddParser::isModelAvailable()));
    flushStandardOutput();
    Vocabularies vocabularies;
    for (const QString& line : inputLines(fileText)) {
        QStringView rest(line);
        const std::optional<QString> tag = takeTabField(rest);
        if (!tag || rest.isEmpty()) continue;
        const QString text = rest.toString();
        const ParserVocabulary vocabulary = vocabularies.forTag(*tag);
        printLine(u"--- "_s + *tag + u": "_s + text);
        printLine(u"  det:   "_s + readingLine(deterministicReading(text, {}, vocabulary), false));
        const std::optional<ParsedQuickAdd> smart =
            co_await parsing::SmartQuickAddParser::parse(text, QStringList(), vocabulary);
        printLine(smart ? u"  smart: "_s + readingLine(*smart, true) : u"  smart: unavailable"_s);
        flushStandardOutput();
    }
    terminateApplication();
}

}  // namespace tavlin::devmodes
