#include "platform/MapSnapshotter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

using namespace tavlin::platform;

namespace {

constexpr double earthRadius = 6'378'137;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr GeoCoordinate paris{48.85, 2.35};

std::optional<MapSnapshotter::Snapshot> draw(MapRegion region, QSize size) {
    GridMapSnapshotter grid;
    const Task<std::optional<MapSnapshotter::Snapshot>> task = grid.snapshot(region, size);
    EXPECT_TRUE(task.isDone());
    return task.isDone() ? task.result() : std::nullopt;
}

// The coordinate `north` and `east` metres from `from` (small distances).
GeoCoordinate offset(GeoCoordinate from, double north, double east) {
    const double degrees = 180 / std::numbers::pi;
    return {from.latitude + north / earthRadius * degrees,
            from.longitude + east / (earthRadius * std::cos(from.latitude / degrees)) * degrees};
}

TEST(GridMapSnapshotterTest, TheWholeRegionFitsItsLongerSideToThePicture) {
    struct Case {
        QSize size;
        double metresPerPoint;  // 600 m over the picture's shorter side
    };
    const MapRegion region{.center = paris, .latitudinalMetres = 600, .longitudinalMetres = 600};
    for (const Case& c : {Case{{400, 100}, 6}, Case{{100, 400}, 6}, Case{{300, 300}, 2}}) {
        SCOPED_TRACE(c.size.width());
        const auto map = draw(region, c.size);
        ASSERT_TRUE(map);
        EXPECT_EQ(map->image.size(), c.size);
        const QPointF middle(c.size.width() / 2.0, c.size.height() / 2.0);
        const QPointF center = map->point(paris);
        EXPECT_NEAR(center.x(), middle.x(), 1e-6);
        EXPECT_NEAR(center.y(), middle.y(), 1e-6);
        const QPointF northEast = map->point(offset(paris, 300, 300));
        EXPECT_NEAR(northEast.x(), middle.x() + 300 / c.metresPerPoint, 0.01);
        EXPECT_NEAR(northEast.y(), middle.y() - 300 / c.metresPerPoint, 0.01);
    }
}

TEST(GridMapSnapshotterTest, ThePictureIsALightGridOfEvenlySpacedLines) {
    const auto map = draw({.center = paris, .latitudinalMetres = 900, .longitudinalMetres = 900}, {300, 200});
    ASSERT_TRUE(map);
    const QImage& image = map->image;
    std::map<QRgb, int> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) ++colours[image.pixel(x, y)];
    }
    ASSERT_EQ(colours.size(), 2u) << "a background and the lines";
    // The background is the colour of most pixels, the lines have the other.
    QRgb background = colours.begin()->first;
    QRgb line = colours.rbegin()->first;
    if (colours.begin()->second < colours.rbegin()->second) std::swap(background, line);
    EXPECT_GT(qGray(background), 220) << "a light background";
    EXPECT_LT(qGray(line), qGray(background));

    // A grid line is a whole column or row of the line colour.
    const auto lineColour = [&](int x, int y) { return image.pixel(x, y) == line; };
    std::vector<int> columns, rows;
    for (int x = 0; x < image.width(); ++x) {
        bool whole = true;
        for (int y = 0; y < image.height() && whole; ++y) whole = lineColour(x, y);
        if (whole) columns.push_back(x);
    }
    for (int y = 0; y < image.height(); ++y) {
        bool whole = true;
        for (int x = 0; x < image.width() && whole; ++x) whole = lineColour(x, y);
        if (whole) rows.push_back(y);
    }
    ASSERT_FALSE(columns.empty());
    ASSERT_FALSE(rows.empty());
    for (const std::vector<int>* lines : {&columns, &rows}) {
        for (std::size_t i = 1; i < lines->size(); ++i) EXPECT_GE((*lines)[i] - (*lines)[i - 1], 47);
    }
    std::size_t linePixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) linePixels += lineColour(x, y);
    }
    const std::size_t width = image.width(), height = image.height();
    EXPECT_EQ(linePixels, columns.size() * height + rows.size() * width - columns.size() * rows.size())
        << "no line colour off the lines";
}

TEST(GridMapSnapshotterTest, WhatCannotBeDrawnGivesNothing) {
    struct Case {
        std::string name;
        MapRegion region;
        QSize size;
    };
    const MapRegion fine{.center = paris, .latitudinalMetres = 600, .longitudinalMetres = 600};
    const auto at = [&](GeoCoordinate center) { return MapRegion{center, 600, 600}; };
    const auto spanning = [&](double north, double east) { return MapRegion{paris, north, east}; };
    const std::vector<Case> cases = {
        {"no width", fine, {0, 100}},
        {"no height", fine, {100, 0}},
        {"a negative width", fine, {-5, 100}},
        {"beyond the projection's north", at({86, 0}), {100, 100}},
        {"the south pole", at({-90, 0}), {100, 100}},
        {"a latitude that is no number", at({nan, 0}), {100, 100}},
        {"an endless longitude", at({0, infinity}), {100, 100}},
        {"no span north to south", spanning(0, 600), {100, 100}},
        {"a negative span east to west", spanning(600, -1), {100, 100}},
        {"a span that is no number", spanning(nan, 600), {100, 100}},
        {"an endless span", spanning(infinity, 600), {100, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(draw(c.region, c.size));
    }
}

}  // namespace
