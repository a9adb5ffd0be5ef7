#pragma once

#include "platform/LocationManager.h"

namespace tavlin::platform {

// A location service that a test drives: it counts the requests made of it,
// and the test gives the user's answer and the fixes by hand.
class FakeLocationManager final : public LocationManager {
public:
    explicit FakeLocationManager(LocationAuthorization status = LocationAuthorization::notDetermined)
        : status_(status) {}

    LocationAuthorization authorizationStatus() const override { return status_; }
    void requestWhenInUseAuthorization() override { ++authorizationRequests_; }
    void requestLocation() override { ++locationRequests_; }
    void setDesiredAccuracy(double metres) override { desiredAccuracy_ = metres; }

    // The user answers, or changes the permission in the system's settings;
    // the service reports the status even when it did not change.
    void changeAuthorization(LocationAuthorization status) {
        status_ = status;
        emit authorizationChanged(status);
    }
    void deliver(const std::vector<Location>& locations) { emit locationsUpdated(locations); }

    int authorizationRequests() const { return authorizationRequests_; }
    int locationRequests() const { return locationRequests_; }
    double desiredAccuracy() const { return desiredAccuracy_; }

private:
    LocationAuthorization status_;
    int authorizationRequests_ = 0;
    int locationRequests_ = 0;
    double desiredAccuracy_ = 0;
};

}  // namespace tavlin::platform
