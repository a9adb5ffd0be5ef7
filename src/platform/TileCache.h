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
class TileCache {
public:
    static constexpr std::chrono::hours minimumLifetime{7 * 24};

    struct Tile {
        QByteArray png;
        bool isFresh = false;
    };

    explicit TileCache(QString folder);
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

    QString folder_;
};

}  // namespace tavlin::platform
