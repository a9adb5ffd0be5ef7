#include "PanelControllerFixture.h"

#include "panel/PanelNotifications.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QPointer>

#include <chrono>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using tavlin::panel::ListMetrics;
using tavlin::panel::PanelNotifications;
using tavlin::panel::PanelResizeEdge;
using tavlin::panel::PanelResizeEdges;
using tavlin::platform::LocationAuthorization;

namespace {

class PanelControllerTest : public PanelControllerFixture {};

// The state of the panel before a toggle.
enum class Before { closed, key, restingPinned, restingUnpinned, hidden };

}  // namespace

TEST_F(PanelControllerTest, TheToggleTable) {
    struct Case {
        const char* name;
        Before before;
        bool fromHotKey;
        QString logged;
        enum { opens, closes, focusesTheSame, rebuilds } action;
        Anchor anchor;  // of the panel open afterwards
    };
    const Case cases[] = {
        {"hot key, closed", Before::closed, true, u"info: toggle: opening"_s, Case::opens, Anchor::screenCenter},
        {"tray, closed", Before::closed, false, u"info: toggle: opening"_s, Case::opens, Anchor::statusItem},
        {"hot key, key", Before::key, true, u"info: toggle: closing key panel"_s, Case::closes, {}},
        {"tray, key", Before::key, false, u"info: toggle: closing key panel"_s, Case::closes, {}},
        {"tray, resting pinned",
         Before::restingPinned,
         false,
         u"info: toggle: closing pinned panel via status item"_s,
         Case::closes,
         {}},
        {"hot key, resting pinned", Before::restingPinned, true, u"info: toggle: focusing resting pinned panel"_s,
         Case::focusesTheSame, Anchor::statusItem},
        {"hot key, resting unpinned", Before::restingUnpinned, true,
         u"error: toggle: panel in bug state (visible=true key=false) — recovering"_s, Case::rebuilds,
         Anchor::screenCenter},
        {"tray, hidden", Before::hidden, false,
         u"error: toggle: panel in bug state (visible=false key=false) — recovering"_s, Case::rebuilds,
         Anchor::statusItem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelController& controller = makeController();
        settings.setPinnedPanelTopLeft(std::nullopt);
        if (c.before != Before::closed) {
            controller.open(std::nullopt, Anchor::statusItem);
            if (c.before == Before::restingPinned) settings.setPinnedPanelTopLeft(tavlin::store::ScreenPoint{100, 100});
            if (c.before != Before::key) window().key = false;
            if (c.before == Before::hidden) window().visible = false;
        }
        const std::size_t made = windows.made.size();
        if (made > 0) window().calls.clear();
        PanelLog log;
        controller.toggle(c.fromHotKey);
        EXPECT_EQ(log.lines.value(0), c.logged);
        if (c.action == Case::closes || c.action == Case::rebuilds) {
            EXPECT_EQ(log.lines.value(1), u"info: close: tearing down panel"_s);
        }
        switch (c.action) {
        case Case::opens:
            EXPECT_EQ(windows.made.size(), made + 1);
            EXPECT_TRUE(window().visible && window().key);
            break;
        case Case::closes:
            EXPECT_FALSE(panelOpen());
            EXPECT_TRUE(window().discarded);
            break;
        case Case::focusesTheSame:
            EXPECT_EQ(windows.made.size(), made);
            EXPECT_EQ(window().calls, QStringList{u"makeKeyAndOrderFront"_s});
            break;
        case Case::rebuilds:
            EXPECT_EQ(windows.made.size(), made + 1);
            EXPECT_TRUE(windows.made[made - 1]->discarded);
            EXPECT_TRUE(window().visible && window().key);
            break;
        }
        if (panelOpen()) {
            EXPECT_EQ(controller.anchor(), c.anchor);
        }
        controller.close();
    }
}

TEST_F(PanelControllerTest, ATrayClickThatTookTheKeyboardDoesNotReopenThePanel) {
    PanelController& controller = makeController();
    controller.toggle(false);
    // The click lands on the tray item: the panel loses the keyboard first.
    desktop->pointer = QPointF(712, 12);
    window().callbacks.didResignKey();
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(controller.resignKeyCount(), 1);
    {
        PanelLog log;
        controller.toggle(false);
        EXPECT_EQ(log.lines,
                  QStringList{u"info: toggle: open suppressed (status-item click closed the panel just now)"_s});
        EXPECT_FALSE(panelOpen());
    }
    clock.advance(299ms);
    controller.toggle(false);
    EXPECT_FALSE(panelOpen());
    clock.advance(1ms);
    controller.toggle(false);
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(controller.anchor(), Anchor::statusItem);
}

TEST_F(PanelControllerTest, TheHotKeyIgnoresTheSuppression) {
    PanelController& controller = makeController();
    controller.toggle(false);
    desktop->pointer = QPointF(712, 12);
    window().callbacks.didResignKey();
    controller.toggle(true);
    ASSERT_TRUE(panelOpen());
    EXPECT_EQ(controller.anchor(), Anchor::screenCenter);
    EXPECT_TRUE(window().inputs.followsStoredWidth);
    EXPECT_EQ(window().inputs.cornerRadius, 20);
    EXPECT_EQ(window().inputs.searchFieldPadding, 16);
}

TEST_F(PanelControllerTest, TheSuppressionNeedsThePointerOnTheTrayItem) {
    struct Case {
        QRectF item;
        QPointF pointer;
        bool suppressed;
    };
    const Case cases[] = {
        {{700, 1, 24, 22}, {712, 12}, true},
        {{700, 1, 24, 22}, {690, 12}, false},
        {{712, 12, 1, 1}, {700.5, 1}, true},  // a click point counts as 24 × 24
        {{712, 12, 1, 1}, {699, 12}, false},
    };
    for (const Case& c : cases) {
        trayItem = c.item;
        PanelController& controller = makeController();
        controller.toggle(false);
        desktop->pointer = c.pointer;
        window().callbacks.didResignKey();
        EXPECT_EQ(controller.isSuppressingOpen(), c.suppressed) << c.pointer.x() << ", " << c.pointer.y();
    }
}

TEST_F(PanelControllerTest, APinnedPanelRestsWhenItLosesTheKeyboard) {
    PanelController& controller = makeController();
    settings.setPinnedPanelTopLeft(tavlin::store::ScreenPoint{100, 100});
    controller.toggle(true);
    window().key = false;
    window().callbacks.didResignKey();
    EXPECT_TRUE(panelOpen());
    EXPECT_FALSE(window().discarded);
    EXPECT_EQ(controller.resignKeyCount(), 1);
}

TEST_F(PanelControllerTest, OpenRunsItsPhasesInOrderAndTimesThem) {
    PanelController& controller = makeController();
    controller.open(std::nullopt, Anchor::statusItem);
    EXPECT_EQ(window().calls, (QStringList{u"setRootView"_s, u"installContent"_s, u"layoutContent"_s,
                                           u"makeKeyAndOrderFront"_s, u"invalidateShadow"_s}));
    const auto& timings = controller.lastOpenTimings();
    QStringList names;
    for (const auto& [name, milliseconds] : timings) names << name;
    EXPECT_EQ(names,
              (QStringList{u"overflowNotice"_s, u"scheduleRefresh"_s, u"locationRefresh"_s, u"makePanel"_s,
                           u"rootView"_s, u"hostingView"_s, u"contentView"_s, u"layoutSubtree"_s, u"setContentSize"_s,
                           u"position"_s, u"makeKeyAndOrderFront"_s, u"invalidateShadow"_s}));
    for (std::size_t i = 1; i < timings.size(); ++i) EXPECT_GE(timings[i].second, timings[i - 1].second) << i;
    EXPECT_GE(timings.front().second, 0);

    // A second open changes nothing.
    const auto before = timings;
    controller.open(std::nullopt, Anchor::screenCenter);
    EXPECT_EQ(windows.made.size(), 1u);
    EXPECT_EQ(controller.anchor(), Anchor::statusItem);
    EXPECT_EQ(controller.lastOpenTimings(), before);
}

TEST_F(PanelControllerTest, TheOverflowNoticeComesFirst) {
    PanelController& controller = makeController();
    QStringList order;
    controller.shellHooks().showOverflowAlert = [&] { order << u"notice"_s << QString::number(windows.made.size()); };
    controller.open();
    EXPECT_EQ(order, (QStringList{u"notice"_s, u"0"_s}));
}

TEST_F(PanelControllerTest, WhatTheRootViewIsGiven) {
    PanelController& controller = makeController();
    settings.setPinnedPanelWidth(300);
    controller.open(u"buy milk\ncall Ann"_s, Anchor::screenCenter);
    EXPECT_EQ(window().inputs.captureText, u"buy milk\ncall Ann"_s);
    EXPECT_TRUE(window().inputs.followsStoredWidth);
    EXPECT_EQ(window().inputs.panelWidth, 360);
    EXPECT_EQ(window().inputs.store, store.get());
    EXPECT_EQ(window().inputs.settings, &settings);
    EXPECT_EQ(window().inputs.locationProvider, location.get());
    EXPECT_EQ(window().cornerRadius, 20);
    controller.close();

    // No anchor keeps the screen centre, but only the argument makes the
    // width follow the stored one.
    controller.open();
    EXPECT_EQ(controller.anchor(), Anchor::screenCenter);
    EXPECT_FALSE(window().inputs.followsStoredWidth);
    EXPECT_EQ(window().inputs.cornerRadius, 20);
    EXPECT_EQ(window().inputs.captureText, std::nullopt);
    controller.close();

    controller.open(std::nullopt, Anchor::statusItem);
    EXPECT_FALSE(window().inputs.followsStoredWidth);
    EXPECT_EQ(window().inputs.panelWidth, 440);
    EXPECT_EQ(window().inputs.cornerRadius, 16);
    EXPECT_EQ(window().inputs.searchFieldPadding, 10);
    EXPECT_EQ(window().cornerRadius, 16);
}

TEST_F(PanelControllerTest, TheViewsClosuresCloseFirstAndDoNothingOnceTheControllerIsGone) {
    PanelController& controller = makeController();
    QStringList calls;
    controller.shellHooks().openPreferences = [&] { calls << (panelOpen() ? u"open"_s : u"closed"_s); };
    controller.open();
    EXPECT_FALSE(window().inputs.onCheckForUpdates);
    window().inputs.onOpenPreferences();
    EXPECT_EQ(calls, QStringList{u"closed"_s});

    controller.shellHooks().checkForUpdates = [&] { calls << (panelOpen() ? u"open"_s : u"closed"_s); };
    controller.shellHooks().pendingUpdateVersion = [] { return std::optional(u"2.4"_s); };
    controller.open();
    EXPECT_EQ(window().inputs.pendingUpdateVersion(), u"2.4"_s);
    window().inputs.onCheckForUpdates();
    EXPECT_EQ(calls, (QStringList{u"closed"_s, u"closed"_s}));

    controller.open();
    FakeWindowState& last = window();
    controller.close();
    controller.open();
    const auto inputs = window().inputs;
    const auto callbacks = window().callbacks;
    this->controller.reset();
    inputs.onClose();
    inputs.onHeightChange(300);
    inputs.onListMetricsChange({100, 80});
    inputs.onOpenPreferences();
    EXPECT_FALSE(callbacks.wantsListKeys());
    EXPECT_EQ(callbacks.activeResizeEdges(), PanelResizeEdges());
    callbacks.onBackgroundLongPress();
    callbacks.onCancel();
    EXPECT_TRUE(last.discarded);
}

TEST_F(PanelControllerTest, ListKeysAreWantedWithFullAccessOnly) {
    PanelController& controller = makeController();
    controller.open();
    EXPECT_TRUE(window().callbacks.wantsListKeys());
    controller.close();
    backend.setAuthorizationStatus(tavlin::platform::AuthorizationStatus::writeOnly);
    this->controller.reset();
    store.reset();
    PanelController& other = makeController();
    other.open();
    EXPECT_FALSE(window().callbacks.wantsListKeys());
}

TEST_F(PanelControllerTest, CloseCarriesOutPendingDeletionsEvenWithoutAPanel) {
    storeWith({reminder("a"), reminder("b")});
    PanelController& controller = makeController();
    store->queueDeletion(store->reminders().front());
    ASSERT_EQ(backend.contents().reminders.size(), 2u);
    PanelLog log;
    controller.close();
    EXPECT_EQ(backend.contents().reminders.size(), 1u);
    EXPECT_TRUE(log.lines.isEmpty());

    controller.open();
    store->queueDeletion(store->reminders().front());
    controller.close();
    EXPECT_TRUE(backend.contents().reminders.empty());
    EXPECT_EQ(log.lines, (QStringList{u"info: close: tearing down panel"_s,
                                      u"info: panel content leaving, pending edit: false"_s}));
}

TEST_F(PanelControllerTest, OpeningAsksForALocationOnlyWhenNearbyRemindersAreGrouped) {
    struct Case {
        bool grouping;
        LocationAuthorization status;
        int authorizationRequests, locationRequests;
        bool wantsFix;
    };
    const Case cases[] = {
        {false, LocationAuthorization::authorizedAlways, 0, 0, false},
        {true, LocationAuthorization::authorizedAlways, 0, 1, false},
        {true, LocationAuthorization::notDetermined, 1, 1, true},
        {true, LocationAuthorization::denied, 0, 0, false},
        {true, LocationAuthorization::restricted, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.status));
        settings.setGroupNearbyEnabled(c.grouping);
        locationStatus = c.status;
        PanelController& controller = makeController();
        controller.open();
        EXPECT_EQ(locationManager->authorizationRequests(), c.authorizationRequests);
        EXPECT_EQ(locationManager->locationRequests(), c.locationRequests);
        EXPECT_EQ(location->wantsFixOnAuthorization(), c.wantsFix);
    }
}

