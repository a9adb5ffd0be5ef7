#pragma once

#include "platform/Clock.h"
#include "platform/HTTPClient.h"
#include "platform/MapSnapshotter.h"
#include "platform/MapTiles.h"
#include "platform/TileCache.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tavlin::platform {

// Maps drawn from a tile server's tiles (OpenStreetMap's, or any with the
// same numbering): the tiles that cover the region at the picture's scale,
// from the disk cache or the server (two requests open at most, for all
// maps together), stitched over
// the plain grid, with the map's attribution for whoever shows it. Where tiles
// cannot be had (off, offline, refused, not pictures) the grid shows.
class TileMapSnapshotter final : public MapSnapshotter {
public:
    static constexpr int connections = 2;
    static constexpr int maximumZoom = 19;
    static constexpr QStringView attribution = u"© OpenStreetMap contributors";

    struct Options {
        QString mapTiles;  // the tiles' address, with {z}, {x} and {y}
        bool enabled = true;
        QString cacheFolder;             // none: TileCache::standardFolder(mapTiles)
        std::function<QDateTime()> now;  // none: the system's clock
    };

    TileMapSnapshotter(HTTPClient& http, Options options);

    Task<std::optional<Snapshot>> snapshot(MapRegion region, QSize size) override;

    // The requests open, and those waiting for one of them to end.
    class Connections;

private:
    Task<std::optional<QImage>> tile(TileKey key);

    HTTPClient& http_;
    Options options_;
    TileCache cache_;
    std::shared_ptr<Connections> connections_;
};

// The picture a tile server sent, when it is a PNG that decodes.
std::optional<QImage> decodedTile(QByteArrayView bytes);

}  // namespace tavlin::platform
