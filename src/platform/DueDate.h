#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateComponents.h"

#include <optional>

namespace tavlin::platform::DueDate {

// The instant of due-date components: in their own calendar when they carry
// one, else in `calendar`, and in their own time zone when they carry one.
// Nothing without components or when they make no date.
std::optional<Date> date(const std::optional<DateComponents>& components, const Calendar& calendar);

}  // namespace tavlin::platform::DueDate
