#pragma once

#include <QDateTime>

#include <compare>

namespace tavlin::platform {

// An instant, independent of any calendar or time zone.
class Date {
public:
    constexpr Date() = default;

    static Date now();  // the system clock (so faketime moves it too)
    static constexpr Date fromSecondsSince1970(double seconds) { return Date(seconds); }
    static constexpr Date fromUDate(double milliseconds) { return Date(milliseconds / 1000.0); }
    static Date fromQDateTime(const QDateTime& dateTime);

    constexpr double secondsSince1970() const { return seconds_; }
    constexpr double toUDate() const { return seconds_ * 1000.0; }  // ICU's milliseconds
    QDateTime toQDateTime() const;

    constexpr Date addingTimeInterval(double seconds) const { return Date(seconds_ + seconds); }
    constexpr double timeIntervalSince(Date other) const { return seconds_ - other.seconds_; }

    friend constexpr auto operator<=>(Date, Date) = default;
    friend constexpr bool operator==(Date, Date) = default;

private:
    explicit constexpr Date(double seconds) : seconds_(seconds) {}
    double seconds_ = 0;
};

// A span of time from `start`.
struct DateInterval {
    Date start;
    double duration = 0;  // seconds

    Date end() const { return start.addingTimeInterval(duration); }
    bool contains(Date date) const { return date >= start && date <= end(); }
    friend bool operator==(const DateInterval&, const DateInterval&) = default;
};

}  // namespace tavlin::platform
