// The pictures of the counts: the segments' widths, their colours in each
// style, the dividers between them, the pill's and the tray square's shapes.

#include "rows/CountSegmentPainter.h"

#include "support/CountPictures.h"

#include <gtest/gtest.h>
#include <QImage>

#include <cmath>
#include <numeric>
#include <vector>

using namespace Qt::StringLiterals;
using tavlin::rows::CountSegmentPainter;
using tavlin::testing::alarm;
using tavlin::testing::kDarkText;
using tavlin::testing::kLightText;
using tavlin::testing::near;
using tavlin::testing::neutral;
using tavlin::testing::ScopedPalette;
using tavlin::testing::win;
using tavlin::testing::withAlpha;
using Segment = tavlin::rows::CountSegment;
using Style = tavlin::rows::SegmentStyle;

namespace {

// In `area` (device pixels), the colour farthest from `fill`: the inside of
// a glyph drawn there.
QColor inkIn(const QImage& image, QRect area, const QColor& fill) {
    QColor farthest = fill;
    int distance = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            const int d = std::abs(colour.red() - fill.red()) + std::abs(colour.green() - fill.green()) +
                          std::abs(colour.blue() - fill.blue()) + std::abs(colour.alpha() - fill.alpha());
            if (d > distance) distance = d, farthest = colour;
        }
    return farthest;
}

TEST(CountSegmentPainter, SegmentsAreTheirTextAndThirteenWideButNeverNarrowerThanTwenty) {
    const auto width = [](const char* text) { return CountSegmentPainter::segmentWidths({neutral(text)}).front(); };
    EXPECT_EQ(width(""), 20);
    EXPECT_EQ(width("."), 20);
    EXPECT_GT(width("12"), 20);
    EXPECT_DOUBLE_EQ(width("1111"), width("8888")) << "digits as tabular figures";
    EXPECT_NEAR(width("1000") - 13, 2 * (width("10") - 13), 1e-9);

    const std::vector<Segment> segments{alarm("5"), neutral("1000"), win("12")};
    const std::vector<qreal> widths = CountSegmentPainter::segmentWidths(segments);
    const qreal sum = std::accumulate(widths.begin(), widths.end(), qreal(0));
    for (qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage image = CountSegmentPainter::pillImage(segments, false, ratio);
        EXPECT_EQ(image.devicePixelRatio(), ratio);
        EXPECT_EQ(image.width(), int(std::ceil(sum * ratio)));
        EXPECT_EQ(image.height(), 16 * ratio);
    }
}

struct ColourCase {
    Style style;
    bool quiet;
    bool dark;
    QColor fill;
    QColor text;
};

TEST(CountSegmentPainter, EachStyleHasItsFillAndTextColours) {
    const QColor white(Qt::white), red(255, 59, 48), alarmRed(215, 0, 21);
    const QColor green(27, 122, 61), darkGreen(31, 131, 65);
    const ColourCase cases[]{
        {Style::neutral, false, false, withAlpha(kLightText, 36), kLightText},
        {Style::neutral, true, false, withAlpha(kLightText, 36), kLightText},
        {Style::neutral, false, true, withAlpha(kDarkText, 36), kDarkText},
        {Style::neutral, true, true, withAlpha(kDarkText, 36), kDarkText},
        {Style::alarm, false, false, red, white},
        {Style::alarm, false, true, red, white},
        {Style::alarm, true, false, white, alarmRed},
        {Style::alarm, true, true, white, alarmRed},
        {Style::win, false, false, green, white},
        {Style::win, false, true, darkGreen, white},
        {Style::win, true, false, white, green},
        {Style::win, true, true, white, green},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "style " << int(c.style) << (c.quiet ? " quiet" : " vivid") << (c.dark ? " dark" : " light"));
        const ScopedPalette scheme(c.dark);
        for (qreal ratio : {1.0, 2.0}) {
            const QImage pill = CountSegmentPainter::pillImage({{u"8"_s, c.style}}, c.quiet, ratio);
            const auto at = [&](qreal x, qreal y) { return QPoint(int(x * ratio), int(y * ratio)); };
            EXPECT_TRUE(near(pill.pixelColor(at(3, 8)), c.fill)) << "fill at ratio " << ratio;
            EXPECT_TRUE(near(inkIn(pill, QRect(at(5, 3), at(15, 13)), c.fill), c.text)) << "text at ratio " << ratio;
        }
        const QImage tray = CountSegmentPainter::trayImage({{u"8"_s, c.style}}, c.quiet, 32);
        EXPECT_TRUE(near(tray.pixelColor(3, 16), c.fill)) << "tray fill";
        EXPECT_TRUE(near(inkIn(tray, QRect(8, 4, 16, 24), c.fill), c.text)) << "tray text";
    }
}

