#include "mcp/DueInput.h"

#include "platform/DateFormatter.h"
#include "platform/Locale.h"
#include "platform/Text.h"

#include <QStringList>

#include <array>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavlin::mcp::DueInput {

namespace {

using platform::CalendarComponent;
using platform::DateFormatter;

// Moments, in the order they are tried: internet date-times with a zone
// designator (with and without fractions, and to the minute as the
// argument's description promises), then wall times of the zone; the day
// alone last.
constexpr std::array patterns{
    u"yyyy-MM-dd'T'HH:mm:ssXXX",
    u"yyyy-MM-dd'T'HH:mm:ss.SSSXXX",
    u"yyyy-MM-dd'T'HH:mm:ss.SSXXX",
    u"yyyy-MM-dd'T'HH:mm:ss.SXXX",
    u"yyyy-MM-dd'T'HH:mmXXX",
    u"yyyy-MM-dd'T'HH:mm:ss",
    u"yyyy-MM-dd HH:mm:ss",
    u"yyyy-MM-dd'T'HH:mm",
    u"yyyy-MM-dd HH:mm",
    u"yyyy-MM-dd",
};
constexpr std::size_t timedPatternCount = patterns.size() - 1;

// The readers of every pattern in one zone. Making an ICU formatter costs
// far more than reading with it, and a tool call's zone hardly ever changes,
// so each thread keeps those of the last zone it read in.
const std::vector<DateFormatter>& readers(const platform::TimeZone& zone) {
    thread_local std::optional<platform::TimeZone> cachedZone;
    thread_local std::vector<DateFormatter> cached;
    if (cachedZone != zone) {
        cached.clear();
        for (const char16_t* pattern : patterns)
            cached.emplace_back(QString::fromUtf16(pattern), platform::Locale::posix(), zone);
        cachedZone = zone;
    }
    return cached;
}

}  // namespace

std::optional<Outcome> parse(const QString& text, const platform::Calendar& calendar) {
    const QString trimmed = platform::trimmedWhitespaceAndNewlines(text);
    static const QStringList clearing{u"none"_s, u"null"_s, u"clear"_s, QString()};
    if (clearing.contains(platform::lowercasedPosix(trimmed))) return Clear{};
    const std::vector<DateFormatter>& formatters = readers(calendar.timeZone());
    for (std::size_t i = 0; i < timedPatternCount; ++i) {
        if (const auto moment = formatters[i].date(trimmed)) {
            return Value{
                calendar.dateComponents(CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day |
                                            CalendarComponent::Hour | CalendarComponent::Minute,
                                        *moment),
                true};
        }
    }
    if (const auto day = formatters[timedPatternCount].date(trimmed)) {
        return Value{
            calendar.dateComponents(CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day, *day),
            false};
    }
    return std::nullopt;
}

}  // namespace tavlin::mcp::DueInput
