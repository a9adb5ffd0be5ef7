#pragma once

#include "platform/MapSnapshotter.h"

#include <QPointF>
#include <QRectF>
#include <QSize>

#include <vector>

// The web Mercator maths of maps drawn from tiles: squares of 256 pixels,
// the world in one at zoom 0, in 2^zoom × 2^zoom at each zoom after.
namespace tavlin::platform {

// The scale at which the whole of `region` fits a picture of `size`: its
// longer side, for the picture's proportions, decides.
double metresPerPointFitting(const MapRegion& region, QSize size);

// Where coordinates land in a picture of `size` centred on `center`, with
// `metresPerPoint` on the ground there.
class MapProjection {
public:
    MapProjection(GeoCoordinate center, double metresPerPoint, QSize size);

    bool isValid() const;
    QPointF point(GeoCoordinate coordinate) const;
    // The picture's top left corner in the projected world, in points.
    QPointF origin() const { return origin_; }
    // The side of the whole projected world, in points.
    double worldSize() const { return worldSize_; }

private:
    double worldSize_;
    QPointF origin_;
};

struct TileKey {
    int zoom = 0;
    int x = 0;  // west to east, 0 … 2^zoom − 1
    int y = 0;  // north to south, 0 … 2^zoom − 1

    friend bool operator==(const TileKey&, const TileKey&) = default;
};

// A tile and where it goes in the picture, in points.
struct PlacedTile {
    TileKey key;
    QRectF rect;

    friend bool operator==(const PlacedTile&, const PlacedTile&) = default;
};

// The tiles that cover a picture of `size` drawn with `projection`, at the
// smallest zoom whose tiles are not enlarged (so that the map stays sharp),
// up to `maximumZoom`; rows from north to south, each from west to east.
// Across the date line the tiles wrap around; beyond the projection's
// latitudes there are none. Nothing when the picture would take more than
// `maximumTiles`.
std::vector<PlacedTile> tilesCovering(const MapProjection& projection, QSize size, int maximumZoom = 19,
                                      int maximumTiles = 64);

}  // namespace tavlin::platform
