// The tray item: which counts it shows and how it words them, the picture
// it hands the settings, and how it follows the store, the settings and the
// palette.

#include "app/StatusItemController.h"

#include "preferences/CountSegment.h"
#include "store/ContinuousObservation.h"
#include "store/ReminderStoreFixture.h"
#include "support/CountPictures.h"

#include <gtest/gtest.h>
#include <QPointer>
#include <QSystemTrayIcon>

#include <map>
#include <type_traits>

using namespace Qt::StringLiterals;
using tavlin::app::StatusItemController;
using tavlin::platform::AuthorizationStatus;
using tavlin::platform::detach;
using tavlin::store::CountScope;
using tavlin::testing::alarm;
using tavlin::testing::neutral;
using tavlin::testing::ScopedPalette;
using tavlin::testing::win;
// (Not "Display": X11's headers, through Qt's, take that name.)
using Shown = StatusItemController::Display;
using Picture = Shown::Picture;
using Segment = StatusItemController::Segment;

// The preferences' colour-style sample takes the renderer as it is.
static_assert(
    std::is_convertible_v<decltype(&StatusItemController::renderSegments), tavlin::preferences::SegmentRenderer>);

namespace {

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

// ---------------------------------------------------------------- the picture

TEST(StatusItemPicture, TheSettingsSampleIsThePillAtTwiceThePixels) {
    EXPECT_EQ(StatusItemController::renderSegments({alarm("5"), neutral("1000"), win("12")}, false).devicePixelRatio(),
              2);
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
    using tavlin::testing::kDarkText, tavlin::testing::kLightText, tavlin::testing::near, tavlin::testing::withAlpha;
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
