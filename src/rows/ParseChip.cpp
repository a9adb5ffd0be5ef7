#include "rows/ParseChip.h"

#include "parsing/RecurrenceEdit.h"
#include "platform/DueDate.h"
#include "platform/ShortDateFormats.h"

using namespace Qt::StringLiterals;

namespace tavlin::rows {

std::optional<QString> dateChipText(const parsing::ParsedQuickAdd& parsed, platform::Date now,
                                    const platform::Calendar& calendar) {
    const std::optional<platform::Date> date = platform::DueDate::date(parsed.dueDateComponents, calendar);
    if (!date) return std::nullopt;
    const platform::ShortDateFormats& formats = platform::ShortDateFormats::of(calendar);
    const auto withTime = [&](const QString& day) { return parsed.hasTime ? day + u' ' + formats.time(*date) : day; };
    // The words are fixed, not the locale's: they are the quick-add
    // language's own.
    if (calendar.isDateInSameDay(*date, now)) return withTime(u"Today"_s);
    const std::optional<platform::Date> tomorrow = calendar.dateByAdding(platform::CalendarComponent::Day, 1, now);
    if (tomorrow && calendar.isDateInSameDay(*date, *tomorrow)) return withTime(u"Tomorrow"_s);
    return withTime(formats.weekdayDayMonth(*date));
}

QString priorityText(platform::Priority priority) {
    switch (priority) {
    case platform::Priority::high: return u"!!!"_s;
    case platform::Priority::medium: return u"!!"_s;
    case platform::Priority::low: return u"!"_s;
    case platform::Priority::none: break;
    }
    return {};
}

std::vector<ParseChip> parseChips(const parsing::ParsedQuickAdd& parsed, platform::Date now,
                                  const platform::Calendar& calendar) {
    std::vector<ParseChip> chips;
    if (std::optional<QString> date = dateChipText(parsed, now, calendar))
        chips.push_back({Symbol::calendar, std::move(*date)});
    if (parsed.recurrenceFrequency)
        chips.push_back({Symbol::repeat,
                         parsing::RecurrenceEdit::shortLabel(*parsed.recurrenceFrequency, parsed.recurrenceInterval)});
    if (parsed.locationName) chips.push_back({Symbol::location, *parsed.locationName});
    if (QString priority = priorityText(parsed.priority); !priority.isEmpty())
        chips.push_back({Symbol::exclamationCircle, std::move(priority)});
    if (parsed.listName) chips.push_back({Symbol::listBullet, *parsed.listName});
    return chips;
}

}  // namespace tavlin::rows
