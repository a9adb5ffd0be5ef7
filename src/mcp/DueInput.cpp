#include "mcp/DueInput.h"

#include "platform/DateFormatter.h"
#include "platform/Locale.h"
#include "platform/Text.h"

#include <QStringList>

#include <vector>

using namespace Qt::StringLiterals;

namespace tavlin::mcp::DueInput {

namespace {

using platform::CalendarComponent;
using platform::DateFormatter;

// Moments, in the order they are tried: internet date-times with a zone
// designator (with and without fractions, and to the minute as the
// argument's description promises), then wall times of the zone.
const QStringList& timedPatterns() {
    static const QStringList patterns{
        u"yyyy-MM-dd'T'HH:mm:ssXXX"_s,      u"yyyy-MM-dd'T'HH:mm:ss.SSSXXX"_s, u"yyyy-MM-dd'T'HH:mm:ss.SSXXX"_s,
        u"yyyy-MM-dd'T'HH:mm:ss.SXXX"_s,    u"yyyy-MM-dd'T'HH:mmXXX"_s,       u"yyyy-MM-dd'T'HH:mm:ss"_s,
        u"yyyy-MM-dd HH:mm:ss"_s,           u"yyyy-MM-dd'T'HH:mm"_s,          u"yyyy-MM-dd HH:mm"_s,
    };
    return patterns;
}

std::optional<platform::Date> read(const QString& text, const QString& pattern, const platform::TimeZone& zone) {
    return DateFormatter(pattern, platform::Locale::posix(), zone).date(text);
}

}  // namespace

std::optional<Outcome> parse(const QString& text, const platform::Calendar& calendar) {
    const QString trimmed = platform::trimmedWhitespaceAndNewlines(text);
    static const QStringList clearing{u"none"_s, u"null"_s, u"clear"_s, QString()};
    if (clearing.contains(platform::lowercasedPosix(trimmed))) return Clear{};
    for (const QString& pattern : timedPatterns()) {
        if (const auto moment = read(trimmed, pattern, calendar.timeZone())) {
            return Value{calendar.dateComponents(CalendarComponent::Year | CalendarComponent::Month |
                                                     CalendarComponent::Day | CalendarComponent::Hour |
                                                     CalendarComponent::Minute,
                                                 *moment),
                         true};
        }
    }
    if (const auto day = read(trimmed, u"yyyy-MM-dd"_s, calendar.timeZone())) {
        return Value{calendar.dateComponents(CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day,
                                             *day),
                     false};
    }
    return std::nullopt;
}

}  // namespace tavlin::mcp::DueInput
