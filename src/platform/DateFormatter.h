#pragma once

#include "platform/Date.h"
#include "platform/Locale.h"
#include "platform/TimeZone.h"

#include <QString>

#include <memory>
#include <optional>
#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

namespace tavlin::platform {

// A date format with a fixed pattern in the Unicode date field syntax
// ("d MMM yyyy HH:mm"), in the "en_US_POSIX" locale unless told otherwise,
// for texts that machines write and read back. Reading is strict: the whole
// text must match and name an existing date.
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
    std::unique_ptr<icu::SimpleDateFormat> format_;
};

}  // namespace tavlin::platform
