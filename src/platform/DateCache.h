#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateComponents.h"
#include "platform/TimeZone.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

namespace tavlin::platform {

// The instants of date components in one calendar, kept by their value:
// reading a time in a zone is the costly part, and among thousands of
// reminders the same dates come again and again. Only components of a
// day, a time and a zone are kept; others are read each time. One thread.
class DateCache {
public:
    explicit DateCache(Calendar calendar) : calendar_(std::move(calendar)) {}

    // calendar().date(components).
    std::optional<Date> date(const DateComponents& components);
    const Calendar& calendar() const { return calendar_; }

private:
    struct Key {
        std::uint64_t fields = 0;
        const void* zone = nullptr;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<std::uint64_t>()(key.fields) ^ std::hash<const void*>()(key.zone);
        }
    };
    struct Kept {
        std::optional<Date> date;
        std::optional<TimeZone> zone;  // holds the zone its key points at
    };

    Calendar calendar_;
    std::unordered_map<Key, Kept, KeyHash> dates_;
};

}  // namespace tavlin::platform
