#pragma once

#include "devmodes/PanelDriver.h"
#include "platform/LocationManager.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace tavlin::store {
class LocationProvider;
class ReminderStore;
class Settings;
}  // namespace tavlin::store

// --nearby-test: how Tavlin sees the reminders with a place against where
// the user is. It asks for a fix first, or stands at the first such place
// and shows the panel with nearby grouping on; then it reports and ends
// the run.
namespace tavlin::devmodes {

struct NearbyTestServices {
    store::ReminderStore& store;
    store::Settings& settings;
    store::LocationProvider& locationProvider;
    std::function<void()> openPanel;  // no capture text, the anchor as it is
    PanelDiagnostics panel;
};

// A place without a radius of its own counts as near within this.
inline constexpr double defaultNearbyRadius = 250;

// The report: the permission, the fix, one line per reminder with a place
// (among `reminders`, in order) and the count.
QStringList nearbyReport(platform::LocationAuthorization authorization, const std::optional<platform::Location>& fix,
                         const std::vector<platform::Reminder>& reminders);

// `mode`: "request" asks the provider for a fix and waits 20 s; "simulate"
// stands at the first place with coordinates; anything else asks for a fix
// at once and waits 4 s. Nearby grouping, which "simulate" turns on while the
// panel shows, is the user's own again however the run ends.
platform::Task<> nearbyTest(QString mode, NearbyTestServices services);

}  // namespace tavlin::devmodes
