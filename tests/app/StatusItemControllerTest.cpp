// The tray item: which counts it shows and how it words them, the pictures
// it draws of them, and how it follows the store, the settings and the
// palette.

#include "app/StatusItemController.h"

#include "preferences/CountSegment.h"
#include "rows/CountSegmentPainter.h"
#include "store/ContinuousObservation.h"
#include "store/ReminderStoreFixture.h"

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>
#include <QSystemTrayIcon>

#include <cmath>
#include <map>
#include <numeric>
#include <type_traits>

using namespace Qt::StringLiterals;
using tavlin::app::StatusItemController;
using tavlin::platform::AuthorizationStatus;
using tavlin::platform::detach;
using tavlin::rows::CountSegmentPainter;
using tavlin::store::CountScope;
// (Not "Display": X11's headers, through Qt's, take that name.)
using Shown = StatusItemController::Display;
using Picture = Shown::Picture;
using Segment = StatusItemController::Segment;
using Style = StatusItemController::SegmentStyle;

// The preferences' colour-style sample takes the renderer as it is.
static_assert(
    std::is_convertible_v<decltype(&StatusItemController::renderSegments), tavlin::preferences::SegmentRenderer>);

namespace tavlin::rows {

inline void PrintTo(const CountSegment& segment, std::ostream* out) {
    static const char* const names[]{"alarm", "neutral", "win"};
    *out << segment.text.toStdString() << '/' << names[int(segment.style)];
}

}  // namespace tavlin::rows

