#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"

#include <QString>

#include <array>
#include <optional>

namespace tavlin::store {

class DueReckoning;
class DueState;

// What a count in the tray shows; stored by case name.
enum class CountScope { overdue, today, dueNow, next7Days, allIncomplete, noDueDate, completedToday, none };

// Every scope, in declaration order.
inline constexpr std::array allCountScopes{
    CountScope::overdue,       CountScope::today,     CountScope::dueNow,         CountScope::next7Days,
    CountScope::allIncomplete, CountScope::noDueDate, CountScope::completedToday, CountScope::none,
};

QString rawValue(CountScope scope);
// Exactly one of the eight case names, case-sensitive.
std::optional<CountScope> countScopeFromRawValue(QStringView raw);

// "3 overdue", "1000 due today" (no digit grouping); nothing for none.
std::optional<QString> label(CountScope scope, int count);

// Whether a reminder in `state` counts for `scope`, with day boundaries in
// `calendar`. The done-today count is not made of due states, so
// completedToday, like none, includes nothing.
bool includes(CountScope scope, const DueState& state, platform::Date now, const platform::Calendar& calendar);
// The same, with the week's bound worked out once for many states.
bool includes(CountScope scope, const DueState& state, const DueReckoning& reckoning);

// `secondary`, or when it equals `primary` the first scope that does not:
// today for overdue, overdue for every other primary.
CountScope distinctSecondary(CountScope primary, CountScope secondary);

}  // namespace tavlin::store
