#pragma once

#include "panel/PanelTypes.h"
#include "parsing/ParsedQuickAdd.h"
#include "platform/Clock.h"
#include "platform/Task.h"

#include "store/ObservationTracking.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace tavlin::store {
class ReminderStore;
}

namespace tavlin::panel {

// The place previews of the typed line: one card per place it names, found
// and drawn by LocationPreviewLookup, and the radius chosen on a card. Each
// property signals only a change. The previews are published here
// (ObservationTracking); the radii by the panel model, which reacts to them.
// Main thread only.
class PlacePreviews : public QObject {
    Q_OBJECT

public:
    // Places are found through the store's resolver, and their maps drawn
    // at `snapshotSize`, asked for at each lookup.
    PlacePreviews(const store::ReminderStore& store, platform::Clock& clock, std::function<QSize()> snapshotSize,
                  QObject* parent = nullptr);
    ~PlacePreviews() override;

    const store::ReminderStore& store() const { return store_; }
    platform::Clock& clock() const { return clock_; }

    const LocationPreviews& locationPreviews() const;
    void setLocationPreviews(LocationPreviews previews);
    // Metres by place name, chosen on the place's preview.
    const std::map<QString, double>& locationRadiusOverrides() const {
        return store::observed(this, locationRadiusOverrides_, &PlacePreviews::locationRadiusOverridesChanged);
    }
    void setLocationRadiusOverrides(std::map<QString, double> overrides);
    // The radius set on the card of the place `name`; one that is no
    // distance (not a positive number) is ignored.
    void setLocationRadiusOverride(const QString& name, double radius);
    // The places the readings name, each once and in order, with the radius
    // chosen on its card before the one read.
    std::vector<LocationRequest> requestsFor(const std::vector<parsing::ParsedQuickAdd>& readings) const;
    // The pending lookup of places; none while there is none.
    platform::Task<>& locationPreviewTask() { return locationPreviewTask_; }

    // The line's place requests are now `requests`. When they differ from
    // those last seen, what belongs to names no longer requested goes and
    // the rest is looked up.
    void follow(std::vector<LocationRequest> requests);
    // The pending lookup stops.
    void stop() { locationPreviewTask_.cancel(); }

signals:
    void locationPreviewsChanged();
    void locationRadiusOverridesChanged();
    // Once every observer of that change has heard it: what the change sets
    // off runs from here.
    void locationRadiusOverridesChangeHeard();

private:
    void refresh(const std::vector<LocationRequest>& requests);

    const store::ReminderStore& store_;
    platform::Clock& clock_;
    std::function<QSize()> snapshotSize_;
    std::vector<LocationRequest> requests_;  // as last seen

    LocationPreviews locationPreviews_;
    platform::Task<> locationPreviewTask_;
    std::map<QString, double> locationRadiusOverrides_;
};

}  // namespace tavlin::panel
