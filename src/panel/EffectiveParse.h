#pragma once

#include "panel/PanelTypes.h"
#include "parsing/ParsedQuickAdd.h"
#include "platform/Calendar.h"
#include "platform/Date.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Which reading of the typed line the panel shows and creates: the model's,
// only while it was made for exactly the text the field holds, else the
// rules' reading with the corrections a saved line gets.
namespace tavlin::panel {

// What a line is read against: the store's list titles in its order, the
// moment, and the user's calendar.
struct ReadingContext {
    QStringList listTitles;
    platform::Date now;
    const platform::Calendar& calendar;

    // The rules' reading of `text`, as it is searched by.
    parsing::ParsedQuickAdd parse(const QString& text) const;
    // The same, as it is saved (parsing::committedEntry): a line of markers
    // only keeps its text as its title; a bare cadence falls due today.
    parsing::ParsedQuickAdd ruleReading(const QString& text) const;
    // The line of an edited reminder as it is saved: read as an edit, with
    // the date text the reminder had (nothing: it had no due date).
    parsing::ParsedQuickAdd editReading(const QString& text, const std::optional<QString>& previousDateText) const;
};

// The reading of the whole line (trimmed): the model's when it read exactly
// that text, never corrected; else the rules' reading.
parsing::ParsedQuickAdd effectiveParsed(const QString& line, const std::optional<parsing::ParsedQuickAdd>& smartParsed,
                                        const QString& smartParsedQuery, const ReadingContext& context);

// One reading per task of the line (trimmed), in order: the model's reading
// of a task's exact text where it gave one, else the rules' reading.
std::vector<parsing::ParsedQuickAdd> parsedParts(const QString& line, const PartResults& partResults,
                                                 const ReadingContext& context);

}  // namespace tavlin::panel
