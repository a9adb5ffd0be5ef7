#pragma once

#include "platform/Calendar.h"
#include "platform/TimeZone.h"

#include <iosfwd>
#include <optional>

namespace tavlin::platform {

// Fields of a date, each one optional: an absent field differs from 0.
struct DateComponents {
    std::optional<Calendar> calendar;
    std::optional<TimeZone> timeZone;
    std::optional<int> era;
    std::optional<int> year;
    std::optional<int> month;  // 1 … 12
    std::optional<int> day;
    std::optional<int> hour;
    std::optional<int> minute;
    std::optional<int> second;
    std::optional<int> nanosecond;
    std::optional<int> weekday;  // 1 = Sunday … 7 = Saturday
    std::optional<int> weekdayOrdinal;
    std::optional<int> weekOfMonth;
    std::optional<int> weekOfYear;
    std::optional<int> yearForWeekOfYear;

    // A readable form for logs and test failures: "2026-03-04 10:00 Europe/Amsterdam".
    QString description() const;

    friend bool operator==(const DateComponents&, const DateComponents&) = default;
};

std::ostream& operator<<(std::ostream& out, const DateComponents& components);

}  // namespace tavlin::platform
