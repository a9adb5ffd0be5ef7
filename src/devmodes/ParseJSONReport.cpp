#include "devmodes/ParseJSONReport.h"

#include "devmodes/Output.h"
#include "devmodes/ParseComparisons.h"
#include "parsing/ParserVocabulary.h"
#include "parsing/RecurrenceEdit.h"
#include "parsing/SmartQuickAddParser.h"
#include "parsing/TaskSplitter.h"
#include "platform/Calendar.h"
#include "platform/CharacterSet.h"
#include "platform/DateFormatter.h"
#include "platform/DueDate.h"
#include "platform/Text.h"

#include <cmath>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using nlohmann::json;
using parsing::ParsedQuickAdd;
using parsing::ParserVocabulary;

namespace {

json textOrNull(const std::optional<QString>& text) { return text ? json(text->toStdString()) : json(nullptr); }

json deadline(const ParsedQuickAdd& reading) {
    if (!reading.dueDateComponents) return nullptr;
    const std::optional<platform::Date> due =
        platform::DueDate::date(reading.dueDateComponents, platform::Calendar::current());
    if (!due) return nullptr;
    static const platform::DateFormatter withTime(u"EEE yyyy-MM-dd HH:mm"_s, platform::Locale(u"en_GB"_s));
    static const platform::DateFormatter dateOnly(u"EEE yyyy-MM-dd"_s, platform::Locale(u"en_GB"_s));
    return reading.hasTime ? withTime.string(*due).toStdString()
                           : (dateOnly.string(*due) + u" (date-only)"_s).toStdString();
}

json range(const std::optional<double>& radius) {
    // A radius beyond what a whole number holds has no sensible text.
    if (!radius || !std::isfinite(*radius) || std::fabs(*radius) >= 9.2e18) return nullptr;
    return std::to_string(static_cast<long long>(std::trunc(*radius))) + " m";
}

QString generatedAt() {
    static const platform::DateFormatter iso(u"yyyy-MM-dd'T'HH:mm:ss'Z'"_s, platform::Locale::posix(),
                                             platform::TimeZone::gmt());
    return iso.string(platform::Date::now());
}

}  // namespace

json readingDictionary(const ParsedQuickAdd& r) {
    return json{
        {"bareCadence", r.dueDateIsBareCadenceDefault},
        {"dateText", textOrNull(r.matchedDateText)},
        {"deadline", deadline(r)},
        {"list", textOrNull(r.listName)},
        {"location", textOrNull(r.locationName)},
        {"priority", platform::icalendarPriority(r.priority)},
        {"range", range(r.locationRadius)},
        {"repeat", r.recurrenceFrequency ? json(parsing::RecurrenceEdit::adverb(*r.recurrenceFrequency).toStdString() +
                                                " x" + std::to_string(r.recurrenceInterval))
                                         : json(nullptr)},
        {"title", r.title.toStdString()},
        {"trigger", r.locationTrigger == parsing::LocationTrigger::leave ? "leave" : "arrive"},
    };
}

QStringList reportListNames(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(u"--parse-lists"_s);
    if (at < 0 || at + 1 >= arguments.size()) return {u"Reminders"_s, u"Ada Marlow's Work"_s, u"todo"_s};
    QStringList names;
    static const platform::CharacterSet spaceAndTab = platform::CharacterSet::fromCharacters(u" \t"_s);
    for (const QString& piece : arguments[at + 1].split(u',', Qt::SkipEmptyParts))
        names.append(platform::trimmed(piece, spaceAndTab));
    return names;
}

QString reportText(const json& report) {
    const std::string text = report.dump(2, ' ', false, json::error_handler_t::replace);
    // JSON allows "/" only inside strings, so escaping every one is safe.
    return QString::fromStdString(text).replace(u"/"_s, u"\\/"_s);
}

platform::Task<> parseJSONReport(QStringList arguments, QString fileText) {
    const QStringList listNames = reportListNames(arguments);
    Vocabularies vocabularies;
    json results = json::array();
    for (const QString& line : inputLines(fileText)) {
        QStringView rest(line);
        const std::optional<QString> identifier = takeTabField(rest);
        const std::optional<QString> languageTag = identifier ? takeTabField(rest) : std::nullopt;
        if (!languageTag || rest.isEmpty()) continue;
        const QString prompt = rest.toString();

        const ParserVocabulary vocabulary = vocabularies.forTag(*languageTag);
        json parts = json::array();
        for (const QString& task : parsing::TaskSplitter::split(prompt)) {
            const json det = readingDictionary(deterministicReading(task, listNames, vocabulary));
            const std::optional<ParsedQuickAdd> smart =
                co_await parsing::SmartQuickAddParser::parse(task, listNames, vocabulary);
            const json smartJson = smart ? readingDictionary(*smart) : json(nullptr);
            parts.push_back(
                {{"part", task.toStdString()}, {"det", det}, {"smart", smartJson}, {"ui", smart ? smartJson : det}});
        }
        results.push_back({{"id", identifier->toStdString()},
                           {"lang", languageTag->toStdString()},
                           {"prompt", prompt.toStdString()},
                           {"parts", std::move(parts)}});
        printErrorLine(u"done "_s + *identifier);
    }
    const json report = {{"generatedAt", generatedAt().toStdString()},
                         {"modelAvailable", parsing::SmartQuickAddParser::isModelAvailable()},
                         {"results", std::move(results)}};
    printLine(reportText(report));
    flushStandardOutput();
    terminateApplication();
}

}  // namespace tavlin::devmodes
