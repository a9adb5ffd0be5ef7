#pragma once

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

// One typed line (or one part of a split line) read into a reminder.
// `isEditing` is true only when the line re-reads an existing reminder;
// `listNames` are the lists a "#list" tag may name (none: no tag is read).
ParsedQuickAdd parse(const QString& text, platform::Date referenceDate, const platform::Calendar& calendar,
                     bool isEditing, const QStringList& listNames, const ParserVocabulary& vocabulary,
                     const std::optional<QString>& previousDateText, bool uses24HourClock);

// What remains of a line once its markers are out, tidied into a title:
// connectors before punctuation or at the end dropped, doubled ones joined.
QString cleanTitle(const QString& text, const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::QuickAddParser