TEST_F(PanelControllerTest, Placement) {
    struct Case {
        const char* name;
        bool fromHotKey;
        std::optional<QRectF> trayItem;
        std::vector<FakeDesktop::Screen> screens;
        QRectF frame;
    };
    const std::vector<FakeDesktop::Screen> topBar{{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)}};
    const std::vector<FakeDesktop::Screen> bottomBar{{QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 860)}};
    const Case cases[] = {
        {"under the tray item", false, QRectF(700, 1, 24, 22), topBar, {492, 28, 440, 150}},
        {"no tray item: the top-right corner", false, std::nullopt, topBar, {992, 25, 440, 150}},
        {"screen-centred", true, QRectF(700, 1, 24, 22), topBar, {460, 182.5, 520, 150}},
        {"above a tray item at the bottom", false, QRectF(700, 870, 24, 24), bottomBar, {492, 710, 440, 150}},
        {"above a click point at the bottom", false, QRectF(1439, 899, 1, 1), bottomBar, {992, 710, 440, 150}},
    };
    for (const Case& c : cases) {
        trayItem = c.trayItem;
        desktop->screens = c.screens;
        PanelController& controller = makeController();
        controller.toggle(c.fromHotKey);
        EXPECT_EQ(window().frame, c.frame) << c.name;
    }
}

