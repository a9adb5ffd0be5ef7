#include "store/DoneToday.h"

#include "store/ReminderStore.h"

#include <algorithm>
#include <limits>

namespace tavlin::store::DoneToday {

std::vector<platform::Reminder> filterIncludedLists(const std::vector<platform::Reminder>& reminders,
                                                    const QSet<QString>& includedLists, const DateOf& dateOf) {
    std::vector<platform::Reminder> kept = ReminderStore::filterReminders(reminders, {}, includedLists);
    const auto dateOrDistantPast = [&](const platform::Reminder& reminder) {
        return dateOf(reminder).value_or(platform::Date::fromSecondsSince1970(std::numeric_limits<double>::lowest()));
    };
    std::stable_sort(kept.begin(), kept.end(), [&](const platform::Reminder& a, const platform::Reminder& b) {
        return dateOrDistantPast(a) > dateOrDistantPast(b);
    });
    return kept;
}

}  // namespace tavlin::store::DoneToday
