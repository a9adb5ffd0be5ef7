#pragma once

#include "platform/MapTiles.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <optional>

namespace tavlin::platform {

// Map tiles kept on disk between runs, one folder per tile server, each
// tile for the longer of a week and what the server's cache headers allow
// (none that the server says not to store). A stale tile is still handed
// out, marked so: better an old map than none while the server is away.
// The folder is kept to a bounded number of tiles, the longest unwritten
// going first, so that years of previews do not fill the disk.
class TileCache {
public:
    static constexpr std::chrono::hours minimumLifetime{7 * 24};
    // About 30 MB of typical map tiles.
    static constexpr int standardMaximumTiles = 2000;

    struct Tile {
        QByteArray png;
        bool isFresh = false;
    };

    explicit TileCache(QString folder, int maximumTiles = standardMaximumTiles);
    // $XDG_CACHE_HOME/Tavlin/tiles/<the tile address template, hashed>.
    static QString standardFolder(const QString& mapTiles);

    std::optional<Tile> tile(const TileKey& key, const QDateTime& now) const;
    // Only ever given a tile that was checked to be a PNG.
    void store(const TileKey& key, const QByteArray& png, const QDateTime& expiry);

    // Until when an answer may be kept, from its Cache-Control, Expires and
    // Date headers (empty when absent) and the moment it came; nothing when
    // it may not be stored.
    static std::optional<QDateTime> expiry(const QByteArray& cacheControl, const QByteArray& expires,
                                           const QByteArray& date, const QDateTime& now);

private:
    QString path(const TileKey& key) const;
    void keepWithinBound();

    QString folder_;
    int maximumTiles_;
    // Stores until the folder is counted again: at the first store of a
    // run, then every so often rather than at each one.
    int storesUntilCount_ = 0;
};

}  // namespace tavlin::platform
