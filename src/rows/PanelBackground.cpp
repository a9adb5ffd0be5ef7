#include "rows/PanelBackground.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <deque>

namespace tavlin::rows {

PanelBackground::PanelBackground(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

void PanelBackground::setCornerRadius(double radius) {
    if (radius == cornerRadius_) return;
    cornerRadius_ = radius;
    update();
}

QPainterPath PanelBackground::shape(const QRectF& rect, double cornerRadius) {
    QPainterPath path;
    const double radius = std::min(cornerRadius, std::min(rect.width(), rect.height()) / 2);
    if (radius <= 0) path.addRect(rect);
    else path.addRoundedRect(rect, radius, radius);
    return path;
}

QRegion PanelBackground::mask(QSize size, double cornerRadius) {
    if (cornerRadius <= 0 || size.isEmpty()) return {};
    // Drawn once per size: every open asks again, at the size the panel is
    // made with and at the size it then takes.
    struct Drawn {
        QSize size;
        double cornerRadius = 0;
        QRegion region;
    };
    static std::deque<Drawn> drawn;
    for (const Drawn& known : drawn)
        if (known.size == size && known.cornerRadius == cornerRadius) return known.region;
    // A window shape has no partly covered pixels: a pixel is in when its
    // centre is.
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(shape(QRectF(QPointF(0, 0), QSizeF(size)), cornerRadius));
    painter.end();
    drawn.push_front({size, cornerRadius, QRegion(QBitmap::fromImage(image.createAlphaMask()))});
    if (drawn.size() > 4) drawn.pop_back();
    return drawn.front().region;
}

void PanelBackground::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawPath(shape(QRectF(rect()), cornerRadius_));
}

}  // namespace tavlin::rows
