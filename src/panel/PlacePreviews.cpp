#include "panel/PlacePreviews.h"

#include "panel/LocationPreviewLookup.h"
#include "store/ObservationTracking.h"

#include <cmath>

namespace tavlin::panel {

PlacePreviews::PlacePreviews(const store::ReminderStore& store, platform::Clock& clock,
                             std::function<QSize()> snapshotSize, QObject* parent)
    : QObject(parent), store_(store), clock_(clock), snapshotSize_(std::move(snapshotSize)) {}

PlacePreviews::~PlacePreviews() { locationPreviewTask_.cancel(); }

const LocationPreviews& PlacePreviews::locationPreviews() const {
    return store::observed(this, locationPreviews_, &PlacePreviews::locationPreviewsChanged);
}

void PlacePreviews::setLocationPreviews(LocationPreviews previews) {
    store::publish(this, locationPreviews_, std::move(previews), &PlacePreviews::locationPreviewsChanged);
}

void PlacePreviews::setLocationRadiusOverrides(std::map<QString, double> overrides) {
    if (store::publish(this, locationRadiusOverrides_, std::move(overrides),
                       &PlacePreviews::locationRadiusOverridesChanged))
        emit locationRadiusOverridesChangeHeard();
}

void PlacePreviews::setLocationRadiusOverride(const QString& name, double radius) {
    // It would be stored with the reminder.
    if (!(std::isfinite(radius) && radius > 0)) return;
    std::map<QString, double> overrides = locationRadiusOverrides_;
    overrides[name] = radius;
    setLocationRadiusOverrides(std::move(overrides));
}

void PlacePreviews::follow(std::vector<LocationRequest> requests) {
    if (requests == requests_) return;
    requests_ = std::move(requests);
    // Read through the member: a change of the radii below may bring newer
    // requests, which the lookup then follows.
    const std::vector<LocationRequest>& current = requests_;
    const QSet<QString> names = requestedNames(current);
    // A radius chosen for a place the line no longer names is forgotten.
    if (auto kept = requestedOnly(locationRadiusOverrides_, names)) setLocationRadiusOverrides(std::move(*kept));
    if (auto kept = requestedOnly(locationPreviews_, names)) setLocationPreviews(std::move(*kept));
    refresh(current);
}

void PlacePreviews::refresh(const std::vector<LocationRequest>& requests) {
    locationPreviewTask_.cancel();
    locationPreviewTask_ = {};
    // Their cards fade out as they go.
    if (requests.empty()) return setLocationPreviews({});
    // What stays in the line keeps its preview while the lookup runs.
    if (auto kept = requestedOnly(locationPreviews_, requestedNames(requests))) setLocationPreviews(std::move(*kept));
    locationPreviewTask_ = resolveLocationPreviews(requests, this, snapshotSize_());
}

}  // namespace tavlin::panel