TEST_F(PanelControllerTest, TheContentsHeightReframesThePanel) {
    PanelController& controller = makeController();
    controller.toggle(false);
    ASSERT_EQ(window().frame, QRectF(492, 28, 440, 150));
    window().inputs.onHeightChange(300);
    EXPECT_EQ(window().frame, QRectF(492, 28, 440, 300));
    EXPECT_EQ(controller.lastContentHeight(), 300);
    const std::size_t frames = window().frames.size();
    window().inputs.onHeightChange(300.4);
    window().inputs.onHeightChange(0);
    window().inputs.onHeightChange(-5);
    EXPECT_EQ(window().frames.size(), frames);
    EXPECT_EQ(controller.lastContentHeight(), 300.4);
}

TEST_F(PanelControllerTest, AboveATrayAtTheBottomTheBottomEdgeStays) {
    trayItem = QRectF(700, 870, 24, 24);
    desktop->screens = {{QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 860)}};
    PanelController& controller = makeController();
    controller.toggle(false);
    ASSERT_EQ(window().frame, QRectF(492, 710, 440, 150));
    window().inputs.onHeightChange(400);
    EXPECT_EQ(window().frame, QRectF(492, 460, 440, 400));
    window().inputs.onHeightChange(1000);  // the top stays on the screen
    EXPECT_EQ(window().frame, QRectF(492, 0, 440, 1000));
    window().inputs.onHeightChange(100);
    EXPECT_EQ(window().frame, QRectF(492, 760, 440, 100));
}

