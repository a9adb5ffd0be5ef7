#include "platform/TileCache.h"

#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <string>

using namespace tavlin::platform;

namespace {

const QDateTime now = QDateTime::fromSecsSinceEpoch(1'780'000'000, Qt::UTC);
const QDateTime week = now.addDays(7);

TEST(TileCacheTest, ATileIsKeptForAWeekOrLongerWhenTheServerAllows) {
    struct Case {
        std::string name;
        QByteArray cacheControl, expires, date;
        std::optional<QDateTime> expected;
    };
    const Case cases[] = {
        {"no headers", "", "", "", week},
        {"a short max-age", "max-age=3600", "", "", week},
        {"a long max-age", "public, max-age=1209600", "", "", now.addDays(14)},
        {"max-age before Expires", "max-age=1209600", "Thu, 01 Jan 2026 00:00:00 GMT", "", now.addDays(14)},
        {"Expires from the server's clock", "", "Wed, 31 Dec 2025 00:00:00 GMT", "Wed, 01 Oct 2025 00:00:00 GMT",
         now.addDays(91)},
        {"Expires in the past", "", "Thu, 01 Jan 1970 00:00:00 GMT", "", week},
        {"an Expires that is no date", "", "soon", "", week},
        {"no-store", "max-age=1209600, No-Store", "", "", std::nullopt},
        {"a max-age that is no number", "max-age=forever", "", "", week},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TileCache::expiry(c.cacheControl, c.expires, c.date, now), c.expected);
    }
}

TEST(TileCacheTest, AStoredTileComesBackFreshUntilItExpiresAndStaleAfter) {
    QTemporaryDir folder;
    TileCache cache(folder.path() + QStringLiteral("/tiles"));
    const TileKey key{15, 16830, 10770};
    EXPECT_FALSE(cache.tile(key, now));
    cache.store(key, "\x89PNG tile", week);
    const auto fresh = cache.tile(key, now);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->png, "\x89PNG tile");
    EXPECT_TRUE(fresh->isFresh);
    const auto stale = TileCache(folder.path() + QStringLiteral("/tiles")).tile(key, week);
    ASSERT_TRUE(stale) << "kept between runs";
    EXPECT_FALSE(stale->isFresh);
    EXPECT_FALSE(cache.tile({15, 16830, 10771}, now)) << "another tile";
    EXPECT_NE(TileCache::standardFolder(QStringLiteral("https://a.example/{z}/{x}/{y}.png")),
              TileCache::standardFolder(QStringLiteral("https://b.example/{z}/{x}/{y}.png")))
        << "each server its own tiles";
}

// Years of previews stay within the bound: the tiles written longest ago go
// first, found again by a later run.
TEST(TileCacheTest, TheOldestTilesGoOnceTheFolderHoldsMoreThanItsBound) {
    QTemporaryDir folder;
    const QString tiles = folder.path() + QStringLiteral("/tiles");
    {
        TileCache earlier(tiles, 1000);
        for (int y = 0; y < 10; ++y) earlier.store({15, 1, y}, "\x89PNG", week);
    }
    // Tile y was written y hours after the first.
    QDirIterator it(tiles, {QStringLiteral("*.tile")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const int y = QFileInfo(file).baseName().toInt();
        ASSERT_TRUE(file.setFileTime(now.addSecs(3600 * y), QFileDevice::FileModificationTime));
    }
    TileCache cache(tiles, 10);
    cache.store({15, 2, 0}, "\x89PNG", week);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(cache.tile({15, 1, y}, now).has_value(), y >= 2) << "tile " << y;
    EXPECT_TRUE(cache.tile({15, 2, 0}, now)) << "the tile just stored";
}

}  // namespace
