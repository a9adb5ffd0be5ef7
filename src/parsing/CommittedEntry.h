#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "platform/Calendar.h"
#include "platform/Date.h"

#include <QString>

#include <optional>

namespace tavlin::parsing {

// The rule reading of a line as it is saved. A reading with nothing left
// for a title keeps the whole line, trimmed, as its title and nothing else.
// A cadence without a date falls due on the day of `now`, without a time;
// an edit does so only when the reminder had a due text before, so that an
// undated reminder given a cadence stays undated.
ParsedQuickAdd committedEntry(const ParsedQuickAdd& parsed, const QString& text, bool editing,
                              const std::optional<QString>& previousDueText, platform::Date now = platform::Date::now(),
                              const platform::Calendar& calendar = platform::Calendar::current());

}  // namespace tavlin::parsing
