#pragma once

#include "platform/Task.h"

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace tavlin::platform {

struct GeoCoordinate {
    double latitude = 0;   // degrees
    double longitude = 0;  // degrees
};

// A part of the map: its centre and how far it reaches on the ground.
struct MapRegion {
    GeoCoordinate center;
    double latitudinalMetres = 0;   // north to south
    double longitudinalMetres = 0;  // east to west
};

// Draws pictures of the map.
class MapSnapshotter {
public:
    // A drawn map, and where a coordinate lies in it (in image points).
    struct Snapshot {
        QImage image;
        std::function<QPointF(GeoCoordinate)> point;
        // What the map's makers ask to be shown with it; empty for none.
        QString attribution;
    };

    virtual ~MapSnapshotter() = default;

    // The map of `region` (all of it, widened to the picture's proportions)
    // in a picture of `size` points; nothing when it cannot be drawn.
    virtual Task<std::optional<Snapshot>> snapshot(MapRegion region, QSize size) = 0;

    // The snapshotter of this system (or a test's stand-in, see
    // ScopedMapSnapshotter).
    static MapSnapshotter& systemDefault();
};

// No map tiles can be had here: this one draws a plain light grid, at the
// scale and in the projection of a real map (web Mercator), so that what is
// drawn on it by coordinates lands where it would on a map. It cannot draw
// regions beyond the projection's latitudes (about 85° north and south).
class GridMapSnapshotter final : public MapSnapshotter {
public:
    Task<std::optional<Snapshot>> snapshot(MapRegion region, QSize size) override;
    // The same, at once.
    static std::optional<Snapshot> draw(MapRegion region, QSize size);
};

// Puts a snapshotter in place of the system default for the life of the object.
class ScopedMapSnapshotter {
public:
    explicit ScopedMapSnapshotter(MapSnapshotter& snapshotter);
    ~ScopedMapSnapshotter();
    ScopedMapSnapshotter(const ScopedMapSnapshotter&) = delete;
    ScopedMapSnapshotter& operator=(const ScopedMapSnapshotter&) = delete;

private:
    MapSnapshotter* previous_;
};

}  // namespace tavlin::platform
