#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

// The one look of the panel's views and the settings: text styles relative
// to the desktop's font, and colours from the palette. Lengths everywhere
// are device-independent pixels.
namespace tavlin::rows {

enum class TextStyle { body, callout, caption, largeTitle };

// `base` in `style`: body is `base` itself, callout one point smaller,
// caption three points smaller, large title twice as large. A font sized in
// pixels changes by pixels.
QFont font(const QFont& base, TextStyle style, QFont::Weight weight = QFont::Normal);
// The application's font in `style`.
QFont font(TextStyle style, QFont::Weight weight = QFont::Normal);

// `base`, or a font of its size whose digits are all as wide, so that a
// changing number does not make the text beside it move. Qt cannot ask a
// font for its tabular figures: `base` serves when its digits already are
// (DejaVu Sans's are), else the desktop's fixed-width font.
QFont tabularDigits(const QFont& base);

// Primary text, its secondary, tertiary and quaternary shades (the text
// colour at 0.5, 0.25 and 0.1), the accent (the selection colour), and the
// three signal colours, each a little lighter on a dark palette.
enum class Tone { primary, secondary, tertiary, quaternary, accent, red, green, orange };

QColor color(const QPalette& palette, Tone tone);
// Whether the palette's window is dark.
bool isDark(const QPalette& palette);

// Sets the colour `role` of `widget` to `color`, for text that a widget draws
// in a fixed role (a label's text, a button's label); the widget's other
// roles still follow its parent. Call again when the colour's source
// changes.
void setTextColor(QWidget& widget, QPalette::ColorRole role, const QColor& color);

// Draws the text of `widget` (its window-text, text and button-text roles)
// in `tone` of its parent's palette, and keeps it so when that palette
// changes (a dark desktop, a palette set on the panel).
void setTone(QWidget& widget, Tone tone);

}  // namespace tavlin::rows
