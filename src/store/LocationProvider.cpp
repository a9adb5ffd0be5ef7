#include "store/LocationProvider.h"

namespace tavlin::store {

using platform::Location;
using platform::LocationAuthorization;
using platform::LocationManager;

LocationProvider::LocationProvider(QObject* parent) : LocationProvider(platform::makeSystemLocationManager(), parent) {}

LocationProvider::LocationProvider(std::unique_ptr<LocationManager> manager, QObject* parent)
    : QObject(parent), manager_(std::move(manager)) {
    // Queued: the service may report from inside a request made of it, or
    // from another thread; the provider changes only on its own turn.
    connect(manager_.get(), &LocationManager::authorizationChanged, this, &LocationProvider::onAuthorizationChanged,
            Qt::QueuedConnection);
    connect(manager_.get(), &LocationManager::locationsUpdated, this, &LocationProvider::onLocationsUpdated,
            Qt::QueuedConnection);
    manager_->setDesiredAccuracy(LocationManager::hundredMetresAccuracy);
    publish(this, authorization_, manager_->authorizationStatus(), &LocationProvider::authorizationChanged);
}

void LocationProvider::requestFix() {
    switch (authorization_) {
    case LocationAuthorization::notDetermined:
        wantsFixOnAuthorization_ = true;
        manager_->requestWhenInUseAuthorization();
        break;
    case LocationAuthorization::authorizedAlways: manager_->requestLocation(); break;
    case LocationAuthorization::restricted:
    case LocationAuthorization::denied: break;
    }
}

void LocationProvider::requestFixAtOnce() {
    switch (authorization_) {
    case LocationAuthorization::authorizedAlways: manager_->requestLocation(); break;
    case LocationAuthorization::notDetermined:
        wantsFixOnAuthorization_ = true;
        manager_->requestWhenInUseAuthorization();
        manager_->requestLocation();
        break;
    case LocationAuthorization::restricted:
    case LocationAuthorization::denied: break;
    }
}

void LocationProvider::setAuthorization(LocationAuthorization status) {
    publish(this, authorization_, status, &LocationProvider::authorizationChanged);
}

void LocationProvider::setCurrent(const Location& location) {
    publish(this, current_, location, &LocationProvider::currentChanged);
}

void LocationProvider::onAuthorizationChanged(LocationAuthorization status) {
    publish(this, authorization_, status, &LocationProvider::authorizationChanged);
    // Under any other answer the wish stays, so that a later grant still brings the fix.
    if (wantsFixOnAuthorization_ && status == LocationAuthorization::authorizedAlways) {
        wantsFixOnAuthorization_ = false;
        manager_->requestLocation();
    }
}

void LocationProvider::onLocationsUpdated(const std::vector<Location>& locations) {
    if (!locations.empty()) publish(this, current_, locations.back(), &LocationProvider::currentChanged);
}

}  // namespace tavlin::store
