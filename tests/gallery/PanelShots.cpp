// The empty panel, as it opens under the tray item and at its home in the
// middle of the screen: translucent (a compositing manager runs) and opaque
// (its shape cut to the corners), in the light and the dark palette.

#include "Gallery.h"

#include "panel/widgets/KeyPanel.h"
#include "panel/widgets/PlaceholderRootView.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

struct Opening {
    QString name;
    double width;
    double cornerRadius;
};

QImage emptyPanel(const Opening& opening, bool translucent, Scheme scheme) {
    panel::widgets::KeyPanel window(panel::widgets::PlaceholderRootView::factory(), translucent);
    window.setPalette(palette(scheme));
    window.setRootView({.panelWidth = opening.width, .cornerRadius = opening.cornerRadius});
    window.installContent(opening.cornerRadius);
    window.layoutContent();
    window.setFrame(QRectF(0, 0, opening.width, window.contentHeight()));
    window.ensurePolished();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    image.fill(Qt::transparent);
    // An opaque window fills its whole rectangle; its shape shows only the
    // part within the mask.
    window.render(&image, {}, {},
                  translucent ? QWidget::DrawChildren : QWidget::DrawWindowBackground | QWidget::DrawChildren);
    if (!window.mask().isEmpty()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setClipRegion(QRegion(window.rect()).subtracted(window.mask()));
        painter.fillRect(window.rect(), Qt::transparent);
    }
    return image;
}

const Shots shots{[] {
    std::vector<Shot> all;
    for (const Opening& opening : {Opening{u"statusItem"_s, 440, 16}, Opening{u"screenCenter"_s, 520, 20}})
        for (const bool translucent : {true, false})
            for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
                QString name = u"panel-empty-"_s + opening.name;
                if (!translucent) name += u"-opaque"_s;
                if (scheme == Scheme::dark) name += u"-dark"_s;
                all.push_back({name, [=] { return emptyPanel(opening, translucent, scheme); }});
            }
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
