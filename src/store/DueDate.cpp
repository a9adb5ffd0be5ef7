#include "store/DueDate.h"

namespace tavlin::store::DueDate {

std::optional<platform::Date> date(const std::optional<platform::DateComponents>& components,
                                   const platform::Calendar& calendar) {
    if (!components) return std::nullopt;
    // Calendar::date lets a time zone carried by the components win.
    return components->calendar.value_or(calendar).date(*components);
}

}  // namespace tavlin::store::DueDate
