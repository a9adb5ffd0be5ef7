#pragma once

#include "platform/Date.h"
#include "platform/TimeZone.h"

#include <QDateTime>
#include <QTimeZone>

// Moments written as people write them. The wall times are read by Qt's own
// zone code, so that they check the ICU calendar rather than repeat it.

inline tavlin::platform::Date utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return tavlin::platform::Date::fromQDateTime(
        QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC));
}

// A zone the tests rely on: failing loudly when it is unknown.
inline tavlin::platform::TimeZone zone(const QString& identifier) {
    return tavlin::platform::TimeZone::fromIdentifier(identifier).value();
}

// An unambiguous wall time in the zone named `zoneName`.
inline tavlin::platform::Date wallTime(const char* zoneName, int year, int month, int day, int hour = 0, int minute = 0,
                                       int second = 0) {
    return tavlin::platform::Date::fromQDateTime(
        QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone(zoneName)));
}
