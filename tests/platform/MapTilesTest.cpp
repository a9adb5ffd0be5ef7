#include "platform/MapTiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>

using namespace tavlin::platform;

namespace {

// The slippy-map tile that holds a coordinate, as tile servers number them.
TileKey tileOf(GeoCoordinate coordinate, int zoom) {
    const double n = std::exp2(zoom);
    const double latitude = coordinate.latitude * std::numbers::pi / 180;
    return {zoom, static_cast<int>(std::floor((coordinate.longitude + 180) / 360 * n)),
            static_cast<int>(std::floor((1 - std::asinh(std::tan(latitude)) / std::numbers::pi) / 2 * n))};
}

std::vector<PlacedTile> cover(GeoCoordinate center, double metres, QSize size, int maximumZoom = 19,
                              int maximumTiles = 64) {
    const MapRegion region{center, metres, metres};
    return tilesCovering(MapProjection(center, metresPerPointFitting(region, size), size), size, maximumZoom,
                         maximumTiles);
}

TEST(MapTilesTest, TheTilesCoverThePictureAtTheZoomThatKeepsThemSharp) {
    struct Case {
        std::string name;
        GeoCoordinate center;
        double metres;
        QSize size;
    };
    const Case cases[] = {
        {"a card in Amsterdam", {52.37, 4.89}, 600, {368, 130}},
        {"a wide ring in Sydney", {-33.87, 151.21}, 6000, {368, 130}},
        {"a square by the equator", {0.001, -0.001}, 300, {200, 200}},
        {"across the date line", {10, 179.9999}, 600, {368, 130}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<PlacedTile> tiles = cover(c.center, c.metres, c.size);
        ASSERT_FALSE(tiles.empty());
        const int zoom = tiles.front().key.zoom;
        const double side = tiles.front().rect.width();
        EXPECT_LE(side, 256.0 + 1e-9) << "never enlarged";
        EXPECT_GT(side, 128.0) << "nor smaller than needed";
        QRectF covered;
        std::set<std::pair<int, int>> keys;
        for (const PlacedTile& tile : tiles) {
            EXPECT_EQ(tile.key.zoom, zoom);
            EXPECT_NEAR(tile.rect.width(), side, 1e-9);
            EXPECT_TRUE(tile.rect.intersects(QRectF(QPointF(0, 0), c.size))) << "no tile outside the picture";
            covered = covered.united(tile.rect);
            keys.insert({tile.key.x, tile.key.y});
        }
        EXPECT_EQ(keys.size(), tiles.size()) << "each tile once";
        EXPECT_TRUE(covered.contains(QRectF(QPointF(0, 0), c.size)));
        EXPECT_NEAR(covered.width() * covered.height(), tiles.size() * side * side, 1e-3) << "no gaps between them";
        // The tile under the picture's middle is the one tile servers give for its centre.
        const QPointF middle(c.size.width() / 2.0, c.size.height() / 2.0);
        const auto under = std::find_if(tiles.begin(), tiles.end(),
                                        [&](const PlacedTile& tile) { return tile.rect.contains(middle); });
        ASSERT_NE(under, tiles.end());
        EXPECT_EQ(under->key, tileOf(c.center, zoom));
    }
}

TEST(MapTilesTest, TilesWrapAcrossTheDateLineAndEndAtThePoles) {
    const std::vector<PlacedTile> east = cover({10, 179.9999}, 600, {368, 130});
    const int last = (1 << east.front().key.zoom) - 1;
    const auto hasColumn = [&](int x) {
        return std::any_of(east.begin(), east.end(), [&](const PlacedTile& tile) { return tile.key.x == x; });
    };
    EXPECT_TRUE(hasColumn(last));
    EXPECT_TRUE(hasColumn(0));

    // At the projection's northern edge only the rows below it are drawn.
    const std::vector<PlacedTile> north = cover({85.05, 0}, 60000, {368, 130});
    ASSERT_FALSE(north.empty());
    for (const PlacedTile& tile : north) EXPECT_GE(tile.key.y, 0);
    EXPECT_GT(north.front().rect.top(), 0) << "the grid stays above the map's end";
}

TEST(MapTilesTest, TheZoomStopsAtTheServersLastAndTheCountAtItsLimit) {
    const std::vector<PlacedTile> close = cover({52.37, 4.89}, 6, {368, 130}, 19);
    ASSERT_FALSE(close.empty());
    EXPECT_EQ(close.front().key.zoom, 19);
    EXPECT_GT(close.front().rect.width(), 256) << "enlarged past the last zoom";
    EXPECT_TRUE(cover({52.37, 4.89}, 600, {4000, 4000}, 19, 64).empty());
    EXPECT_TRUE(tilesCovering(MapProjection({52.37, 4.89}, 0, {100, 100}), {100, 100}).empty()) << "no scale";
}

}  // namespace
