#include "platform/TileMapSnapshotter.h"

#include "support/FakeHTTPServer.h"
#include "support/FixtureTiles.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <algorithm>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

const MapRegion amsterdam{.center = {52.3731, 4.8922}, .latitudinalMetres = 600, .longitudinalMetres = 600};
const QSize cardSize(368, 130);

class TileMapSnapshotterTest : public ::testing::Test {
protected:
    void SetUp() override {
        const MapProjection projection(amsterdam.center, metresPerPointFitting(amsterdam, cardSize), cardSize);
        tiles = tilesCovering(projection, cardSize, TileMapSnapshotter::maximumZoom);
        ASSERT_GE(tiles.size(), 3u) << "enough tiles to see them taken two at a time";
        for (const PlacedTile& tile : tiles) serve(tile.key, {.body = fixtureTilePNG(tile.key)});
    }

    void serve(const TileKey& key, FakeHTTPServer::Reply reply) { server.on(fixtureTilePath(key), std::move(reply)); }

    TileMapSnapshotter snapshotter(bool enabled = true) {
        return TileMapSnapshotter(http, {.mapTiles = server.url("/tiles/").toString() + u"{z}/{x}/{y}.png"_s,
                                         .enabled = enabled,
                                         .cacheFolder = cache.path(),
                                         .now = [this] { return now; }});
    }

    std::optional<MapSnapshotter::Snapshot> draw(TileMapSnapshotter& maps) {
        const auto map = finishTask(maps.snapshot(amsterdam, cardSize));
        EXPECT_TRUE(map) << "the map was not drawn";
        return map ? *map : std::nullopt;
    }

    // Whether each tile shows where it belongs (its rectangle's middle, where in the picture).
    void expectTilesShown(const QImage& image, const std::function<bool(const TileKey&)>& shown) {
        for (const PlacedTile& tile : tiles) {
            const QRectF visible = tile.rect.intersected(QRectF(QPointF(0, 0), cardSize));
            const QPoint middle = visible.center().toPoint();
            SCOPED_TRACE(tile.key.x * 100 + tile.key.y);
            EXPECT_EQ(showsFixtureTile(image.pixelColor(middle), tile.key), shown(tile.key));
        }
    }

    FakeHTTPServer server;
    HTTPClient http{"Tavlin/test"};
    QTemporaryDir cache;
    QDateTime now = QDateTime::fromSecsSinceEpoch(1'780'000'000, Qt::UTC);
    std::vector<PlacedTile> tiles;
};

// Two maps drawn at once, of places apart: their tiles are asked for two at
// a time in all, each answer let through only once the requests open have
// been counted.
TEST_F(TileMapSnapshotterTest, TheTilesAreStitchedTwoAtATimeForAllMapsAndCredited) {
    const MapRegion paris{.center = {48.8530, 2.3499}, .latitudinalMetres = 600, .longitudinalMetres = 600};
    const std::vector<PlacedTile> parisTiles =
        tilesCovering(MapProjection(paris.center, metresPerPointFitting(paris, cardSize), cardSize), cardSize, 19);
    for (const std::vector<PlacedTile>* each : {&std::as_const(tiles), &parisTiles})
        for (const PlacedTile& tile : *each) serve(tile.key, {.body = fixtureTilePNG(tile.key), .held = true});
    const std::size_t total = tiles.size() + parisTiles.size();
    TileMapSnapshotter maps = snapshotter();
    const Task<std::optional<MapSnapshotter::Snapshot>> drawing = maps.snapshot(amsterdam, cardSize);
    const Task<std::optional<MapSnapshotter::Snapshot>> other = maps.snapshot(paris, cardSize);
    std::size_t answered = 0, mostAtOnce = 0;
    while (answered < total) {
        const std::size_t expected = std::min<std::size_t>(2, total - answered);
        ASSERT_TRUE(runMainLoopUntil([&] { return server.heldCount() >= expected; }));
        runMainLoopUntil([&] { return server.heldCount() > expected; }, std::chrono::milliseconds(50));
        mostAtOnce = std::max(mostAtOnce, server.heldCount());
        answered += server.heldCount();
        server.releaseHeld();
    }
    ASSERT_TRUE(runMainLoopUntil([&] { return drawing.isDone() && other.isDone(); }));
    EXPECT_EQ(mostAtOnce, 2u);
    EXPECT_EQ(server.requests().size(), total);
    const std::optional<MapSnapshotter::Snapshot>& map = drawing.result();
    ASSERT_TRUE(map);
    EXPECT_EQ(map->image.size(), cardSize);
    expectTilesShown(map->image, [](const TileKey&) { return true; });
    EXPECT_EQ(map->attribution, u"© OpenStreetMap contributors"_s);
    const QPointF middle = map->point(amsterdam.center);
    EXPECT_NEAR(middle.x(), cardSize.width() / 2.0, 1e-6);
    EXPECT_NEAR(middle.y(), cardSize.height() / 2.0, 1e-6);
    EXPECT_TRUE(other.result());
}

TEST_F(TileMapSnapshotterTest, TilesComeFromTheDiskForAWeekThenFromTheServerAgain) {
    TileMapSnapshotter first = snapshotter();
    draw(first);
    const std::size_t fetched = server.requests().size();
    TileMapSnapshotter nextRun = snapshotter();
    const auto cached = draw(nextRun);
    ASSERT_TRUE(cached);
    expectTilesShown(cached->image, [](const TileKey&) { return true; });
    EXPECT_EQ(server.requests().size(), fetched) << "nothing asked again";

    now = now.addDays(8);
    server.close();
    const auto stale = draw(nextRun);
    ASSERT_TRUE(stale);
    expectTilesShown(stale->image, [](const TileKey&) { return true; });
    server.listen();
    draw(nextRun);
    EXPECT_EQ(server.requests().size(), 2 * fetched) << "asked again once stale";
}

TEST_F(TileMapSnapshotterTest, WithoutTilesTheGridStays) {
    const auto grid = GridMapSnapshotter::draw(amsterdam, cardSize);
    ASSERT_TRUE(grid);
    {
        TileMapSnapshotter off = snapshotter(false);
        const auto map = draw(off);
        ASSERT_TRUE(map);
        EXPECT_EQ(map->image, grid->image);
        EXPECT_TRUE(map->attribution.isEmpty());
        EXPECT_TRUE(server.requests().empty()) << "turned off, nothing asked";
    }
    // Refused, or not a picture: those tiles are left out and never kept.
    const TileKey refused = tiles[0].key, page = tiles[1].key;
    serve(refused, {.status = 429, .body = "Too many requests"});
    serve(page, {.body = "<html>Tile unavailable</html>"});
    TileMapSnapshotter maps = snapshotter();
    const auto partly = draw(maps);
    ASSERT_TRUE(partly);
    expectTilesShown(partly->image, [&](const TileKey& key) { return !(key == refused || key == page); });
    EXPECT_FALSE(partly->attribution.isEmpty());
    draw(maps);
    EXPECT_EQ(server.requests().size(), tiles.size() + 2) << "only the two missing tiles asked again";

    server.close();
    QTemporaryDir empty;
    TileMapSnapshotter offline(http,
                               {.mapTiles = u"http://127.0.0.1:9/{z}/{x}/{y}.png"_s, .cacheFolder = empty.path()});
    const auto map = draw(offline);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->image, grid->image);
    EXPECT_TRUE(map->attribution.isEmpty());
}

}  // namespace
