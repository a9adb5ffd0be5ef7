#pragma once

#include "panel/PanelTexts.h"
#include "store/ReminderStore.h"

#include <QString>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

// What the panel's footer holds: a status on the left and the gear menu.
namespace tavlin::panel {

// The store's last failure, short and long.
struct FooterError {
    QString message;
    QString detail;

    friend bool operator==(const FooterError&, const FooterError&) = default;
};

// The store's last failure first, else the reminders done today, else
// nothing.
using FooterStatus = std::variant<std::monostate, FooterError, DoneTodayMessage>;
FooterStatus footerStatus(const std::optional<store::ReminderStore::Error>& lastError, int doneToday);

// An item of the gear menu; one without a title is a separator.
struct GearMenuItem {
    QString title;
    std::function<void()> action;

    bool isSeparator() const { return title.isEmpty(); }
};

struct GearMenuActions {
    std::function<void()> openPreferences;
    std::function<void()> checkForUpdates;  // empty: no update item
    std::function<std::optional<QString>()> pendingUpdateVersion;
    std::function<void()> openWebsite;
    std::function<void()> quit;
};

// Settings…, the update item (only with an update check; "Update to
// <version>…" while an update waits), the web site and Quit, with
// separators. No item has a shortcut.
std::vector<GearMenuItem> gearMenu(const GearMenuActions& actions);

}  // namespace tavlin::panel
