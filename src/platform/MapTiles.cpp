#include "platform/MapTiles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavlin::platform {

namespace {

constexpr double earthRadius = 6'378'137;  // metres, the sphere of web Mercator
constexpr double tilePixels = 256;

// Web Mercator on a world of side 1: x from west to east, y from north to south.
QPointF worldPoint(GeoCoordinate coordinate) {
    const double latitude = coordinate.latitude * std::numbers::pi / 180;
    return {(coordinate.longitude + 180) / 360, (1 - std::asinh(std::tan(latitude)) / std::numbers::pi) / 2};
}

}  // namespace

double metresPerPointFitting(const MapRegion& region, QSize size) {
    return std::max(region.latitudinalMetres / size.height(), region.longitudinalMetres / size.width());
}

MapProjection::MapProjection(GeoCoordinate center, double metresPerPoint, QSize size)
    : worldSize_(2 * std::numbers::pi * earthRadius * std::cos(center.latitude * std::numbers::pi / 180) /
                 metresPerPoint),
      origin_(worldPoint(center) * worldSize_ - QPointF(size.width(), size.height()) / 2) {}

bool MapProjection::isValid() const {
    return std::isfinite(worldSize_) && worldSize_ > 0 && std::isfinite(origin_.x()) && std::isfinite(origin_.y());
}

QPointF MapProjection::point(GeoCoordinate coordinate) const { return worldPoint(coordinate) * worldSize_ - origin_; }

std::vector<PlacedTile> tilesCovering(const MapProjection& projection, QSize size, int maximumZoom, int maximumTiles) {
    if (!projection.isValid() || size.isEmpty()) return {};
    const int zoom = std::clamp(static_cast<int>(std::ceil(std::log2(projection.worldSize() / tilePixels))), 0,
                                std::min(maximumZoom, 30));
    const long long count = 1LL << zoom;
    const double side = projection.worldSize() / static_cast<double>(count);  // a tile, in points
    const QPointF origin = projection.origin();
    // The last tile is the one holding the picture's last point, not its far edge.
    const auto first = [&](double from) { return static_cast<long long>(std::floor(from / side)); };
    const auto last = [&](double from, int length) {
        return static_cast<long long>(std::ceil((from + length) / side)) - 1;
    };
    const long long left = first(origin.x()), right = last(origin.x(), size.width());
    const long long top = std::max(first(origin.y()), 0LL),
                    bottom = std::min(last(origin.y(), size.height()), count - 1);
    if (top > bottom) return {};
    if ((right - left + 1) * (bottom - top + 1) > maximumTiles) return {};

    std::vector<PlacedTile> tiles;
    for (long long row = top; row <= bottom; ++row) {
        for (long long column = left; column <= right; ++column) {
            const long long x = ((column % count) + count) % count;
            tiles.push_back({.key = {zoom, static_cast<int>(x), static_cast<int>(row)},
                             .rect = QRectF(column * side - origin.x(), row * side - origin.y(), side, side)});
        }
    }
    return tiles;
}

}  // namespace tavlin::platform
