#pragma once

#include "platform/Date.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include <unicode/uversion.h>

// ICU names its namespace by version; "icu" is only an alias.
U_NAMESPACE_BEGIN
class TimeZone;
U_NAMESPACE_END

namespace tavlin::platform {

// An IANA time zone ("Europe/Amsterdam"). Copies share one immutable ICU zone.
class TimeZone {
public:
    // The user's zone: TZ when set (UTC when ICU does not know it), else the
    // system's. Read once per process, then as setCurrent says.
    static TimeZone current();
    // Makes `zone` the user's zone from now on, ICU's default zone with it:
    // the system's zone changed while Tavlin runs (see TimeZoneChanges).
    static void setCurrent(const TimeZone& zone);
    static TimeZone gmt();
    // Nothing for an identifier that ICU does not know.
    static std::optional<TimeZone> fromIdentifier(const QString& identifier);
    // The zone a TZ value names: "Europe/Amsterdam", ":Europe/Amsterdam" or a
    // file under a zoneinfo directory. Nothing for a zone ICU does not know.
    static std::optional<TimeZone> fromTZVariable(const QString& value);

    QString identifier() const;
    int secondsFromGMT(Date date) const;
    bool isDaylightSavingTime(Date date) const;

    const icu::TimeZone& icu() const { return *zone_; }

    friend bool operator==(const TimeZone& a, const TimeZone& b);

private:
    explicit TimeZone(std::shared_ptr<const icu::TimeZone> zone) : zone_(std::move(zone)) {}
    std::pair<int32_t, int32_t> offsets(Date date) const;  // raw and DST, in ms

    std::shared_ptr<const icu::TimeZone> zone_;
};

}  // namespace tavlin::platform
