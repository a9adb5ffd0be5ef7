#pragma once

#include "platform/LocationManager.h"
#include "store/ObservationTracking.h"

#include <QObject>

#include <memory>
#include <optional>

namespace tavlin::store {

// Where the user is, and whether they let Tavlin know it: for grouping the
// reminders whose place is near. It asks for one fix at a time, on request,
// never for a stream of them.
//
// Both properties are published (ObservationTracking) and signal only a
// change: an equal value is stored without a signal. What the location
// service reports reaches them at a later turn of the main loop, and not at
// all once the provider is gone. Main thread only.
class LocationProvider : public QObject {
    Q_OBJECT

public:
    // Over the system's location service.
    explicit LocationProvider(QObject* parent = nullptr);
    explicit LocationProvider(std::unique_ptr<platform::LocationManager> manager, QObject* parent = nullptr);

    platform::LocationAuthorization authorization() const {
        return observed(this, authorization_, &LocationProvider::authorizationChanged);
    }

    // The last fix; nothing until the first one. Never goes back to nothing.
    std::optional<platform::Location> current() const {
        return observed(this, current_, &LocationProvider::currentChanged);
    }

    // A fix was asked for before the user answered: one is requested as
    // soon as they allow it.
    bool wantsFixOnAuthorization() const { return wantsFixOnAuthorization_; }

    // Asks for permission first if the user has not answered yet; does
    // nothing once they refused. The fix arrives in current().
    void requestFix();

    // A fix now: where the user has not answered yet, the question and the
    // request go out together (and the fix also follows the grant); nothing
    // once they refused.
    void requestFixAtOnce();

    // As if the location service had reported them: published like its own
    // reports. For the developer switches' simulation of a place.
    void setAuthorization(platform::LocationAuthorization status);
    void setCurrent(const platform::Location& location);

signals:
    void authorizationChanged();
    void currentChanged();

private:
    void onAuthorizationChanged(platform::LocationAuthorization status);
    void onLocationsUpdated(const std::vector<platform::Location>& locations);

    platform::LocationAuthorization authorization_ = platform::LocationAuthorization::notDetermined;
    std::optional<platform::Location> current_;
    std::unique_ptr<platform::LocationManager> manager_;
    bool wantsFixOnAuthorization_ = false;
};

}  // namespace tavlin::store
