#include "devmodes/DeveloperSwitches.h"

#include "devmodes/Output.h"
#include "devmodes/ParseComparisons.h"
#include "devmodes/ParseJSONReport.h"
#include "parsing/DateServices.h"
#include "parsing/QuickAddParser.h"
#include "platform/Calendar.h"
#include "platform/DateFormatter.h"
#include "platform/DueDate.h"
#include "platform/Task.h"
#include "platform/Text.h"

#include <QFile>
#include <QStringDecoder>

#include <functional>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using parsing::ParsedQuickAdd;

namespace {

// The arguments after the first one equal to `name`; nothing when absent.
std::optional<QStringList> argumentsAfter(const QStringList& arguments, const QString& name) {
    const qsizetype at = arguments.indexOf(name);
    if (at < 0) return std::nullopt;
    return arguments.mid(at + 1);
}

// A whole file as UTF-8 text; nothing when it cannot be read or decoded.
std::optional<QString> readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(file.readAll());
    if (decoder.hasError()) return std::nullopt;
    return text;
}

// Scenarios start at the next turn of the main loop, after launch returns.
void startScenario(std::function<platform::Task<>()> scenario) {
    platform::postToMainLoop([scenario = std::move(scenario)] { platform::detach(scenario()); });
}

QString utcDescription(platform::Date date) {
    static const platform::DateFormatter format(u"yyyy-MM-dd HH:mm:ss '+0000'"_s, platform::Locale::posix(),
                                                platform::TimeZone::gmt());
    return format.string(date);
}

void parseEdit(const QStringList& after) {
    const QString text = after[0];
    const std::optional<QString> previousDateText = after[1] == u"-"_s ? std::nullopt : std::optional(after[1]);
    const QStringList listNames = after.mid(2);
    const platform::Date now = platform::Date::now();
    const platform::Calendar calendar = platform::Calendar::current();

    ParsedQuickAdd parsed = parsing::QuickAddParser::parse(text, {.referenceDate = now,
                                                                  .calendar = calendar,
                                                                  .vocabulary = parsing::ParserVocabulary::current(),
                                                                  .listNames = listNames,
                                                                  .isEditing = true,
                                                                  .previousDateText = previousDateText});
    if (parsed.title.isEmpty()) {
        parsed = ParsedQuickAdd{};
        parsed.title = platform::trimmedWhitespaceAndNewlines(text);
    } else if (previousDateText) {
        parsing::QuickAddParser::dueTodayForBareCadence(parsed, now, calendar);
    }
    const std::optional<platform::Date> due = platform::DueDate::date(parsed.dueDateComponents, calendar);
    printLine(u"edit-parse: title=\""_s + parsed.title + u"\" due="_s + (due ? utcDescription(*due) : u"nil"_s) +
              u" hasTime="_s + (parsed.hasTime ? u"true"_s : u"false"_s) + u" matched="_s +
              parsed.matchedDateText.value_or(u"nil"_s) + u" list="_s + parsed.listName.value_or(u"nil"_s));
    flushStandardOutput();
    terminateApplication();
}

}  // namespace

void runSelfTests(const QStringList& arguments) {
    if (const auto after = argumentsAfter(arguments, u"--parse"_s); after && !after->isEmpty())
        startScenario([text = after->first()] { return parseCompareTest(text); });

    if (const auto after = argumentsAfter(arguments, u"--parse-edit"_s); after && after->size() >= 2) {
        parseEdit(*after);
        return;  // the run ends here; later switches are not looked at
    }

    if (const auto after = argumentsAfter(arguments, u"--parse-batch"_s); after && !after->isEmpty()) {
        if (const auto text = readTextFile(after->first())) startScenario([text = *text] { return parseBatch(text); });
    }
    if (const auto after = argumentsAfter(arguments, u"--parse-json"_s); after && !after->isEmpty()) {
        if (const auto text = readTextFile(after->first()))
            startScenario([arguments, text = *text] { return parseJSONReport(arguments, text); });
    }
}

}  // namespace tavlin::devmodes
