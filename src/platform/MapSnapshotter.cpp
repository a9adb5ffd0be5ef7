#include "platform/MapSnapshotter.h"

#include "platform/MapTiles.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace tavlin::platform {

namespace {

constexpr double maximumLatitude = 85.05112878;  // where web Mercator ends
constexpr double minimumGridPoints = 48;         // the closest that grid lines come
const QColor background{0xf2, 0xef, 0xe9};
const QColor gridLine{0xdc, 0xd7, 0xce};

bool isDrawable(const MapRegion& region, QSize size) {
    const auto positive = [](double value) { return std::isfinite(value) && value > 0; };
    return !size.isEmpty() && std::abs(region.center.latitude) <= maximumLatitude &&
           std::isfinite(region.center.longitude) && positive(region.latitudinalMetres) &&
           positive(region.longitudinalMetres);
}

// A round ground distance (1, 2 or 5 times a power of ten) that puts grid
// lines at least minimumGridPoints apart.
double gridSpacingMetres(double metresPerPoint) {
    const double minimum = minimumGridPoints * metresPerPoint;
    const double power = std::pow(10, std::floor(std::log10(minimum)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * power >= minimum) return step * power;
    }
    return 10 * power;
}

// Where the first grid line falls in the picture, with the lines on the
// multiples of `spacing` in the projected world and the picture's edge at
// `origin` there.
double firstLine(double origin, double spacing) {
    const double offset = std::fmod(-origin, spacing);
    return offset < 0 ? offset + spacing : offset;
}

void drawGrid(QImage& image, const MapProjection& projection, double spacing) {
    QPainter painter(&image);
    painter.setPen(QPen(gridLine, 1));
    const double width = image.width();
    const double height = image.height();
    for (double x = firstLine(projection.origin().x(), spacing); x < width; x += spacing)
        painter.drawLine(QPointF(x, 0), QPointF(x, height));
    for (double y = firstLine(projection.origin().y(), spacing); y < height; y += spacing)
        painter.drawLine(QPointF(0, y), QPointF(width, y));
}

MapSnapshotter* installedSnapshotter = nullptr;

}  // namespace

std::optional<MapSnapshotter::Snapshot> GridMapSnapshotter::draw(MapRegion region, QSize size) {
    if (!isDrawable(region, size)) return std::nullopt;
    const double metresPerPoint = metresPerPointFitting(region, size);
    const MapProjection projection(region.center, metresPerPoint, size);
    const double spacing = gridSpacingMetres(metresPerPoint) / metresPerPoint;
    // Lines at least a point apart, or the grid would never end.
    if (!projection.isValid() || !(std::isfinite(spacing) && spacing >= 1)) return std::nullopt;

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return std::nullopt;  // too large to allocate
    image.fill(background);
    drawGrid(image, projection, spacing);
    return Snapshot{.image = std::move(image),
                    .point = [projection](GeoCoordinate coordinate) { return projection.point(coordinate); }};
}

Task<std::optional<MapSnapshotter::Snapshot>> GridMapSnapshotter::snapshot(MapRegion region, QSize size) {
    co_return draw(region, size);
}

MapSnapshotter& MapSnapshotter::systemDefault() {
    static GridMapSnapshotter grid;
    return installedSnapshotter ? *installedSnapshotter : grid;
}

ScopedMapSnapshotter::ScopedMapSnapshotter(MapSnapshotter& snapshotter) : previous_(installedSnapshotter) {
    installedSnapshotter = &snapshotter;
}

ScopedMapSnapshotter::~ScopedMapSnapshotter() { installedSnapshotter = previous_; }

}  // namespace tavlin::platform
