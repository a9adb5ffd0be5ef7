#include "preferences/DesktopPicture.h"

#include <QImageReader>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

// The previews are small: a desktop-sized picture is scaled down once.
constexpr int kMaximumWidth = 640;

}  // namespace

QStringList DesktopPicture::stockBackgrounds() {
    return {
        u"/usr/share/images/desktop-base/desktop-background"_s,
        u"/usr/share/images/desktop-base/default"_s,
        u"/usr/share/backgrounds/gnome/adwaita-l.jpg"_s,
        u"/usr/share/backgrounds/gnome/adwaita-l.webp"_s,
    };
}

DesktopPicture& DesktopPicture::shared() {
    static DesktopPicture picture;
    return picture;
}

DesktopPicture::DesktopPicture(QStringList candidates) : candidates_(std::move(candidates)) {}

const QImage& DesktopPicture::image() {
    if (image_) return *image_;
    image_.emplace();
    for (const QString& path : candidates_) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        if (reader.size().width() > kMaximumWidth) {
            const QSize size = reader.size();
            reader.setScaledSize(QSize(kMaximumWidth, size.height() * kMaximumWidth / size.width()));
        }
        QImage image = reader.read();
        if (image.isNull()) continue;
        *image_ = std::move(image);
        break;
    }
    return *image_;
}

}  // namespace tavlin::preferences
