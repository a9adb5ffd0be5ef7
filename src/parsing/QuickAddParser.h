#pragma once

#include "parsing/DateServices.h"
#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Calendar.h"
#include "platform/Date.h"

#include <QString>
#include <QStringList>

#include <optional>

// The deterministic reader of the quick-add language. A namespace of pure
// functions: nothing here keeps state between calls, and any thread may call.
namespace tavlin::parsing::QuickAddParser {

// What a line is read against. The defaults are those of a new reminder
// typed by the user.
struct ParseOptions {
    platform::Date referenceDate;  // "now", which relative dates count from
    const platform::Calendar& calendar;
    const ParserVocabulary& vocabulary;
    // The lists a "#list" tag may name; none: no tag is read.
    QStringList listNames;
    // True only when the line re-reads an existing reminder.
    bool isEditing = false;
    // When editing, the date phrase the reminder's line had; left standing
    // on its own in the new line, it goes with the date it named.
    std::optional<QString> previousDateText;
    bool uses24HourClock = hourCyclePreference();
};

// One typed line (or one part of a split line) read into a reminder.
ParsedQuickAdd parse(const QString& text, const ParseOptions& options);

// What remains of a line once its markers are out, tidied into a title:
// connectors before punctuation or at the end dropped, doubled ones joined.
QString cleanTitle(const QString& text, const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::QuickAddParser
