#include "panel/FooterContent.h"

using namespace Qt::StringLiterals;

namespace tavlin::panel {

FooterStatus footerStatus(const std::optional<store::ReminderStore::Error>& lastError, int doneToday) {
    if (lastError) return FooterError{editFailureMessage(*lastError), editFailureDetail(*lastError)};
    if (std::optional<DoneTodayMessage> done = doneTodayMessage(doneToday)) return *done;
    return std::monostate();
}

std::vector<GearMenuItem> gearMenu(const GearMenuActions& actions) {
    std::vector<GearMenuItem> items;
    items.push_back({u"Settings…"_s, actions.openPreferences});
    if (actions.checkForUpdates) {
        const std::optional<QString> version =
            actions.pendingUpdateVersion ? actions.pendingUpdateVersion() : std::nullopt;
        items.push_back(
            {version ? u"Update to "_s + *version + u"…"_s : u"Check for Updates…"_s, actions.checkForUpdates});
    }
    items.push_back({});
    items.push_back({u"Visit Tavlin Website"_s, actions.openWebsite});
    items.push_back({});
    items.push_back({u"Quit Tavlin"_s, actions.quit});
    return items;
}

}  // namespace tavlin::panel
