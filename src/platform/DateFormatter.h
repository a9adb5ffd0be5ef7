#pragma once

#include "platform/Date.h"
#include "platform/Locale.h"
#include "platform/TimeZone.h"

#include <QString>

#include <memory>
#include <optional>

namespace tavlin::platform {

// A date format with a fixed pattern in the Unicode date field syntax
// ("d MMM yyyy HH:mm"), in the "en_US_POSIX" locale unless told otherwise,
// for texts that machines write and read back. Reading is strict: the whole
// text must match and name an existing date; fields the pattern lacks take
// 1970-01-01 00:00 in the formatter's zone. The calendar is the proleptic
// Gregorian one. Safe to use from several threads. A pattern ICU
// refuses formats to an empty string and reads nothing.
class DateFormatter {
public:
    explicit DateFormatter(const QString& pattern, const Locale& locale = Locale::posix(),
                           const TimeZone& zone = TimeZone::current());
    ~DateFormatter();
    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;

    QString string(Date date) const;
    std::optional<Date> date(const QString& text) const;

private:
    struct Format;
    std::unique_ptr<Format> format_;
};

}  // namespace tavlin::platform
