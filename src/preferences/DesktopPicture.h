#pragma once

#include <QImage>
#include <QStringList>

#include <optional>

namespace tavlin::preferences {

// A stock background of the desktop, for the previews of the colour-style
// picker (the user's own desktop picture is not consulted): the first of a
// list of files that loads as an image, tried once; a miss is remembered
// too. Main thread only.
class DesktopPicture {
public:
    // Debian's and GNOME's default backgrounds.
    static QStringList stockBackgrounds();
    // The process's one, over the stock backgrounds.
    static DesktopPicture& shared();

    explicit DesktopPicture(QStringList candidates = stockBackgrounds());

    // A null image when none of the files loads.
    const QImage& image();

private:
    QStringList candidates_;
    std::optional<QImage> image_;
};

}  // namespace tavlin::preferences
