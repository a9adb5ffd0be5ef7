#include "platform/TileCache.h"

#include "platform/FileWriting.h"
#include "platform/Log.h"
#include "platform/XdgPaths.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

// A tile file: its expiry in milliseconds since 1970 (8 bytes, big-endian), then the PNG.
constexpr qsizetype expiryBytes = 8;

// "Sun, 06 Nov 1994 08:49:37 GMT", whose zone Qt reads only as a number.
std::optional<QDateTime> httpDate(QByteArray text) {
    text = text.trimmed();
    if (text.endsWith(" GMT")) text = text.chopped(3) + "+0000";
    const QDateTime date = QDateTime::fromString(QString::fromLatin1(text), Qt::RFC2822Date);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

}  // namespace

TileCache::TileCache(QString folder, int maximumTiles)
    : folder_(std::move(folder)), maximumTiles_(std::max(1, maximumTiles)) {}

QString TileCache::standardFolder(const QString& mapTiles) {
    const QByteArray server = QCryptographicHash::hash(mapTiles.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return cacheHome() + u"/Tavlin/tiles/"_s + QString::fromLatin1(server);
}

QString TileCache::path(const TileKey& key) const {
    return u"%1/%2/%3/%4.tile"_s.arg(folder_).arg(key.zoom).arg(key.x).arg(key.y);
}

std::optional<TileCache::Tile> TileCache::tile(const TileKey& key, const QDateTime& now) const {
    QFile file(path(key));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.size() <= expiryBytes) return std::nullopt;
    const qint64 expiry = qFromBigEndian<qint64>(bytes.constData());
    return Tile{.png = bytes.sliced(expiryBytes), .isFresh = now.toMSecsSinceEpoch() < expiry};
}

void TileCache::store(const TileKey& key, const QByteArray& png, const QDateTime& expiry) {
    const QString file = path(key);
    if (const std::optional<int> error = makeFolders(QFileInfo(file).path(), 0700)) {
        qCDebug(lcPlatform) << "cannot keep a map tile in" << folder_ << "errno" << *error;
        return;
    }
    QByteArray bytes(expiryBytes, Qt::Uninitialized);
    qToBigEndian<qint64>(expiry.toMSecsSinceEpoch(), bytes.data());
    if (const auto failure = replaceFile(file, bytes + png, 0600))
        qCDebug(lcPlatform) << couldNot(failure->step) << file << "errno" << failure->error;
    keepWithinBound();
}

void TileCache::keepWithinBound() {
    if (storesUntilCount_-- > 0) return;
    storesUntilCount_ = std::max(1, maximumTiles_ / 32);
    struct Kept {
        QString path;
        qint64 written = 0;
    };
    std::vector<Kept> tiles;
    QDirIterator it(folder_, {u"*.tile"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        tiles.push_back({info.filePath(), info.lastModified().toMSecsSinceEpoch()});
    }
    if (std::ssize(tiles) <= maximumTiles_) return;
    // Down to nine tenths, so that the next few stores need no removal.
    const auto keep = static_cast<std::ptrdiff_t>(maximumTiles_) * 9 / 10;
    const auto removed = std::ssize(tiles) - keep;
    std::nth_element(tiles.begin(), tiles.begin() + removed, tiles.end(),
                     [](const Kept& a, const Kept& b) { return a.written < b.written; });
    for (auto tile = tiles.begin(); tile != tiles.begin() + removed; ++tile) QFile::remove(tile->path);
    qCDebug(lcPlatform) << "removed" << removed << "of the oldest map tiles from" << folder_;
}

std::optional<QDateTime> TileCache::expiry(const QByteArray& cacheControl, const QByteArray& expires,
                                           const QByteArray& date, const QDateTime& now) {
    std::optional<QDateTime> server;
    for (const QByteArray& part : cacheControl.split(',')) {
        const QByteArray directive = part.trimmed().toLower();
        if (directive == "no-store") return std::nullopt;
        if (directive.startsWith("max-age=")) {
            bool ok = false;
            const qint64 seconds = directive.sliced(8).toLongLong(&ok);
            if (ok && seconds >= 0) server = now.addSecs(seconds);
        }
    }
    // Expires counts from the server's own clock, when it says what that was.
    if (!server && !expires.isEmpty()) {
        if (const std::optional<QDateTime> until = httpDate(expires)) {
            const std::optional<QDateTime> sent = httpDate(date);
            server = now.addSecs(sent ? sent->secsTo(*until) : now.secsTo(*until));
        }
    }
    const QDateTime week = now.addSecs(std::chrono::duration_cast<std::chrono::seconds>(minimumLifetime).count());
    return server ? std::max(*server, week) : week;
}

}  // namespace tavlin::platform
