#include "platform/DateFormatter.h"

#include "platform/Calendar.h"
#include "platform/IcuString.h"

#include <unicode/smpdtfmt.h>

#include <mutex>

namespace tavlin::platform {

// ICU formats are not safe to share between threads: formatting moves the
// format's calendar.
struct DateFormatter::Format {
    std::mutex mutex;
    std::unique_ptr<icu::SimpleDateFormat> icu;  // null for a pattern ICU refuses
};

namespace {

std::unique_ptr<icu::SimpleDateFormat> makeFormat(const QString& pattern, const Locale& locale, const TimeZone& zone) {
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icuView(pattern), locale.icu(), status);
    if (U_FAILURE(status)) return nullptr;
    format->adoptCalendar(Calendar::gregorian(zone, locale).makeIcuCalendar().release());
    format->setLenient(false);
    return format;
}

}  // namespace

DateFormatter::DateFormatter(const QString& pattern, const Locale& locale, const TimeZone& zone)
    : format_(std::make_unique<Format>()) {
    format_->icu = makeFormat(pattern, locale, zone);
}

DateFormatter::~DateFormatter() = default;
DateFormatter::DateFormatter(DateFormatter&&) noexcept = default;
DateFormatter& DateFormatter::operator=(DateFormatter&&) noexcept = default;

QString DateFormatter::string(Date date) const {
    const std::lock_guard lock(format_->mutex);
    if (!format_->icu) return {};
    icu::UnicodeString text;
    return fromIcu(format_->icu->format(date.toUDate(), text));
}

std::optional<Date> DateFormatter::date(const QString& text) const {
    const std::lock_guard lock(format_->mutex);
    if (!format_->icu) return std::nullopt;
    const icu::UnicodeString input = icuView(text);
    icu::ParsePosition position(0);
    const UDate parsed = format_->icu->parse(input, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != input.length()) return std::nullopt;
    return Date::fromUDate(parsed);
}

}  // namespace tavlin::platform
