#pragma once

#include <QFont>
#include <QPalette>

class QWidget;

namespace tavlin::preferences {

// The colour of secondary text (a badge, a prompt): the palette's
// placeholder text, which each theme dims for its own background.
QColor secondaryTextColor(const QPalette& palette);

// The caption size of `font`: two pixels (or the like in points) smaller.
QFont captionFont(QFont font);

// Sets the colour `role` of `widget` to `color`, for text that a widget draws
// in a fixed role (a button's label); the widget's other roles still follow
// its parent. Call again when the colour's source changes.
void setTextColor(QWidget& widget, QPalette::ColorRole role, const QColor& color);

}  // namespace tavlin::preferences
