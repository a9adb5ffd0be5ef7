#include "platform/DateCache.h"

namespace tavlin::platform {

namespace {

// Each field and whether it is there, in bits of its own; nothing for
// components with fields other than a day, a time and a zone.
std::optional<std::uint64_t> packed(const DateComponents& c) {
    if (c.calendar || c.era || c.nanosecond || c.weekday || c.weekdayOrdinal || c.weekOfMonth || c.weekOfYear ||
        c.yearForWeekOfYear)
        return std::nullopt;
    std::uint64_t fields = 0;
    const auto put = [&fields](const std::optional<int>& value, int bits, int limit) {
        const bool fits = !value || (*value >= 0 && *value < limit);
        fields = (fields << bits) | (value && fits ? static_cast<std::uint64_t>(*value) + 1 : 0);
        return fits;
    };
    // Every field is packed, in order, whether or not an earlier one fit.
    bool fit = put(c.year, 16, 65535);
    fit = put(c.month, 5, 31) && fit;
    fit = put(c.day, 6, 63) && fit;
    fit = put(c.hour, 6, 63) && fit;
    fit = put(c.minute, 7, 127) && fit;
    fit = put(c.second, 7, 127) && fit;
    return fit ? std::optional(fields) : std::nullopt;
}

}  // namespace

std::optional<Date> DateCache::date(const DateComponents& components) {
    const std::optional<std::uint64_t> fields = packed(components);
    if (!fields) return calendar_.date(components);
    const Key key{*fields, components.timeZone ? &components.timeZone->icu() : nullptr};
    if (const auto found = dates_.find(key); found != dates_.end()) return found->second.date;
    // Bounded: a store of ordinary size never comes near it.
    if (dates_.size() > 200000) dates_.clear();
    return dates_.emplace(key, Kept{calendar_.date(components), components.timeZone}).first->second.date;
}

}  // namespace tavlin::platform
