#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateComponents.h"

#include <cstddef>
#include <functional>
#include <optional>

namespace tavlin::store {

// Where a reminder's due date stands against now: overdue, today, upcoming
// (with its due instant) or none.
class DueState {
public:
    enum class Kind { overdue, today, upcoming, none };

    static DueState overdue() { return DueState(Kind::overdue); }
    static DueState today() { return DueState(Kind::today); }
    static DueState upcoming(platform::Date due) { return DueState(Kind::upcoming, due); }
    static DueState none() { return DueState(Kind::none); }

    // Components without hour and minute are due all day: overdue only from
    // the next day on. Timed ones are overdue from their instant. Days are
    // those of `calendar`; the components' own calendar and zone decide the
    // instant they name.
    DueState(const std::optional<platform::DateComponents>& components, platform::Date now,
             const platform::Calendar& calendar);

    Kind kind() const { return kind_; }
    // The due instant of an upcoming state; nothing for the others.
    std::optional<platform::Date> upcomingDate() const { return upcomingDate_; }

    friend bool operator==(const DueState&, const DueState&) = default;

private:
    explicit DueState(Kind kind, std::optional<platform::Date> upcomingDate = std::nullopt)
        : kind_(kind), upcomingDate_(upcomingDate) {}

    Kind kind_;
    std::optional<platform::Date> upcomingDate_;
};

// The due states of many reminders against one moment: the bounds of its day
// (and of the week from its start) are worked out once, and each state from
// a due instant found beforehand. The states are those DueState gives.
class DueReckoning {
public:
    DueReckoning(platform::Date now, const platform::Calendar& calendar);

    platform::Date now() const { return now_; }
    platform::Date startOfToday() const { return startOfToday_; }
    // The start of the day a week after today's; nothing when out of reach.
    std::optional<platform::Date> weekAhead() const { return weekAhead_; }

    // DueState(components, now, calendar), where `due` is
    // DueDate::date(components, calendar).
    DueState state(const std::optional<platform::DateComponents>& components, std::optional<platform::Date> due) const;
    // The same for a due date known by its instant and whether it has a time.
    DueState state(bool hasTime, std::optional<platform::Date> due) const;

private:
    platform::Date now_;
    platform::Date startOfToday_;
    platform::Date startOfTomorrow_;
    std::optional<platform::Date> weekAhead_;
};

}  // namespace tavlin::store

template <>
struct std::hash<tavlin::store::DueState> {
    std::size_t operator()(const tavlin::store::DueState& state) const noexcept {
        const std::size_t kind = std::hash<int>()(static_cast<int>(state.kind()));
        const std::optional<tavlin::platform::Date> date = state.upcomingDate();
        return date ? kind ^ (std::hash<double>()(date->secondsSince1970()) << 1) : kind;
    }
};
