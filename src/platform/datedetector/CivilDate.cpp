#include "platform/datedetector/CivilDate.h"

namespace tavlin::platform::datedetector {

namespace {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Floor division, so that days before 1970 count the same way.
long long floorDivide(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

// The era-based day count of the proleptic Gregorian calendar: 400-year
// eras of 146097 days, each year starting on 1 March so that the leap day
// comes last.
long long CivilDate::dayNumber() const {
    const long long shiftedYear = month <= 2 ? year - 1LL : year;
    const long long era = floorDivide(shiftedYear, 400);
    const long long yearOfEra = shiftedYear - era * 400;
    const long long monthFromMarch = (month + 9) % 12;
    const long long dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilDate::fromDayNumber(long long dayNumber) {
    const long long shifted = dayNumber + 719468;
    const long long era = floorDivide(shifted, 146097);
    const long long dayOfEra = shifted - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), month, day};
}

int CivilDate::weekday() const {
    // 1970-01-01 was a Thursday (5).
    const long long fromThursday = (dayNumber() % 7 + 7) % 7;
    return static_cast<int>((fromThursday + 4) % 7) + 1;
}

int CivilDate::daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool CivilDate::isValid(int year, int month, int day) {
    return year >= 1 && year <= 9999 && day >= 1 && day <= daysInMonth(year, month);
}

}  // namespace tavlin::platform::datedetector