TEST_F(PanelControllerTest, OnlyTheUsersBackgroundDragPinsThePanel) {
    PanelController& controller = makeController();
    controller.toggle(true);
    window().inputs.onHeightChange(320);
    window().callbacks.activeResizeEdges();
    controller.setListMetrics({600, 200});
    window().callbacks.beginUserResize(PanelResizeEdge::bottom | PanelResizeEdge::right);
    window().callbacks.userResize(PanelResizeEdge::bottom | PanelResizeEdge::right, QPointF(40, 30));
    window().callbacks.endUserResize();
    clock.runDueActions();
    window().callbacks.didResize();
    EXPECT_FALSE(settings.pinnedPanelTopLeft());
    EXPECT_FALSE(controller.isProgrammaticMove());

    window().callbacks.backgroundDragMoved(QPointF(300, 240));
    EXPECT_EQ(window().frame.topLeft(), QPointF(300, 240));
    EXPECT_FALSE(settings.pinnedPanelTopLeft());
    window().callbacks.backgroundDragEnded(QPointF(310, 250));
    EXPECT_EQ(pinned(), QPointF(310, 250));
    EXPECT_EQ(window().frame.topLeft(), QPointF(310, 250));
    EXPECT_FALSE(controller.isProgrammaticMove());

    // It opens there again, and its height grows downward from there.
    controller.close();
    controller.toggle(false);
    EXPECT_EQ(window().frame, QRectF(310, 250, 440, 150));
}

