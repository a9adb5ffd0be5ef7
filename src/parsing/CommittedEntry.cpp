#include "parsing/CommittedEntry.h"

#include "parsing/DateServices.h"
#include "platform/Text.h"

namespace tavlin::parsing {

ParsedQuickAdd committedEntry(const ParsedQuickAdd& parsed, const QString& text, bool editing,
                              const std::optional<QString>& previousDueText, platform::Date now,
                              const platform::Calendar& calendar) {
    if (parsed.title.isEmpty()) return ParsedQuickAdd{.title = platform::trimmedWhitespaceAndNewlines(text)};
    ParsedQuickAdd entry = parsed;
    if (!editing || previousDueText) QuickAddParser::dueTodayForBareCadence(entry, now, calendar);
    return entry;
}

}  // namespace tavlin::parsing
