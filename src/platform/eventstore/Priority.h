#pragma once

// How urgent a reminder is, in the four steps people set ("!", "!!", "!!!").
// A stored reminder keeps iCalendar's PRIORITY number (1 highest … 9 lowest,
// 0 none), which other clients may set to any step of that scale.

namespace tavlin::platform {

enum class Priority { none, low, medium, high };

// The number a reminder stores for the level.
constexpr int icalendarPriority(Priority priority) {
    switch (priority) {
    case Priority::high: return 1;
    case Priority::medium: return 5;
    case Priority::low: return 9;
    case Priority::none: break;
    }
    return 0;
}

// The level of a stored number: 1 … 4 high, 5 medium, 6 … 9 low, any other none.
constexpr Priority priorityLevel(int icalendarPriority) {
    if (icalendarPriority >= 1 && icalendarPriority <= 4) return Priority::high;
    if (icalendarPriority == 5) return Priority::medium;
    if (icalendarPriority >= 6 && icalendarPriority <= 9) return Priority::low;
    return Priority::none;
}

}  // namespace tavlin::platform
