#pragma once

#include "platform/Calendar.h"
#include "platform/TimeZone.h"

#include <iosfwd>
#include <optional>

namespace tavlin::platform {

// Fields of a date, each one optional: an absent field differs from 0. The
// empty initializers let callers name only the fields they give
// ({.year = 2026, .month = 3}) without warnings.
struct DateComponents {
    std::optional<Calendar> calendar{};
    std::optional<TimeZone> timeZone{};
    std::optional<int> era{};
    std::optional<int> year{};
    std::optional<int> month{};  // 1 … 12
    std::optional<int> day{};
    std::optional<int> hour{};
    std::optional<int> minute{};
    std::optional<int> second{};
    std::optional<int> nanosecond{};
    std::optional<int> weekday{};  // 1 = Sunday … 7 = Saturday
    std::optional<int> weekdayOrdinal{};
    std::optional<int> weekOfMonth{};
    std::optional<int> weekOfYear{};
    std::optional<int> yearForWeekOfYear{};

    // The numeric field of a component; nothing for TimeZone and Calendar,
    // which setValue() leaves alone.
    std::optional<int> value(CalendarComponent component) const;
    void setValue(CalendarComponent component, std::optional<int> value);

    // A readable form for logs and test failures, the given fields only:
    // "{year: 2026, month: 3, day: 4, hour: 10, timeZone: Europe/Amsterdam}".
    QString description() const;

    // A time of day is given: an hour or a minute.
    bool hasTime() const { return hour || minute; }

    friend bool operator==(const DateComponents&, const DateComponents&) = default;
};

std::ostream& operator<<(std::ostream& out, const DateComponents& components);

}  // namespace tavlin::platform