TEST_F(PanelControllerTest, APinnedPointOffTheScreensOpensThePanelAtHome) {
    PanelController& controller = makeController();
    settings.setPinnedPanelTopLeft(tavlin::store::ScreenPoint{3000, 200});
    controller.toggle(true);
    EXPECT_EQ(window().frame, QRectF(460, 182.5, 520, 150));
    controller.close();
    settings.setPinnedPanelTopLeft(tavlin::store::ScreenPoint{1200, 200});
    controller.toggle(true);
    EXPECT_EQ(window().frame, QRectF(912, 200, 520, 150));
}

TEST_F(PanelControllerTest, ALongPressSendsAPinnedPanelHome) {
    PanelController& controller = makeController();
    controller.toggle(true);
    window().callbacks.onBackgroundLongPress();  // unpinned: nothing
    EXPECT_EQ(window().animationDuration, -1ms);

    settings.setPinnedPanelTopLeft(tavlin::store::ScreenPoint{100, 300});
    controller.close();
    controller.toggle(true);
    window().inputs.onHeightChange(240);
    ASSERT_EQ(window().frame, QRectF(100, 300, 520, 240));
    PanelLog log;
    window().callbacks.onBackgroundLongPress();
    EXPECT_EQ(log.lines, QStringList{u"info: reset: long-press sends panel home and unpins it"_s});
    EXPECT_FALSE(settings.pinnedPanelTopLeft());
    EXPECT_EQ(window().animationDuration, 250ms);
    EXPECT_TRUE(controller.isProgrammaticMove());
    window().calls.clear();
    window().finishAnimation();
    EXPECT_EQ(window().frame, QRectF(460, 182.5, 520, 240));
    EXPECT_FALSE(controller.isProgrammaticMove());
    EXPECT_EQ(window().calls, QStringList{u"invalidateShadow"_s});
    EXPECT_FALSE(settings.pinnedPanelTopLeft());

    reduceMotion = true;
    settings.setPinnedPanelTopLeft(tavlin::store::ScreenPoint{100, 300});
    window().callbacks.onBackgroundLongPress();
    EXPECT_EQ(window().animationDuration, 0ms);
}

