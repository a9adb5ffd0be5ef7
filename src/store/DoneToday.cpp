#include "store/DoneToday.h"

#include "store/ReminderStore.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace tavlin::store::DoneToday {

std::vector<platform::Reminder> filterIncludedLists(const std::vector<platform::Reminder>& reminders,
                                                    const QSet<QString>& includedLists, const DateOf& dateOf) {
    return platform::copiesOf(filterIncludedLists(platform::pointersTo(reminders), includedLists, dateOf));
}

std::vector<const platform::Reminder*> filterIncludedLists(const std::vector<const platform::Reminder*>& reminders,
                                                           const QSet<QString>& includedLists, const DateOf& dateOf) {
    std::vector<const platform::Reminder*> kept;
    std::copy_if(reminders.begin(), reminders.end(), std::back_inserter(kept),
                 [&](const platform::Reminder* r) { return ReminderStore::isInIncludedLists(*r, includedLists); });
    const auto dateOrDistantPast = [&](const platform::Reminder& reminder) {
        return dateOf(reminder).value_or(platform::Date::fromSecondsSince1970(std::numeric_limits<double>::lowest()));
    };
    std::stable_sort(kept.begin(), kept.end(), [&](const platform::Reminder* a, const platform::Reminder* b) {
        return dateOrDistantPast(*a) > dateOrDistantPast(*b);
    });
    return kept;
}

}  // namespace tavlin::store::DoneToday