namespace {

Segment alarm(const char* text) { return {QString::fromLatin1(text), Style::alarm}; }
Segment neutral(const char* text) { return {QString::fromLatin1(text), Style::neutral}; }
Segment win(const char* text) { return {QString::fromLatin1(text), Style::win}; }

const QColor kLightText(Qt::black);
const QColor kDarkText(240, 240, 240);

// A desktop palette: only the window and its text matter to the pictures.
QPalette palette(bool dark) {
    QPalette palette;
    palette.setColor(QPalette::Window, dark ? QColor(40, 40, 40) : QColor(239, 239, 239));
    palette.setColor(QPalette::WindowText, dark ? kDarkText : kLightText);
    return palette;
}

// The application palette for the life of the object.
class ScopedPalette {
public:
    explicit ScopedPalette(bool dark) : saved_(QGuiApplication::palette()) {
        QGuiApplication::setPalette(palette(dark));
    }
    ~ScopedPalette() { QGuiApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

// Equal but for rounding in blending and premultiplying.
::testing::AssertionResult near(const QColor& actual, const QColor& expected) {
    const int off = std::max({std::abs(actual.red() - expected.red()), std::abs(actual.green() - expected.green()),
                              std::abs(actual.blue() - expected.blue()), std::abs(actual.alpha() - expected.alpha())});
    if (off <= 3) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name(QColor::HexArgb).toStdString() << ", expected "
                                         << expected.name(QColor::HexArgb).toStdString();
}

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

// ---------------------------------------------------------------- counts

struct CountsCase {
    const char* name;
    CountScope primary;
    CountScope secondary;
    bool showCompleted;
    std::map<CountScope, int> counts;  // a scope not given counts 0
    std::vector<Segment> segments;     // none: the connect icon
    const char* toolTip;
};

TEST(StatusItemCounts, SegmentsAndTooltipFollowTheScopesCountsAndSwitch) {
    using enum CountScope;
    const CountsCase cases[]{
        {"nothing chosen", none, none, false, {{completedToday, 3}}, {}, "Nothing due"},
        {"nothing chosen, done shown", none, none, true, {{completedToday, 3}}, {win("3")}, "3 done today"},
        {"nothing chosen, nothing done", none, none, true, {}, {}, "Nothing due"},
        {"overdue is an alarm",
         overdue,
         today,
         true,
         {{overdue, 5}},
         {alarm("5"), neutral("0")},
         "5 overdue, 0 due today"},
        {"no overdue is no alarm",
         overdue,
         today,
         true,
         {{today, 2}},
         {neutral("0"), neutral("2")},
         "0 overdue, 2 due today"},
        {"only done is left of zeros", overdue, today, true, {{completedToday, 2}}, {win("2")}, "2 done today"},
        {"all zero", overdue, today, true, {}, {neutral("0"), neutral("0")}, "0 overdue, 0 due today"},
        {"done appended",
         overdue,
         today,
         true,
         {{overdue, 5}, {today, 1}, {completedToday, 2}},
         {alarm("5"), neutral("1"), win("2")},
         "5 overdue, 1 due today, 2 done today"},
        {"done not shown",
         overdue,
         today,
         false,
         {{overdue, 1}, {completedToday, 2}},
         {alarm("1"), neutral("0")},
         "1 overdue, 0 due today"},
        {"done chosen first", completedToday, today, true, {{completedToday, 4}}, {win("4")}, "4 done today"},
        {"done chosen at zero",
         completedToday,
         today,
         true,
         {{today, 3}},
         {win("0"), neutral("3")},
         "0 done today, 3 due today"},
        {"done chosen alone at zero", completedToday, none, true, {}, {neutral("0")}, "0 done today"},
        {"one scope", none, allIncomplete, true, {{allIncomplete, 1000}}, {neutral("1000")}, "1000 open"},
        {"a scope twice", overdue, overdue, true, {{overdue, 2}}, {alarm("2"), alarm("2")}, "2 overdue, 2 overdue"},
        {"a scope twice at zero", today, today, false, {}, {neutral("0"), neutral("0")}, "0 due today, 0 due today"},
    };
    for (const CountsCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Shown display =
            StatusItemController::countsDisplay(c.primary, c.secondary, c.showCompleted, [&](CountScope scope) {
                const auto found = c.counts.find(scope);
                return found == c.counts.end() ? 0 : found->second;
            });
        EXPECT_EQ(display.picture, c.segments.empty() ? Picture::connect : Picture::segments);
        EXPECT_EQ(display.segments, c.segments);
        EXPECT_EQ(display.toolTip, QString::fromUtf8(c.toolTip));
    }
}

// ---------------------------------------------------------------- pictures

TEST(StatusItemPictures, SegmentsAreTheirTextAndThirteenWideButNeverNarrowerThanTwenty) {
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
    EXPECT_EQ(StatusItemController::renderSegments(segments, false).devicePixelRatio(), 2);
}

struct ColourCase {
    Style style;
    bool quiet;
    bool dark;
    QColor fill;
    QColor text;
};

TEST(StatusItemPictures, EachStyleHasItsFillAndTextColours) {
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

TEST(StatusItemPictures, ADividerIsBlackOnAQuietColourAndTheTextColourElsewhere) {
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
        const QImage pill = StatusItemController::renderSegments(c.segments, c.quiet);
        const int edge = int(2 * CountSegmentPainter::segmentWidths(c.segments).front());
        EXPECT_TRUE(near(pill.pixelColor(edge + 1, 16), c.divider));
        EXPECT_FALSE(near(pill.pixelColor(edge + 3, 16), c.divider)) << "one logical pixel wide";

        // The tray stacks them: the divider is the second row's top line.
        const QImage tray = CountSegmentPainter::trayImage(c.segments, c.quiet, 22);
        EXPECT_TRUE(near(tray.pixelColor(3, 11), c.divider));
        EXPECT_FALSE(near(tray.pixelColor(3, 12), c.divider));
    }
}

TEST(StatusItemPictures, OutsideThePillsRoundEndsAndTheTraySquaresCornersIsTransparent) {
    const QImage pill = StatusItemController::renderSegments({alarm("12"), win("3")}, false);
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

TEST(StatusItemPictures, TheTrayPictureStacksTheSegmentsAsRowsWithTheirDigitsInside) {
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

// ---------------------------------------------------------------- the item

class StatusItemControllerTest : public ReminderStoreFixture {
protected:
    // The controller over the store, its refresh armed as at launch.
    StatusItemController& controllerOver(tavlin::store::ReminderStore& reminders) {
        controller = std::make_unique<StatusItemController>(
            reminders, settings, [] {}, [] {}, StatusItemController::Action(), [] { return std::optional<QString>(); });
        tavlin::store::ContinuousObservation::observe([item = QPointer(controller.get())] {
            if (item) item->refresh();
        });
        return *controller;
    }
    QString toolTip() const { return controller->statusItem().toolTip(); }
    void settle() { clock.runDueActions(); }

    std::unique_ptr<StatusItemController> controller;
};

TEST_F(StatusItemControllerTest, ShowsTheFirstStateBeforeTheStoreStartsAndThenFollowsItAndTheSettings) {
    seed({.lists = defaultLists,
          .reminders = {reminder("a", "L1", day(2026, 3, 2)), reminder("b", "L1", day(2026, 3, 3)),
                        reminder("c", "L1", day(2026, 3, 4))}});
    controllerOver(makeStore());
    EXPECT_EQ(toolTip(), u"0 overdue, 0 due today"_s) << "drawn before the store has read anything";

    store->start();
    settle();
    EXPECT_EQ(toolTip(), u"2 overdue, 1 due today"_s);
    EXPECT_EQ(controller->display().segments, (std::vector<Segment>{alarm("2"), neutral("1")}));

    store->setCompleted(reminder("a", "L1", day(2026, 3, 2)), true);
    settle();
    EXPECT_EQ(toolTip(), u"1 overdue, 1 due today, 1 done today"_s);

    settings.setMenuBarQuietColors(true);
    settle();
    EXPECT_TRUE(controller->display().quiet);

    settings.setShowCompletedInMenuBar(false);
    settle();
    EXPECT_EQ(toolTip(), u"1 overdue, 1 due today"_s);

    settings.setPrimaryScope(CountScope::allIncomplete);
    settle();
    EXPECT_EQ(toolTip(), u"2 open, 1 due today"_s);

    // The next morning the one due yesterday is overdue too.
    advance(std::chrono::hours(24));
    settle();
    settings.setPrimaryScope(CountScope::overdue);
    settle();
    EXPECT_EQ(toolTip(), u"2 overdue, 0 due today"_s);
}

TEST_F(StatusItemControllerTest, WithoutAccessItShowsTheConnectOrTheWarningIcon) {
    struct Case {
        AuthorizationStatus status;
        Picture picture;
        QString toolTip;
    };
    const Case cases[]{
        {AuthorizationStatus::notDetermined, Picture::connect, u"Tavlin: click to connect to your reminders"_s},
        {AuthorizationStatus::denied, Picture::warning, u"Tavlin can’t read your reminders"_s},
        {AuthorizationStatus::restricted, Picture::warning, u"Tavlin can’t read your reminders"_s},
        {AuthorizationStatus::writeOnly, Picture::warning, u"Tavlin can’t read your reminders"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.status));
        controller.reset();
        backend.setAuthorizationStatus(c.status);
        controllerOver(startedStore());
        EXPECT_EQ(controller->display().picture, c.picture);
        EXPECT_TRUE(controller->display().segments.empty());
        EXPECT_EQ(toolTip(), c.toolTip);
        EXPECT_FALSE(controller->statusItem().icon().isNull());
    }

    // Access given: the counts replace the icon.
    controller.reset();
    backend.setAuthorizationStatus(AuthorizationStatus::notDetermined);
    controllerOver(storeWith({reminder("a", "L1", day(2026, 3, 2))}));
    ASSERT_EQ(controller->display().picture, Picture::connect);
    detach(store->requestAccess());
    settle();
    EXPECT_EQ(controller->display().picture, Picture::segments);
    EXPECT_EQ(toolTip(), u"1 overdue, 0 due today"_s);
}

TEST_F(StatusItemControllerTest, APaletteChangeRedrawsThePicture) {
    // Two grey rows, "0" overdue above "1" due today.
    controllerOver(storeWith({reminder("a", "L1", day(2026, 3, 4))}));
    const ScopedPalette light(false);
    const QImage before = controller->statusItem().icon().pixmap(QSize(22, 22)).toImage();
    ASSERT_EQ(before.size(), QSize(22, 22));
    EXPECT_TRUE(near(before.pixelColor(3, 5), withAlpha(kLightText, 36)));
    {
        const ScopedPalette dark(true);
        const QImage after = controller->statusItem().icon().pixmap(QSize(22, 22)).toImage();
        EXPECT_TRUE(near(after.pixelColor(3, 5), withAlpha(kDarkText, 36)));
    }
    EXPECT_TRUE(near(controller->statusItem().icon().pixmap(QSize(22, 22)).toImage().pixelColor(3, 5),
                     withAlpha(kLightText, 36)));
}

}  // namespace