TEST_F(PanelControllerTest, EdgeDragsResizeTheListAndStoreTheSizes) {
    PanelController& controller = makeController();
    controller.toggle(true);
    // The content: 120 of chrome and a list showing 280 of its 600.
    window().inputs.onHeightChange(400);
    window().inputs.onListMetricsChange({600, 280});
    const QRectF start = window().frame;
    ASSERT_EQ(start, QRectF(460, 182.5, 520, 400));
    EXPECT_EQ(window().callbacks.activeResizeEdges(), PanelResizeEdges(PanelResizeEdge::top | PanelResizeEdge::bottom |
                                                                       PanelResizeEdge::left | PanelResizeEdge::right));

    window().callbacks.beginUserResize(PanelResizeEdge::bottom | PanelResizeEdge::right);
    EXPECT_TRUE(controller.isUserResizing());
    window().callbacks.userResize(PanelResizeEdge::bottom | PanelResizeEdge::right, QPointF(40, 100));
    // Wider about its centre, 100 taller downward.
    EXPECT_EQ(window().frame, QRectF(440, 182.5, 560, 500));
    EXPECT_EQ(settings.pinnedPanelWidth(), 560);
    EXPECT_EQ(settings.pinnedPanelListHeight(), std::nullopt);  // 380 is what none stands for
    // Reports of the content's height only record it meanwhile.
    window().inputs.onHeightChange(410);
    EXPECT_EQ(window().frame, QRectF(440, 182.5, 560, 500));
    window().callbacks.userResize(PanelResizeEdge::bottom | PanelResizeEdge::right, QPointF(40, 1000));
    EXPECT_EQ(window().frame, QRectF(440, 182.5, 560, 720));  // no taller than the list's content
    window().callbacks.endUserResize();
    EXPECT_FALSE(controller.isUserResizing());
    EXPECT_EQ(settings.pinnedPanelListHeight(), 600);
    EXPECT_EQ(settings.pinnedPanelWidth(), 560);
    EXPECT_FALSE(settings.pinnedPanelTopLeft());
    // After the drag, the last reported height holds again.
    clock.runDueActions();
    EXPECT_EQ(window().frame, QRectF(440, 182.5, 560, 410));
}

TEST_F(PanelControllerTest, EdgeDragsBeforeTheListWasMeasured) {
    PanelController& controller = makeController();
    controller.toggle(true);
    window().callbacks.beginUserResize(PanelResizeEdges(PanelResizeEdge::bottom) | PanelResizeEdge::left);
    window().callbacks.userResize(PanelResizeEdges(PanelResizeEdge::bottom) | PanelResizeEdge::left, QPointF(-20, 80));
    EXPECT_EQ(window().frame, QRectF(450, 182.5, 540, 150));
    window().callbacks.endUserResize();
    EXPECT_EQ(settings.pinnedPanelListHeight(), std::nullopt);
    controller.close();

    controller.toggle(false);
    const QRectF start = window().frame;
    window().callbacks.beginUserResize(PanelResizeEdge::bottom);
    window().callbacks.userResize(PanelResizeEdge::bottom, QPointF(0, 80));
    EXPECT_EQ(window().frame, start);
}

TEST_F(PanelControllerTest, EndingADragStoresAtLeastTheSmallestListHeight) {
    PanelController& controller = makeController();
    controller.toggle(true);
    window().inputs.onHeightChange(200);
    window().inputs.onListMetricsChange({80, 80});
    window().callbacks.beginUserResize(PanelResizeEdge::bottom);
    window().callbacks.endUserResize();
    EXPECT_EQ(settings.pinnedPanelListHeight(), 100);
    EXPECT_EQ(settings.pinnedPanelWidth(), std::nullopt);
    controller.close();

    // A pinned panel re-stores its point at the end of a resize.
    settings.setPinnedPanelTopLeft(tavlin::store::ScreenPoint{100, 300});
    controller.toggle(true);
    window().inputs.onHeightChange(400);
    window().inputs.onListMetricsChange({600, 280});
    window().callbacks.beginUserResize(PanelResizeEdge::top);
    window().callbacks.userResize(PanelResizeEdge::top, QPointF(0, -50));
    window().callbacks.endUserResize();
    EXPECT_EQ(pinned(), QPointF(100, 250));
}

