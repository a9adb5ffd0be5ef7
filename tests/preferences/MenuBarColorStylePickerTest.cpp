#include "preferences/MenuBarColorStylePicker.h"

#include "support/FakeSegmentRenderer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using tavlin::preferences::CountSegment;
using tavlin::preferences::DesktopPicture;
using tavlin::preferences::MenuBarColorStylePicker;
using tavlin::preferences::SegmentStyle;
using tavlin::testing::FakeSegmentRenderer;
using namespace Qt::StringLiterals;

namespace {

class MenuBarColorStylePickerTest : public ::testing::Test {
protected:
    MenuBarColorStylePickerTest() {
        picker.resize(420, picker.sizeHint().height());
        picker.show();
    }

    // The tile as drawn: its pixel at (x, y), x counted from its middle.
    static QColor pixel(QAbstractButton& tile, int fromMiddle, int y) {
        const QImage image = tile.grab().toImage();
        return image.pixelColor(image.width() / 2 + fromMiddle, y);
    }

    FakeSegmentRenderer renderer;
    DesktopPicture noPicture{QStringList{}};
    MenuBarColorStylePicker picker{renderer.renderer(), noPicture};
};

}  // namespace

TEST_F(MenuBarColorStylePickerTest, TheSelectedTileHasTheAccentBorderInsideItsShape) {
    const QColor accent = picker.palette().color(QPalette::Highlight);
    for (const bool quieter : {false, true}) {
        SCOPED_TRACE(quieter ? "quiet" : "vivid");
        picker.setQuieter(quieter);
        QAbstractButton& selected = quieter ? picker.quietTile() : picker.vividTile();
        QAbstractButton& other = quieter ? picker.vividTile() : picker.quietTile();
        EXPECT_TRUE(selected.isChecked());
        EXPECT_FALSE(other.isChecked());
        // Four rows of accent from the top edge inward, then the strip.
        for (int y = 0; y < 4; ++y) EXPECT_EQ(pixel(selected, 0, y), accent) << "row " << y;
        EXPECT_NE(pixel(selected, 0, 4), accent);
        // A faint line on the other, one row deep.
        EXPECT_NE(pixel(other, 0, 0), accent);
        EXPECT_EQ(pixel(other, 0, 1), pixel(other, 0, 5)) << "the strip below the line";
        EXPECT_NE(pixel(other, 0, 0), pixel(other, 0, 5));
    }
}

TEST_F(MenuBarColorStylePickerTest, EveryClickWritesTheStyleAChangeIsSignalledOnce) {
    QSignalSpy written(&picker, &MenuBarColorStylePicker::quieterWritten);
    QSignalSpy changed(&picker, &MenuBarColorStylePicker::quieterChanged);
    QTest::mouseClick(&picker.quietTile(), Qt::LeftButton);
    QTest::mouseClick(&picker.quietTile(), Qt::LeftButton);
    EXPECT_TRUE(picker.isQuieter());
    EXPECT_TRUE(picker.quietTile().isChecked());
    ASSERT_EQ(written.count(), 2) << "the selected tile writes again";
    EXPECT_TRUE(written.at(1).at(0).toBool());
    ASSERT_EQ(changed.count(), 1);

    picker.setQuieter(false);  // the setting changed elsewhere (the tray's menu)
    EXPECT_TRUE(picker.vividTile().isChecked());
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(written.count(), 2);
}

TEST_F(MenuBarColorStylePickerTest, TheSamplesAreTheTraysThreeCountsInEachStyle) {
    const std::vector<CountSegment> samples{
        {u"3"_s, SegmentStyle::alarm}, {u"0"_s, SegmentStyle::neutral}, {u"1"_s, SegmentStyle::win}};
    ASSERT_EQ(renderer.calls().size(), 2u);
    EXPECT_EQ(renderer.calls()[0].segments, samples);
    EXPECT_FALSE(renderer.calls()[0].quiet);
    EXPECT_EQ(renderer.calls()[1].segments, samples);
    EXPECT_TRUE(renderer.calls()[1].quiet);
}

TEST_F(MenuBarColorStylePickerTest, WithoutAPictureAGradientForTheSchemeStandsIn) {
    // Below the strip, near the left and the right end of the preview.
    const auto sample = [](MenuBarColorStylePicker& picker, int x) {
        const QImage image = picker.vividTile().grab().toImage();
        return image.pixelColor(x < 0 ? image.width() + x : x, 60);
    };
    const QColor lightLeft = sample(picker, 12);
    EXPECT_GT(lightLeft.blue(), lightLeft.red() + 80) << "cyan to blue";
    EXPECT_GT(lightLeft.green(), 120);

    QPalette dark = picker.palette();
    dark.setColor(QPalette::Window, QColor(0x32, 0x32, 0x32));
    picker.setPalette(dark);
    const QColor darkLeft = sample(picker, 12), darkRight = sample(picker, -12);
    EXPECT_GT(darkLeft.blue(), darkLeft.green() + 60) << "indigo";
    EXPECT_LT(darkRight.lightness(), darkLeft.lightness()) << "to black";
}

TEST(DesktopPictureTest, TheFirstPictureThatLoadsIsTakenAndAMissIsRemembered) {
    QTemporaryDir folder;
    const QString broken = folder.filePath(u"broken.png"_s), red = folder.filePath(u"red.png"_s);
    writeTestFile(broken, "not a picture");
    QImage solid(1200, 800, QImage::Format_RGB32);
    solid.fill(Qt::red);
    ASSERT_TRUE(solid.save(red));

    DesktopPicture picture({folder.filePath(u"missing.jpg"_s), broken, red});
    ASSERT_FALSE(picture.image().isNull());
    EXPECT_EQ(picture.image().pixelColor(10, 10), QColor(Qt::red));
    EXPECT_LE(picture.image().width(), 640) << "scaled down once";

    DesktopPicture missing({folder.filePath(u"later.png"_s)});
    EXPECT_TRUE(missing.image().isNull());
    ASSERT_TRUE(solid.save(folder.filePath(u"later.png"_s)));
    EXPECT_TRUE(missing.image().isNull()) << "not tried again";

    FakeSegmentRenderer renderer;
    MenuBarColorStylePicker picker(renderer.renderer(), picture);
    picker.resize(420, picker.sizeHint().height());
    const QImage tile = picker.vividTile().grab().toImage();
    EXPECT_EQ(tile.pixelColor(12, 60), QColor(Qt::red)) << "the picture fills the preview";
}
