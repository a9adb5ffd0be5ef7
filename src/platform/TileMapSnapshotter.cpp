#include "platform/TileMapSnapshotter.h"

#include "platform/Log.h"
#include "platform/PlaceServiceRequest.h"
#include "platform/PlaceServiceSettings.h"

#include <QPainter>

#include <deque>
#include <memory>
#include <vector>

namespace tavlin::platform {

namespace {

constexpr QByteArrayView pngSignature = "\x89PNG\r\n\x1a\n";

}  // namespace

class TileMapSnapshotter::Connections {
public:
    // Done at once while fewer than `connections` are open; else when one
    // is handed over.
    Task<void> turn() {
        TaskCompletion<> turn;
        if (open_ < connections) {
            ++open_;
            turn.resolve();
        } else {
            waiting_.push_back(turn);
        }
        return turn.task();
    }
    // The next waiting request takes it over, at the next turn of the loop
    // (never inside the frame that lets it go).
    void release() {
        if (waiting_.empty()) {
            --open_;
            return;
        }
        postToMainLoop([next = waiting_.front()] { next.resolve(); });
        waiting_.pop_front();
    }

private:
    int open_ = 0;
    std::deque<TaskCompletion<>> waiting_;
};

namespace {

// A connection taken, given back when it goes, however its task ends.
class HeldConnection {
public:
    explicit HeldConnection(std::shared_ptr<TileMapSnapshotter::Connections> pool) : pool_(std::move(pool)) {}
    ~HeldConnection() { pool_->release(); }
    HeldConnection(const HeldConnection&) = delete;
    HeldConnection& operator=(const HeldConnection&) = delete;

private:
    std::shared_ptr<TileMapSnapshotter::Connections> pool_;
};

}  // namespace

std::optional<QImage> decodedTile(QByteArrayView bytes) {
    if (!bytes.startsWith(pngSignature)) return std::nullopt;
    QImage image;
    if (!image.loadFromData(bytes, "PNG") || image.isNull()) return std::nullopt;
    return image;
}

TileMapSnapshotter::TileMapSnapshotter(HTTPClient& http, Options options)
    : http_(http),
      options_(std::move(options)),
      cache_(options_.cacheFolder.isEmpty() ? TileCache::standardFolder(options_.mapTiles) : options_.cacheFolder),
      connections_(std::make_shared<Connections>()) {
    if (!options_.now) options_.now = [] { return QDateTime::currentDateTimeUtc(); };
}

Task<std::optional<MapSnapshotter::Snapshot>> TileMapSnapshotter::snapshot(MapRegion region, QSize size) {
    std::optional<Snapshot> map = GridMapSnapshotter::draw(region, size);
    if (!map || !options_.enabled) co_return map;
    const MapProjection projection(region.center, metresPerPointFitting(region, size), size);
    const std::vector<PlacedTile> tiles = tilesCovering(projection, size, maximumZoom);

    // As many lanes as connections take the tiles in turn.
    struct Work {
        std::vector<std::optional<QImage>> images;
        std::size_t next = 0;
    };
    auto work = std::make_shared<Work>();
    work->images.resize(tiles.size());
    const auto lane = [](TileMapSnapshotter* self, std::vector<PlacedTile> tiles,
                         std::shared_ptr<Work> work) -> Task<void> {
        while (work->next < tiles.size()) {
            const std::size_t index = work->next++;
            std::optional<QImage> image = co_await self->tile(tiles[index].key);
            work->images[index] = std::move(image);
            const bool cancelled = co_await isTaskCancelled();
            if (cancelled) co_return;
        }
    };
    std::vector<Task<void>> lanes;
    for (int i = 0; i < connections; ++i) lanes.push_back(lane(this, tiles, work));
    for (const Task<void>& running : lanes) co_await running;

    bool drawn = false;
    {
        QPainter painter(&map->image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            if (!work->images[i]) continue;
            painter.drawImage(tiles[i].rect, *work->images[i]);
            drawn = true;
        }
    }
    // The tiles' licence asks for it wherever they are shown.
    if (drawn) map->attribution = attribution.toString();
    co_return map;
}

// From the cache while it is fresh; else from the server, and a stale
// cached tile when the server gives none. A tile that is not a PNG is
// neither drawn nor kept.
Task<std::optional<QImage>> TileMapSnapshotter::tile(TileKey key) {
    const QDateTime now = options_.now();
    const std::optional<TileCache::Tile> cached = cache_.tile(key, now);
    if (cached && cached->isFresh) co_return decodedTile(cached->png);
    const auto stale = [&] { return cached ? decodedTile(cached->png) : std::nullopt; };

    const std::shared_ptr<Connections> pool = connections_;
    co_await pool->turn();
    const HeldConnection held(pool);
    const bool cancelled = co_await isTaskCancelled();
    if (cancelled) co_return stale();
    HTTPClient::Response response;
    try {
        HTTPClient::Request request =
            PlaceServiceRequest::get(PlaceServiceSettings::tileAddress(options_.mapTiles, key.zoom, key.x, key.y));
        response = co_await http_.send(std::move(request));
    } catch (const HTTPError& error) {
        qCDebug(lcPlatform) << "no map tile" << key.zoom << key.x << key.y << error.what();
        co_return stale();
    }
    std::optional<QImage> image = decodedTile(response.body);
    if (!image) {
        qCDebug(lcPlatform) << "the map tile" << key.zoom << key.x << key.y << "is not a PNG picture";
        co_return stale();
    }
    const std::optional<QDateTime> expiry = TileCache::expiry(response.header("cache-control").value_or(QByteArray()),
                                                              response.header("expires").value_or(QByteArray()),
                                                              response.header("date").value_or(QByteArray()), now);
    if (expiry) cache_.store(key, response.body, *expiry);
    co_return image;
}

}  // namespace tavlin::platform