TEST_F(PanelControllerTest, BecomingKeyIsPostedUnlessAFieldHasTheFocus) {
    PanelController& controller = makeController();
    int posted = 0;
    const QMetaObject::Connection connection = QObject::connect(
        &PanelNotifications::instance(), &PanelNotifications::tavlinPanelDidBecomeKey, [&] { ++posted; });
    controller.toggle(true);
    window().callbacks.didBecomeKey();
    EXPECT_EQ(posted, 1);
    window().textHasFocus = true;
    window().callbacks.didBecomeKey();
    EXPECT_EQ(posted, 1);
    QObject::disconnect(connection);
}

TEST_F(PanelControllerTest, ASizeFromElsewhereKeepsTheTopLeftCorner) {
    PanelController& controller = makeController();
    controller.toggle(true);
    window().frame = QRectF(400, 100, 520, 300);
    window().callbacks.didResize();
    EXPECT_EQ(window().frame, QRectF(460, 182.5, 520, 300));
    EXPECT_FALSE(settings.pinnedPanelTopLeft());
}

TEST_F(PanelControllerTest, APanelClosedDuringAnEdgeDragLeavesNoDragBehind) {
    PanelController& controller = makeController();
    controller.toggle(true);
    window().callbacks.beginUserResize(PanelResizeEdge::bottom);
    controller.close();
    EXPECT_FALSE(controller.isUserResizing());
    controller.toggle(true);
    window().inputs.onHeightChange(260);
    EXPECT_EQ(window().frame.height(), 260);
}

// An opening while the modal notice is up brings the notice to the front
// and opens no panel behind it; the opening that showed the notice opens
// the one panel once it is answered.
TEST_F(PanelControllerTest, AnOpeningWhileTheOverflowNoticeIsUpOpensNoPanelBehindIt) {
    PanelController& controller = makeController();
    int notices = 0;
    std::size_t madeMeanwhile = 0;
    controller.shellHooks().showOverflowAlert = [&] {
        if (++notices > 1) return;
        // The notice's own loop runs the hot key and a capture meanwhile.
        controller.toggle(true);
        controller.open(u"milk"_s, Anchor::screenCenter);
        madeMeanwhile = windows.made.size();
    };
    PanelLog log;
    controller.toggle(false);
    EXPECT_EQ(madeMeanwhile, 0u);
    EXPECT_EQ(notices, 3) << "brought to the front at each opening";
    ASSERT_EQ(windows.made.size(), 1u);
    EXPECT_EQ(controller.anchor(), Anchor::statusItem);
    EXPECT_TRUE(window().visible && window().key);
    controller.toggle(true);
    EXPECT_FALSE(panelOpen()) << "the panel is key: the hot key closes it";
    EXPECT_FALSE(log.lines.join(u'|').contains(u"bug state"_s)) << log.lines.join(u'|').toStdString();
}

TEST_F(PanelControllerTest, EachOpeningHasAModelOfItsOwnThatTheCloseEnds) {
    PanelController& controller = makeController();
    controller.open();
    QPointer<tavlin::panel::PanelModel> first = controller.model();
    ASSERT_TRUE(first);
    EXPECT_EQ(window().model, first.data());
    first->typedLine().setQuery(u"milk"_s);

    // Escape empties the field, and a second one closes the panel from
    // inside the model.
    PanelLog log;
    first->handleExitCommand();
    EXPECT_TRUE(panelOpen());
    first->handleExitCommand();
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(controller.model(), nullptr);
    EXPECT_TRUE(log.lines.contains(u"info: panel content leaving, pending edit: false"_s))
        << log.lines.join(u'|').toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);

    controller.open();
    ASSERT_TRUE(controller.model());
    EXPECT_EQ(controller.model()->typedLine().query(), u""_s);
}
