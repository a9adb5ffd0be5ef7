#include "rows/Look.h"
#include "rows/SectionHeader.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLocale>

using namespace Qt::StringLiterals;
using namespace tavlin::rows;

TEST(Look, TextStylesAreRelativeToTheDesktopFont) {
    QFont points(u"DejaVu Sans"_s);
    points.setPointSizeF(10);
    QFont pixels(u"DejaVu Sans"_s);
    pixels.setPixelSize(13);
    struct Case {
        TextStyle style;
        double pointSize;
        int pixelSize;
    };
    for (const Case& c : {Case{TextStyle::body, 10, 13}, Case{TextStyle::callout, 9, 12},
                          Case{TextStyle::caption, 7, 10}, Case{TextStyle::largeTitle, 20, 26}}) {
        EXPECT_EQ(font(points, c.style).pointSizeF(), c.pointSize) << int(c.style);
        EXPECT_EQ(font(pixels, c.style).pixelSize(), c.pixelSize) << int(c.style);
    }
    EXPECT_EQ(font(pixels, TextStyle::caption, QFont::DemiBold).weight(), QFont::DemiBold);
}

TEST(Look, TheTonesComeFromThePalette) {
    QPalette palette;
    palette.setColor(QPalette::WindowText, QColor(20, 30, 40));
    palette.setColor(QPalette::Highlight, QColor(0, 100, 200));
    EXPECT_EQ(color(palette, Tone::primary), QColor(20, 30, 40));
    for (const auto& [tone, alpha] :
         {std::pair{Tone::secondary, 0.5}, {Tone::tertiary, 0.25}, {Tone::quaternary, 0.1}}) {
        EXPECT_EQ(color(palette, tone).rgb(), QColor(20, 30, 40).rgb());
        EXPECT_NEAR(color(palette, tone).alphaF(), alpha, 0.01);
    }
    EXPECT_EQ(color(palette, Tone::accent), QColor(0, 100, 200));
    palette.setColor(QPalette::Window, Qt::white);
    const QColor lightRed = color(palette, Tone::red);
    palette.setColor(QPalette::Window, QColor(30, 30, 30));
    EXPECT_TRUE(isDark(palette));
    EXPECT_NE(color(palette, Tone::red), lightRed);
}

TEST(Look, AToneFollowsItsParentsPalette) {
    QWidget parent;
    QLabel* label = new QLabel(u"Later"_s, &parent);
    setTone(*label, Tone::secondary);
    QPalette dark = parent.palette();
    dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
    parent.setPalette(dark);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), color(dark, Tone::secondary));
    // Set again, it does not dim what it set itself.
    setTone(*label, Tone::secondary);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), color(dark, Tone::secondary));
}

TEST(SectionHeader, ATitleIsDrawnInCapitalsInTheCaptionStyle) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const SectionHeader header(u"Straße heute"_s, 16);
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(header.text(), u"STRASSE HEUTE"_s);
    EXPECT_EQ(header.title(), u"Straße heute"_s);
    EXPECT_EQ(header.contentsMargins(), QMargins(16, 8, 16, 4));
    EXPECT_EQ(header.font().weight(), QFont::DemiBold);
    EXPECT_EQ(header.font(), font(TextStyle::caption, QFont::DemiBold));
    EXPECT_EQ(SectionHeader(u"Today"_s, 0).contentsMargins(), QMargins(0, 8, 0, 4));
}
