#pragma once

// What the tests of the count pictures share: segments in a word, the
// palette of a light or a dark desktop, and colours compared as pictures
// blend them.

#include "rows/CountSegment.h"

#include <gtest/gtest.h>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cstdlib>
#include <ostream>

namespace tavlin::rows {

inline void PrintTo(const CountSegment& segment, std::ostream* out) {
    static const char* const names[]{"alarm", "neutral", "win"};
    *out << segment.text.toStdString() << '/' << names[int(segment.style)];
}

}  // namespace tavlin::rows

namespace tavlin::testing {

inline rows::CountSegment alarm(const char* text) { return {QString::fromLatin1(text), rows::SegmentStyle::alarm}; }
inline rows::CountSegment neutral(const char* text) { return {QString::fromLatin1(text), rows::SegmentStyle::neutral}; }
inline rows::CountSegment win(const char* text) { return {QString::fromLatin1(text), rows::SegmentStyle::win}; }

inline const QColor kLightText(Qt::black);
inline const QColor kDarkText(240, 240, 240);

// A desktop palette: only the window and its text matter to the pictures.
inline QPalette desktopPalette(bool dark) {
    QPalette palette;
    palette.setColor(QPalette::Window, dark ? QColor(40, 40, 40) : QColor(239, 239, 239));
    palette.setColor(QPalette::WindowText, dark ? kDarkText : kLightText);
    return palette;
}

// The application palette for the life of the object.
class ScopedPalette {
public:
    explicit ScopedPalette(bool dark) : saved_(QGuiApplication::palette()) {
        QGuiApplication::setPalette(desktopPalette(dark));
    }
    ~ScopedPalette() { QGuiApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

inline QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

// Equal but for rounding in blending and premultiplying.
inline ::testing::AssertionResult near(const QColor& actual, const QColor& expected) {
    const int off = std::max({std::abs(actual.red() - expected.red()), std::abs(actual.green() - expected.green()),
                              std::abs(actual.blue() - expected.blue()), std::abs(actual.alpha() - expected.alpha())});
    if (off <= 3) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name(QColor::HexArgb).toStdString() << ", expected "
                                         << expected.name(QColor::HexArgb).toStdString();
}

}  // namespace tavlin::testing
