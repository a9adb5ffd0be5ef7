#include "panel/PlacePreviews.h"

#include <QSet>

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

std::vector<LocationRequest> PlacePreviews::requestsFor(const std::vector<parsing::ParsedQuickAdd>& readings) const {
    const std::map<QString, double>& overrides = locationRadiusOverrides();
    std::vector<LocationRequest> requests;
    QSet<QString> named;
    for (const parsing::ParsedQuickAdd& reading : readings) {
        if (!reading.locationName || named.contains(*reading.locationName)) continue;
        const QString& name = *reading.locationName;
        named.insert(name);
        const auto override = overrides.find(name);
        requests.push_back(
            {.name = name,
             .radius = override != overrides.end() ? std::optional(override->second) : reading.locationRadius,
             .trigger = reading.locationTrigger});
    }
    return requests;
}

}  // namespace tavlin::panel
