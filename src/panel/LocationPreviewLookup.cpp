#include "panel/LocationPreviewLookup.h"

#include "panel/PlacePreviews.h"
#include "store/LocationPreview.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tavlin::panel {

namespace {

// What the card's padding takes from the content's width.
constexpr double cardPadding = 2 * 16;

platform::Task<std::optional<store::LocationPreview::MapSnapshot>> mapOf(const store::ResolvedLocation& place,
                                                                         QSize size) {
    return store::LocationPreview::snapshot(place.latitude, place.longitude, place.radius, size.width(), size.height());
}

void write(PlacePreviews& places, const QString& name, LocationPreviewEntry entry) {
    LocationPreviews previews = places.locationPreviews();
    previews[name] = std::move(entry);
    places.setLocationPreviews(std::move(previews));
}

}  // namespace

QSize locationSnapshotSize(double contentWidth) {
    return {int(std::lround(std::max(0.0, contentWidth - cardPadding))), locationSnapshotHeight};
}

QSet<QString> requestedNames(const std::vector<LocationRequest>& requests) {
    QSet<QString> names;
    for (const LocationRequest& request : requests) names.insert(request.name);
    return names;
}

platform::Task<> resolveLocationPreviews(std::vector<LocationRequest> requests, QPointer<PlacePreviews> places,
                                         QSize imageSize) {
    // A new radius for a place already found needs no pause and no new
    // lookup: only its map again.
    for (const LocationRequest& request : requests) {
        if (!places) co_return;
        const auto found = places->locationPreviews().find(request.name);
        if (found == places->locationPreviews().end() || !found->second.resolved) continue;
        store::ResolvedLocation place = *found->second.resolved;
        const double radius = request.radius.value_or(place.radius);
        if (radius == place.radius) continue;
        place.radius = radius;
        std::optional<store::LocationPreview::MapSnapshot> map = co_await mapOf(place, imageSize);
        const bool cancelled = co_await platform::isTaskCancelled();
        if (cancelled || !places) co_return;
        write(*places, request.name, {.resolved = std::move(place), .snapshot = std::move(map)});
    }

    if (!places) co_return;
    std::vector<LocationRequest> pending;
    std::copy_if(requests.begin(), requests.end(), std::back_inserter(pending),
                 [&](const LocationRequest& request) { return !places->locationPreviews().contains(request.name); });
    if (pending.empty()) co_return;

    const bool slept = co_await platform::sleep(locationLookupPause, places->clock());
    if (!slept || !places) co_return;

    for (const LocationRequest& request : pending) {
        const store::ReminderStore& reminders = places->store();
        std::optional<store::ResolvedLocation> place = co_await reminders.places().resolve(request.name, &reminders);
        bool cancelled = co_await platform::isTaskCancelled();
        if (cancelled || !places) co_return;
        if (!place) {
            write(*places, request.name, {.failed = true});
            continue;
        }
        place->radius = request.radius.value_or(place->radius);
        std::optional<store::LocationPreview::MapSnapshot> map = co_await mapOf(*place, imageSize);
        cancelled = co_await platform::isTaskCancelled();
        if (cancelled || !places) co_return;
        write(*places, request.name, {.resolved = std::move(place), .snapshot = std::move(map)});
    }
}

}  // namespace tavlin::panel
