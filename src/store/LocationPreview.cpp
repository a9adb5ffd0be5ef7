#include "store/LocationPreview.h"

#include "platform/MapSnapshotter.h"

#include <cmath>
#include <numbers>

namespace tavlin::store::LocationPreview {

using platform::GeoCoordinate;
using platform::MapSnapshotter;

namespace {

// The length of a degree of longitude at the equator.
constexpr double metresPerDegree = 111'320;

// The point `metres` east of `place`, on its parallel.
GeoCoordinate eastOf(GeoCoordinate place, double metres) {
    const double metresPerDegreeHere = std::cos(place.latitude * std::numbers::pi / 180) * metresPerDegree;
    return {place.latitude, place.longitude + metres / metresPerDegreeHere};
}

}  // namespace

platform::Task<std::optional<MapSnapshot>> snapshot(double latitude, double longitude, double radius, int width,
                                                    int height) {
    if (!(radius > 0)) co_return std::nullopt;
    const GeoCoordinate place{latitude, longitude};
    const platform::MapRegion region{
        .center = place, .latitudinalMetres = 6 * radius, .longitudinalMetres = 6 * radius};
    const std::optional<MapSnapshotter::Snapshot> map =
        co_await MapSnapshotter::systemDefault().snapshot(region, QSize(width, height));
    if (!map) co_return std::nullopt;

    const QPointF center = map->point(place);
    const double span = std::abs(map->point(eastOf(place, radius)).x() - center.x());
    // No scale for a ring when the map puts both points at one x, or when they are no numbers.
    if (!(std::isfinite(span) && span > 0)) co_return std::nullopt;
    co_return MapSnapshot{
        .image = map->image, .center = center, .pointsPerMeter = span / radius, .attribution = map->attribution};
}

}  // namespace tavlin::store::LocationPreview
