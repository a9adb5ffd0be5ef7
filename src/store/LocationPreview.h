#pragma once

#include "platform/Task.h"

#include <QImage>
#include <QPointF>
#include <QString>

#include <optional>

// The map picture of a place, with what it takes to draw the place's radius
// ring on it.
namespace tavlin::store::LocationPreview {

struct MapSnapshot {
    QImage image;
    QPointF center;             // where the place lies in the image, in points
    double pointsPerMeter = 0;  // on the ground at the place, east to west
    QString attribution;        // to be shown with the map; empty for none
};

// The map around a place, six times its radius from north to south and from
// east to west, in a picture of width × height points; nothing for a radius
// that is not above 0, or when the map cannot be drawn at that scale.
platform::Task<std::optional<MapSnapshot>> snapshot(double latitude, double longitude, double radius, int width,
                                                    int height);

}  // namespace tavlin::store::LocationPreview
