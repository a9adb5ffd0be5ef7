#pragma once

#include "platform/MapTiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

#include <cstdlib>

// Map tiles for tests, made rather than downloaded: each of one colour of
// its own, so that a picture shows which tile landed where.
inline QColor fixtureTileColour(const tavlin::platform::TileKey& key) {
    return QColor::fromHsv((key.x * 67 + key.y * 131) % 360, 200, 220);
}

inline QByteArray fixtureTilePNG(const tavlin::platform::TileKey& key) {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(fixtureTileColour(key));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The path of a tile on a server whose tiles are at "/tiles/{z}/{x}/{y}.png".
inline QByteArray fixtureTilePath(const tavlin::platform::TileKey& key) {
    return "/tiles/" + QByteArray::number(key.zoom) + '/' + QByteArray::number(key.x) + '/' +
           QByteArray::number(key.y) + ".png";
}

// Whether a pixel shows the tile's colour (smoothing aside).
inline bool showsFixtureTile(const QColor& seen, const tavlin::platform::TileKey& key) {
    const QColor colour = fixtureTileColour(key);
    return std::abs(seen.red() - colour.red()) + std::abs(seen.green() - colour.green()) +
               std::abs(seen.blue() - colour.blue()) <=
           6;
}
