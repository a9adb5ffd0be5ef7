#include "preferences/SecondaryText.h"

#include <QWidget>

namespace tavlin::preferences {

QColor secondaryTextColor(const QPalette& palette) { return palette.color(QPalette::PlaceholderText); }

QFont captionFont(QFont font) {
    if (font.pixelSize() > 0) font.setPixelSize(font.pixelSize() - 2);
    else font.setPointSizeF(font.pointSizeF() * 11 / 13);
    return font;
}

void setTextColor(QWidget& widget, QPalette::ColorRole role, const QColor& color) {
    // Only `role` is set, so only it is fixed: the widget resolves the other
    // roles, and the disabled colour, from its parent.
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, role, color);
    widget.setPalette(palette);
}

}  // namespace tavlin::preferences
