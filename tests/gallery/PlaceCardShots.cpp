// The card of a place named in the typed line: while its map is drawn, when
// nothing matched the name, on its map at 250 m, at 300 m with its radius
// menu open, while its handle is dragged to 675 m, for a reminder on
// leaving, and on a map drawn from tiles (made here, as a tile server's
// would be, and served from the disk cache). Each in the light and the dark
// palette, on the panel's colour.

#include "Gallery.h"

#include "platform/HTTPClient.h"
#include "platform/TileMapSnapshotter.h"
#include "rows/LocationPreviewCard.h"
#include "store/LocationPreview.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

using rows::LocationPreviewCard;

constexpr int panelWidth = 440;

QString named(QString name, Scheme scheme) { return scheme == Scheme::dark ? name + u"-dark"_s : name; }

// The gym, as an earlier reminder left it.
store::ResolvedLocation gym(double radius) {
    return {.name = u"Gym"_s, .latitude = 52.3676, .longitude = 4.9041, .radius = radius};
}

// The map the panel draws for a card in its width.
std::optional<store::LocationPreview::MapSnapshot> mapOf(const store::ResolvedLocation& place) {
    const platform::Task<std::optional<store::LocationPreview::MapSnapshot>> drawn =
        store::LocationPreview::snapshot(place.latitude, place.longitude, place.radius, panelWidth - 32, 130);
    return drawn.isDone() ? drawn.result() : std::nullopt;
}

LocationPreviewCard::Inputs resolved(double radius,
                                     parsing::LocationTrigger trigger = parsing::LocationTrigger::arrive) {
    return {.requestedName = u"gym"_s, .resolved = gym(radius), .snapshot = mapOf(gym(radius)), .trigger = trigger};
}

// The card on a strip of the panel's background; `prepare` acts on it once
// it is laid out.
QImage card(LocationPreviewCard::Inputs inputs, Scheme scheme,
            const std::function<void(LocationPreviewCard&)>& prepare = {}) {
    LocationPreviewCard view(std::move(inputs));
    return onPanelBackground(view, panelWidth, scheme, [&] {
        if (prepare) prepare(view);
    });
}

void send(QWidget& widget, QEvent::Type type, QPointF at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// The handle held and pulled out to 675 m, not yet let go.
QImage dragging(Scheme scheme) {
    return card(resolved(250), scheme, [](LocationPreviewCard& view) {
        const QPointF handle = view.overlay()->handle;
        const QPointF center = view.overlay()->ring.center();
        const double pointsPerMeter = view.inputs().snapshot->pointsPerMeter;
        send(view, QEvent::MouseButtonPress, handle);
        send(view, QEvent::MouseMove, center + QPointF(675 * pointsPerMeter, 0));
    });
}

// The card with its radius menu open under the caption, at the button's
// right edge.
QImage withMenu(Scheme scheme) {
    QImage menuImage;
    QPoint at;
    const QImage cardImage = card(resolved(300), scheme, [&](LocationPreviewCard& view) {
        QMenu& menu = *view.radiusMenu();
        menu.setPalette(palette(scheme));
        menu.ensurePolished();
        menu.resize(menu.sizeHint());
        menuImage = QImage(menu.size(), QImage::Format_ARGB32_Premultiplied);
        menuImage.fill(Qt::transparent);
        menu.render(&menuImage, {}, {}, QWidget::DrawWindowBackground | QWidget::DrawChildren);
        const QRect button = view.radiusMenuButton()->geometry();
        at = QPoint(button.right() - menu.width(), button.bottom() + 2);
    });
    QImage image(panelWidth, std::max(cardImage.height(), at.y() + menuImage.height()),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(palette(scheme).color(QPalette::Window));
    QPainter painter(&image);
    painter.drawImage(0, 0, cardImage);
    painter.drawImage(at, menuImage);
    return image;
}

// A town's tile: streets on a block grid, every fourth a main road, a
// park and a canal, drawn in the world's pixels so that they run on across
// the tiles.
QByteArray townTile(const platform::TileKey& key) {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(QColor(0xf2, 0xef, 0xe9));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF world(256.0 * key.x, 256.0 * key.y, 256, 256);
    painter.translate(-world.topLeft());
    const auto starting = [](double from, double step) { return std::floor(from / step) * step; };
    constexpr double block = 150;
    painter.fillRect(QRectF(starting(world.left(), 900) + 310, world.top(), 280, 256), QColor(0xc8, 0xfa, 0xcc));
    painter.fillRect(QRectF(world.left(), starting(world.top(), 1000) + 520, 256, 34), QColor(0xaa, 0xd3, 0xdf));
    for (const bool main : {false, true}) {
        const double step = main ? 4 * block : block;
        for (const auto& [colour, width] :
             {std::pair{QColor(0xcc, 0xc6, 0xbc), main ? 14.0 : 10.0},
              std::pair{main ? QColor(0xf7, 0xd4, 0x96) : QColor(Qt::white), main ? 11.0 : 7.0}}) {
            painter.setPen(QPen(colour, width));
            for (double x = starting(world.left(), step); x < world.right() + step; x += step)
                painter.drawLine(QPointF(x, world.top() - 8), QPointF(x, world.bottom() + 8));
            for (double y = starting(world.top(), step); y < world.bottom() + step; y += step)
                painter.drawLine(QPointF(world.left() - 8, y), QPointF(world.right() + 8, y));
        }
    }
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// The card on a map of tiles from a cache that holds every tile it needs,
// of a server that is not there.
QImage onTiles(Scheme scheme) {
    QTemporaryDir cache;
    const QString tiles = u"http://127.0.0.1:9/{z}/{x}/{y}.png"_s;
    const store::ResolvedLocation place = gym(250);
    const platform::MapRegion region{{place.latitude, place.longitude}, 6 * place.radius, 6 * place.radius};
    const QSize size(panelWidth - 32, 130);
    platform::TileCache filled(cache.path());
    const platform::MapProjection projection(region.center, platform::metresPerPointFitting(region, size), size);
    for (const platform::PlacedTile& tile : platform::tilesCovering(projection, size))
        filled.store(tile.key, townTile(tile.key), QDateTime::currentDateTimeUtc().addDays(7));
    platform::HTTPClient http;
    platform::TileMapSnapshotter maps(http, {.mapTiles = tiles, .cacheFolder = cache.path()});
    const platform::ScopedMapSnapshotter installed(maps);
    return card({.requestedName = u"gym"_s, .resolved = place, .snapshot = mapOf(place)}, scheme);
}

const Shots shots{[] {
    std::vector<Shot> all;
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        all.push_back({named(u"place-card-loading"_s, scheme),
                       [=] { return card({.requestedName = u"gym"_s, .resolved = gym(250)}, scheme); }});
        all.push_back({named(u"place-card-failed"_s, scheme),
                       [=] { return card({.requestedName = u"nowhere"_s, .failed = true}, scheme); }});
        all.push_back({named(u"place-card-resolved-250"_s, scheme), [=] { return card(resolved(250), scheme); }});
        all.push_back({named(u"place-card-resolved-300-menu"_s, scheme), [=] { return withMenu(scheme); }});
        all.push_back({named(u"place-card-dragging-675"_s, scheme), [=] { return dragging(scheme); }});
        all.push_back({named(u"place-card-leave"_s, scheme),
                       [=] { return card(resolved(500, parsing::LocationTrigger::leave), scheme); }});
        all.push_back({named(u"place-card-map-tiles"_s, scheme), [=] { return onTiles(scheme); }});
    }
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
