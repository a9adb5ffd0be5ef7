#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"

#include <array>
#include <optional>

namespace tavlin::store {

// Where a reminder's due date can be moved in one step.
enum class RescheduleTarget { today, tomorrow, thisWeekend, nextWeek, removeDate };

inline constexpr std::array allRescheduleTargets{RescheduleTarget::today, RescheduleTarget::tomorrow,
                                                 RescheduleTarget::thisWeekend, RescheduleTarget::nextWeek,
                                                 RescheduleTarget::removeDate};

// The start of the day `target` moves a reminder to, from the day that
// starts at `startOfToday`: that day, the next, the weekend (the day itself
// on a Saturday or Sunday), or the next Monday (a week on, on a Monday).
// Nothing for removeDate.
std::optional<platform::Date> targetDay(RescheduleTarget target, platform::Date startOfToday,
                                        const platform::Calendar& calendar);

// `date` on a Saturday or a Sunday, else the start of the next Saturday.
platform::Date weekendDate(platform::Date date, const platform::Calendar& calendar);

}  // namespace tavlin::store