TEST(CountSegmentPainter, ADividerIsBlackOnAQuietColourAndTheTextColourElsewhere) {
    struct Case {
        std::vector<Segment> segments;
        bool quiet;
        bool dark;
        QColor divider;  // over the second segment's fill
    };
    const Case cases[]{
        {{alarm("5"), neutral("0")}, false, false, QColor(0, 0, 0, 80)},
        {{alarm("5"), alarm("5")}, false, true, QColor(252, 95, 86)},
        {{neutral("0"), alarm("5")}, true, false, QColor(204, 204, 204)},
        {{neutral("0"), win("5")}, true, true, QColor(204, 204, 204)},
        {{alarm("5"), neutral("0")}, true, true, withAlpha(kDarkText, 80)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << ::testing::PrintToString(c.segments) << (c.quiet ? " quiet" : " vivid")
                                          << (c.dark ? " dark" : " light"));
        const ScopedPalette scheme(c.dark);
        // The divider covers the two device pixels from the first segment's
        // width on: the one after that edge's pixel is always inside.
        const QImage pill = CountSegmentPainter::pillImage(c.segments, c.quiet, 2);
        const int edge = int(2 * CountSegmentPainter::segmentWidths(c.segments).front());
        EXPECT_TRUE(near(pill.pixelColor(edge + 1, 16), c.divider));
        EXPECT_FALSE(near(pill.pixelColor(edge + 3, 16), c.divider)) << "one logical pixel wide";

        // The tray stacks them: the divider is the second row's top line.
        const QImage tray = CountSegmentPainter::trayImage(c.segments, c.quiet, 22);
        EXPECT_TRUE(near(tray.pixelColor(3, 11), c.divider));
        EXPECT_FALSE(near(tray.pixelColor(3, 12), c.divider));
    }
}

TEST(CountSegmentPainter, OutsideThePillsRoundEndsAndTheTraySquaresCornersIsTransparent) {
    const QImage pill = CountSegmentPainter::pillImage({alarm("12"), win("3")}, false, 2);
    const QImage tray = CountSegmentPainter::trayImage({alarm("12"), win("3")}, false, 24, 2);
    EXPECT_EQ(tray.size(), QSize(48, 48));
    EXPECT_EQ(tray.devicePixelRatio(), 2);
    for (const QImage& image : {pill, tray}) {
        const int right = image.width() - 1, bottom = image.height() - 1;
        for (QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
            EXPECT_EQ(image.pixelColor(corner).alpha(), 0) << corner.x() << "," << corner.y();
        EXPECT_EQ(image.pixelColor(4, image.height() / 2).alpha(), 255) << "inside near the left end";
        EXPECT_EQ(image.pixelColor(right - 4, image.height() / 2).alpha(), 255) << "inside near the right end";
    }
    EXPECT_EQ(tray.pixelColor(24, 1).alpha(), 255) << "the square's top edge is straight";
}

TEST(CountSegmentPainter, TheTrayPictureStacksTheSegmentsAsRowsWithTheirDigitsInside) {
    const ScopedPalette scheme(false);
    const QImage tray = CountSegmentPainter::trayImage({alarm("5"), neutral("0"), win("1000")}, false, 48);
    const QColor red(255, 59, 48), grey = withAlpha(kLightText, 36), green(27, 122, 61);
    const int rows[][2]{{0, 16}, {16, 32}, {32, 48}};
    const QColor fills[]{red, grey, green}, texts[]{Qt::white, kLightText, Qt::white};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(near(tray.pixelColor(2, (rows[i][0] + rows[i][1]) / 2), fills[i]));
        const QRect row(8, rows[i][0] + 2, 32, rows[i][1] - rows[i][0] - 3);
        EXPECT_TRUE(near(inkIn(tray, row, fills[i]), texts[i])) << "digits in the row";
    }
}

}  // namespace
