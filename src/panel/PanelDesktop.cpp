#include "panel/PanelDesktop.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace tavlin::panel {

geometry::Desktop QtPanelDesktop::desktop() const {
    geometry::Desktop desktop;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        desktop.screens.push_back({geometry::fromQt(QRectF(screen->geometry())),
                                   geometry::fromQt(QRectF(screen->availableGeometry())), screen->devicePixelRatio()});
        if (screen == QGuiApplication::primaryScreen()) desktop.mainScreen = desktop.screens.size() - 1;
    }
    desktop.pointer = geometry::fromQt(QPointF(QCursor::pos()));
    return desktop;
}

}  // namespace tavlin::panel
