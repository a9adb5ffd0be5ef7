#pragma once

#include "platform/Date.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <vector>

namespace tavlin::platform {

// What the user allowed Tavlin to know of where they are, numbered as the
// rest of the system counts it. Only authorizedAlways gives locations;
// restricted is a system without a location service at all, denied a
// refusal by the user.
enum class LocationAuthorization : std::int32_t { notDetermined = 0, restricted = 1, denied = 2, authorizedAlways = 3 };

// One location fix.
struct Location {
    double latitude = 0;            // degrees
    double longitude = 0;           // degrees
    double horizontalAccuracy = 0;  // metres
    Date timestamp;                 // when the fix was taken

    friend bool operator==(const Location&, const Location&) = default;
};

// The system's location service: the permission, and single fixes on
// request. Answers come later as signals on the main thread; a request
// never blocks and never fails where it is made.
class LocationManager : public QObject {
    Q_OBJECT

public:
    // The accuracy that finds a place in a street: good enough for geofences.
    static constexpr double hundredMetresAccuracy = 100;

    ~LocationManager() override = default;

    virtual LocationAuthorization authorizationStatus() const = 0;
    // Asks the user for permission; does nothing once they have answered.
    virtual void requestWhenInUseAuthorization() = 0;
    // One fix, delivered by locationsUpdated; an error is dropped.
    virtual void requestLocation() = 0;
    virtual void setDesiredAccuracy(double metres) = 0;

signals:
    void authorizationChanged(tavlin::platform::LocationAuthorization status);
    // The newest fix is the last one.
    void locationsUpdated(const std::vector<tavlin::platform::Location>& locations);
};

// The location service of this system (GeoClue on the system bus).
std::unique_ptr<LocationManager> makeSystemLocationManager();

}  // namespace tavlin::platform
