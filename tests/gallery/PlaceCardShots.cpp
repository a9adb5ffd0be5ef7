// The card of a place named in the typed line: while its map is drawn, when
// nothing matched the name, on its map at 250 m, at 300 m with its radius
// menu open, while its handle is dragged to 675 m, and for a reminder on
// leaving. Each in the light and the dark palette, on the panel's colour.

#include "Gallery.h"

#include "rows/LocationPreviewCard.h"
#include "store/LocationPreview.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

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
    }
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
