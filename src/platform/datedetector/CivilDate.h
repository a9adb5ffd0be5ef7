#pragma once

#include <compare>

namespace tavlin::platform::datedetector {

// A day of the proleptic Gregorian calendar, without a time or a zone, so
// that day arithmetic needs no ICU calendar.
struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    static CivilDate fromDayNumber(long long dayNumber);  // days since 1970-01-01
    long long dayNumber() const;
    CivilDate addingDays(long long days) const { return fromDayNumber(dayNumber() + days); }
    int weekday() const;  // 1 = Sunday … 7 = Saturday

    static int daysInMonth(int year, int month);
    static bool isValid(int year, int month, int day);

    friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

}  // namespace tavlin::platform::datedetector
