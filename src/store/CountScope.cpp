#include "store/CountScope.h"

#include "store/CaseNames.h"
#include "store/DueState.h"

#include <algorithm>

namespace tavlin::store {

namespace {

constexpr CaseNames<CountScope, allCountScopes.size()> kNames{{
    u"overdue",
    u"today",
    u"dueNow",
    u"next7Days",
    u"allIncomplete",
    u"noDueDate",
    u"completedToday",
    u"none",
}};

std::optional<QStringView> labelSuffix(CountScope scope) {
    switch (scope) {
    case CountScope::overdue: return u" overdue";
    case CountScope::today: return u" due today";
    case CountScope::dueNow: return u" due by today";
    case CountScope::next7Days: return u" due in the next 7 days";
    case CountScope::allIncomplete: return u" open";
    case CountScope::noDueDate: return u" undated";
    case CountScope::completedToday: return u" done today";
    case CountScope::none: return std::nullopt;
    }
    return std::nullopt;
}

// Today, or upcoming before the start of the day a week after today.
template <class WeekAhead>
bool isWithinSevenDays(const DueState& state, const WeekAhead& weekAhead) {
    if (state.kind() == DueState::Kind::today) return true;
    const std::optional<platform::Date> due = state.upcomingDate();
    if (!due) return false;
    const std::optional<platform::Date> limit = weekAhead();
    return limit && *due < *limit;
}

template <class WeekAhead>
bool includesState(CountScope scope, const DueState& state, const WeekAhead& weekAhead) {
    using Kind = DueState::Kind;
    switch (scope) {
    case CountScope::overdue: return state.kind() == Kind::overdue;
    case CountScope::today: return state.kind() == Kind::today;
    case CountScope::dueNow: return state.kind() == Kind::overdue || state.kind() == Kind::today;
    case CountScope::next7Days: return isWithinSevenDays(state, weekAhead);
    case CountScope::allIncomplete: return true;
    case CountScope::noDueDate: return state.kind() == Kind::none;
    case CountScope::completedToday:
    case CountScope::none: return false;
    }
    return false;
}

}  // namespace

QString rawValue(CountScope scope) { return kNames.nameOf(scope); }

std::optional<CountScope> countScopeFromRawValue(QStringView raw) { return kNames.caseNamed(raw); }

std::optional<QString> label(CountScope scope, int count) {
    const std::optional<QStringView> suffix = labelSuffix(scope);
    if (!suffix) return std::nullopt;
    return QString::number(count).append(*suffix);
}

bool includes(CountScope scope, const DueState& state, platform::Date now, const platform::Calendar& calendar) {
    return includesState(scope, state, [&] {
        return calendar.dateByAdding(platform::CalendarComponent::Day, 7, calendar.startOfDay(now));
    });
}

bool includes(CountScope scope, const DueState& state, const DueReckoning& reckoning) {
    return includesState(scope, state, [&] { return reckoning.weekAhead(); });
}

CountScope distinctSecondary(CountScope primary, CountScope secondary) {
    if (secondary != primary) return secondary;
    return *std::ranges::find_if(allCountScopes, [primary](CountScope scope) { return scope != primary; });
}

}  // namespace tavlin::store
