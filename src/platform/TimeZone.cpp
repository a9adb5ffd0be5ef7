#include "platform/TimeZone.h"

#include "platform/IcuString.h"

#include <unicode/timezone.h>

#include <mutex>

namespace tavlin::platform {

namespace {

// ICU answers a name it does not know with the zone "Etc/Unknown".
bool isUnknown(const icu::TimeZone& zone) {
    icu::UnicodeString id, unknownId;
    return zone.getID(id) == icu::TimeZone::getUnknown().getID(unknownId);
}

// The user's zone, which setCurrent may replace; workers read it too.
struct CurrentZone {
    std::mutex mutex;
    std::optional<TimeZone> zone;
};

CurrentZone& currentZone() {
    static CurrentZone current;
    return current;
}

}  // namespace

TimeZone TimeZone::current() {
    CurrentZone& current = currentZone();
    const std::lock_guard lock(current.mutex);
    if (!current.zone) {
        const QString tz = qEnvironmentVariable("TZ");
        if (!tz.isEmpty()) {
            // The C library reads a TZ it cannot find as UTC; so do we.
            current.zone = fromTZVariable(tz).value_or(gmt());
        } else {
            std::shared_ptr<const icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
            current.zone = isUnknown(*host) ? gmt() : TimeZone(std::move(host));
        }
    }
    return *current.zone;
}

void TimeZone::setCurrent(const TimeZone& zone) {
    CurrentZone& current = currentZone();
    const std::lock_guard lock(current.mutex);
    current.zone = zone;
    icu::TimeZone::setDefault(zone.icu());
}

TimeZone TimeZone::gmt() {
    static const TimeZone zone(std::shared_ptr<const icu::TimeZone>(icu::TimeZone::getGMT()->clone()));
    return zone;
}

std::optional<TimeZone> TimeZone::fromIdentifier(const QString& identifier) {
    std::shared_ptr<const icu::TimeZone> zone(icu::TimeZone::createTimeZone(icuView(identifier)));
    if (isUnknown(*zone)) return std::nullopt;
    return TimeZone(std::move(zone));
}

std::optional<TimeZone> TimeZone::fromTZVariable(const QString& value) {
    QString name = value.startsWith(u':') ? value.mid(1) : value;
    const QString zoneinfo = QStringLiteral("zoneinfo/");
    if (const qsizetype at = name.lastIndexOf(zoneinfo); at >= 0) name = name.mid(at + zoneinfo.size());
    return fromIdentifier(name);
}

QString TimeZone::identifier() const {
    icu::UnicodeString id;
    return fromIcu(zone_->getID(id));
}

int TimeZone::secondsFromGMT(Date date) const {
    const auto [raw, dst] = offsets(date);
    return (raw + dst) / 1000;
}

bool TimeZone::isDaylightSavingTime(Date date) const { return offsets(date).second != 0; }

std::pair<int32_t, int32_t> TimeZone::offsets(Date date) const {
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone_->getOffset(date.toUDate(), false, raw, dst, status);
    return {raw, dst};
}

bool operator==(const TimeZone& a, const TimeZone& b) { return a.identifier() == b.identifier(); }

}  // namespace tavlin::platform
