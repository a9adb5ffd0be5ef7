#include "rows/PanelBackground.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

using tavlin::rows::PanelBackground;

namespace {

// The window shape made the other way: a (4r + 1)-square picture of the
// rounded rectangle whose middle row and column are stretched to the size,
// the corners kept as drawn.
bool stretchedMaskCovers(int r, QSize size, QPoint pixel) {
    const int side = 4 * r + 1;
    static QImage picture;
    static int pictureRadius = -1;
    if (pictureRadius != r) {
        picture = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, side, side), r, r);
        painter.fillPath(path, Qt::black);
        pictureRadius = r;
    }
    const auto source = [&](int at, int length) {
        if (at < 2 * r) return at;
        if (at >= length - 2 * r) return at - (length - side);
        return 2 * r;
    };
    return qAlpha(picture.pixel(source(pixel.x(), size.width()), source(pixel.y(), size.height()))) != 0;
}

}  // namespace

TEST(PanelBackground, WithoutARadiusTheWindowKeepsItsRectangle) {
    for (const double radius : {0.0, -4.0}) EXPECT_TRUE(PanelBackground::mask(QSize(440, 120), radius).isEmpty());
}

TEST(PanelBackground, TheShapeIsTheStretchedCornerPictureAtAnySize) {
    struct Case {
        int radius;
        QSize size;
    };
    for (const Case& c : {Case{10, {41, 41}}, Case{16, {440, 120}}, Case{20, {520, 301}}, Case{20, {81, 400}}}) {
        SCOPED_TRACE(testing::Message() << c.radius << " " << c.size.width() << "×" << c.size.height());
        const QRegion mask = PanelBackground::mask(c.size, c.radius);
        int differences = 0;
        for (int y = 0; y < c.size.height(); ++y)
            for (int x = 0; x < c.size.width(); ++x)
                if (mask.contains(QPoint(x, y)) != stretchedMaskCovers(c.radius, c.size, {x, y})) ++differences;
        EXPECT_EQ(differences, 0);
        EXPECT_FALSE(mask.contains(QPoint(0, 0)));
        EXPECT_TRUE(mask.contains(QPoint(c.radius, 0)));
        EXPECT_TRUE(mask.contains(QPoint(c.size.width() / 2, c.size.height() / 2)));
    }
}

TEST(PanelBackground, PaintsTheWindowColourInsideRoundCorners) {
    PanelBackground background;
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x32, 0x32, 0x32));
    background.setPalette(palette);
    background.resize(200, 100);
    for (const double radius : {16.0, 0.0}) {
        background.setCornerRadius(radius);
        QImage image(background.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        background.render(&image, {}, {}, QWidget::DrawChildren);
        EXPECT_EQ(image.pixelColor(100, 50), QColor(0x32, 0x32, 0x32));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), radius > 0 ? 0 : 255) << radius;
        EXPECT_EQ(qAlpha(image.pixel(199, 99)), radius > 0 ? 0 : 255) << radius;
    }
}
