#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateFormatter.h"

#include <QString>

namespace tavlin::platform {

// The two short forms in which people see a date, in a calendar's locale and
// time zone: the time in the locale's short style and its own hour cycle
// ("17:00", "5:00 PM"), and the abbreviated weekday, the day and the
// abbreviated month in the locale's order and punctuation ("Wed 4 Mar",
// "Wed, Mar 4"), never a year.
class ShortDateFormats {
public:
    explicit ShortDateFormats(const Calendar& calendar);

    // The formats of `calendar`'s locale and zone, made once and kept for as
    // long as the next caller asks for the same ones (one set per thread).
    static const ShortDateFormats& of(const Calendar& calendar);

    QString time(Date date) const { return time_.string(date); }
    QString weekdayDayMonth(Date date) const { return day_.string(date); }

private:
    Locale locale_;
    TimeZone zone_;
    DateFormatter time_;
    DateFormatter day_;
};

}  // namespace tavlin::platform
