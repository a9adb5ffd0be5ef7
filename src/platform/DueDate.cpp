#include "platform/DueDate.h"

namespace tavlin::platform::DueDate {

std::optional<Date> date(const std::optional<DateComponents>& components, const Calendar& calendar) {
    if (!components) return std::nullopt;
    // Calendar::date lets a time zone carried by the components win.
    return components->calendar.value_or(calendar).date(*components);
}

}  // namespace tavlin::platform::DueDate
