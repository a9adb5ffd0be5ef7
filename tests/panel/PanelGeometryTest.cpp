#include "panel/PanelGeometry.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace tavlin::panel;
using namespace tavlin::panel::geometry;
using Edge = PanelResizeEdge;

namespace tavlin::panel::geometry {
void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}
}  // namespace tavlin::panel::geometry

namespace {

// A 1440 × 900 screen with a 25-high bar at its top, y upward.
const Screen topBarScreen{{0, 0, 1440, 900}, {0, 0, 1440, 875}};
// The same with a 40-high bar at its bottom instead.
const Screen bottomBarScreen{{0, 0, 1440, 900}, {0, 40, 1440, 860}};

Desktop desktopOf(std::vector<Screen> screens, Point pointer = {720, 450}) {
    return {std::move(screens), std::size_t(0), pointer};
}

}  // namespace

TEST(PanelGeometry, QtsCoordinatesAreReflectedInTheXAxis) {
    const QRectF qt(100, 50, 440, 200);
    EXPECT_EQ(fromQt(qt), (Rect{100, -250, 440, 200}));
    EXPECT_EQ(toQt(fromQt(qt)), qt);
    EXPECT_EQ(fromQt(QPointF(100, 50)), (Point{100, -50}));
    EXPECT_EQ(toQt(Point{100, -50}), QPointF(100, 50));
    // A top-left corner in Qt's terms is the top-left corner here.
    const Rect frame = fromQt(qt);
    EXPECT_EQ(toQt(Point{frame.minX(), frame.maxY()}), qt.topLeft());
}

TEST(PanelGeometry, Widths) {
    struct Case {
        Anchor anchor;
        std::optional<double> stored;
        double width;
    };
    const Case cases[] = {
        {Anchor::statusItem, std::nullopt, 440}, {Anchor::statusItem, 300, 440},
        {Anchor::statusItem, 900, 440},          {Anchor::screenCenter, std::nullopt, 520},
        {Anchor::screenCenter, 300, 360},        {Anchor::screenCenter, 360, 360},
        {Anchor::screenCenter, 900, 800},        {Anchor::screenCenter, 612.5, 612.5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(panelWidth(c.anchor, c.stored), c.width) << int(c.anchor) << " " << c.stored.value_or(-1);
}

TEST(PanelGeometry, ScreenCentreHomeDropsBelowTheTopOfTheScreenUnderThePointer) {
    struct Case {
        const char* name;
        Desktop desktop;
        Point home;
    };
    const Screen tall{{0, 0, 1600, 1000}, {0, 0, 1600, 1000}};
    const Screen low{{1600, 0, 1000, 560}, {1600, 0, 1000, 560}};
    const Screen tiny{{0, 0, 800, 400}, {0, 0, 800, 400}};
    const Case cases[] = {
        {"0.18 of 1000 is more than 120", desktopOf({tall}), {800 - 260, 1000 - 180}},
        {"560 - 504 is the least", desktopOf({tall, low}, {2000, 100}), {2100 - 260, 560 - 56}},
        {"no room to drop", desktopOf({tiny}), {400 - 260, 400}},
        {"the pointer on no screen: the main one", {{tall, low}, std::size_t(1), {-50, -50}}, {2100 - 260, 504}},
        {"no main screen either: the first", {{tall, low}, std::nullopt, {-50, -50}}, {540, 820}},
        {"no screen at all", {}, {-260, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(screenCenterHome(520, c.desktop), c.home) << c.name;
}

TEST(PanelGeometry, HomesUnderAndAboveTheTrayItem) {
    struct Case {
        const char* name;
        std::optional<Rect> item;
        Screen screen;
        Size panel;
        Placement home;
    };
    const Case cases[] = {
        {"under an item in a top bar", Rect{700, 877, 24, 22}, topBarScreen, {440, 200}, {{492, 872}, std::nullopt}},
        {"right edge kept 8 in", Rect{1420, 877, 20, 22}, topBarScreen, {440, 200}, {{992, 872}, std::nullopt}},
        {"left edge kept 8 in", Rect{0, 877, 20, 22}, topBarScreen, {440, 200}, {{8, 872}, std::nullopt}},
        {"top no higher than the visible area",
         Rect{700, 890, 24, 10},
         topBarScreen,
         {440, 200},
         {{492, 875}, std::nullopt}},
        {"no item: the main screen's top-right corner",
         std::nullopt,
         topBarScreen,
         {440, 200},
         {{992, 875}, std::nullopt}},
        {"above an item in a bottom bar, kept on the visible area",
         Rect{700, 8, 24, 24},
         bottomBarScreen,
         {440, 200},
         {{492, 240}, Placement::HeldBottom{40, 900}}},
        {"above an item standing free in the lower half",
         Rect{700, 50, 24, 24},
         bottomBarScreen,
         {440, 200},
         {{492, 279}, Placement::HeldBottom{79, 900}}},
        {"a click point in the lower half",
         Rect{1439, 20, 1, 1},
         bottomBarScreen,
         {440, 200},
         {{992, 240}, Placement::HeldBottom{40, 900}}},
        {"too tall: the top stays on the screen",
         Rect{700, 8, 24, 24},
         bottomBarScreen,
         {440, 1000},
         {{492, 900}, Placement::HeldBottom{40, 900}}},
    };
    for (const Case& c : cases) {
        const Placement home = statusItemHome(c.item, c.panel, desktopOf({c.screen}));
        EXPECT_EQ(home.topLeft, c.home.topLeft) << c.name;
        EXPECT_EQ(home.heldBottom, c.home.heldBottom) << c.name;
    }
    // An item on no screen: under it, unclamped.
    EXPECT_EQ(statusItemHome(Rect{-100, 2000, 20, 20}, {440, 200}, desktopOf({topBarScreen})).topLeft,
              (Point{-310, 1995}));
}

TEST(PanelGeometry, AHeldBottomKeepsTheBottomLeftCornerAsTheHeightChanges) {
    const Placement above{{492, 240}, Placement::HeldBottom{40, 900}};
    EXPECT_EQ(placedFrame(above, 440, 200), (Rect{492, 40, 440, 200}));
    EXPECT_EQ(placedFrame(above, 440, 320), (Rect{492, 40, 440, 320}));
    EXPECT_EQ(placedFrame(above, 440, 1000), (Rect{492, -100, 440, 1000}));
    const Placement under{{492, 872}, std::nullopt};
    EXPECT_EQ(placedFrame(under, 440, 320), (Rect{492, 552, 440, 320}));
}

TEST(PanelGeometry, APinnedPointIsPulledOntoItsScreen) {
    struct Case {
        const char* name;
        Point pinned;
        std::vector<Screen> screens;
        std::optional<Point> placed;
    };
    const Screen second{{1440, 0, 1280, 800}, {1440, 0, 1280, 800}};
    const Screen small{{0, 0, 400, 150}, {0, 0, 400, 150}};
    const Case cases[] = {
        {"well inside", {300, 700}, {topBarScreen}, Point{300, 700}},
        {"partly off the right edge", {1200, 700}, {topBarScreen}, Point{912, 700}},
        {"above the visible area", {300, 899}, {topBarScreen}, Point{300, 875}},
        {"too low: lower bound", {300, 100}, {topBarScreen}, Point{300, 208}},
        {"the first screen overlapped", {1400, 700}, {topBarScreen, second}, Point{912, 700}},
        {"on the second screen", {2000, 500}, {topBarScreen, second}, Point{2000, 500}},
        {"on a screen since disconnected", {3000, 500}, {topBarScreen}, std::nullopt},
        {"no screens", {300, 700}, {}, std::nullopt},
        {"a screen too small: the right and top bounds win", {100, 100}, {small}, Point{-128, 150}},
    };
    for (const Case& c : cases) EXPECT_EQ(clampedPinnedTopLeft(c.pinned, {520, 200}, c.screens), c.placed) << c.name;
}

TEST(PanelGeometry, SizesWithinHalfAPointAreUnchanged) {
    const Rect frame{0, 0, 520, 300};
    EXPECT_TRUE(hasSize(frame, 520, 300));
    EXPECT_TRUE(hasSize(frame, 520.5, 299.5));
    EXPECT_FALSE(hasSize(frame, 520, 300.6));
    EXPECT_FALSE(hasSize(frame, 519.4, 300));
}

TEST(PanelGeometry, EdgesUnderThePointer) {
    using E = PanelResizeEdges;
    const PanelResizeEdges all = activeResizeEdges(Anchor::screenCenter);
    const PanelResizeEdges topAndBottom = activeResizeEdges(Anchor::statusItem);
    EXPECT_EQ(topAndBottom, E(Edge::top | Edge::bottom));
    struct Case {
        Point point;  // y upward from the window's bottom edge
        PanelResizeEdges active;
        PanelResizeEdges edges;
    };
    const Case cases[] = {
        {{5, 12}, all, Edge::bottom | Edge::left},   // the corner reaches up the side
        {{5, 30}, all, E(Edge::left)},               // past the corner
        {{12, 12}, all, E()},                        // in neither band
        {{12, 5}, all, Edge::bottom | Edge::left},   // the corner reaches along the bottom
        {{20, 5}, all, E(Edge::bottom)},             // past it
        {{8, 150}, all, E(Edge::left)},              // the band's inner border counts
        {{8.5, 150}, all, E()},                      //
        {{516, 296}, all, Edge::top | Edge::right},  //
        {{260, 300}, all, E(Edge::top)},             //
        {{-1, 150}, all, E()},                       // outside the window
        {{5, 12}, topAndBottom, E(Edge::bottom)},    // only the active ones
        {{5, 30}, topAndBottom, E()},                // the sides pass clicks on
        {{516, 296}, topAndBottom, E(Edge::top)},    //
    };
    for (const Case& c : cases)
        EXPECT_EQ(resizeEdgesAt(c.point, {520, 300}, c.active), c.edges) << c.point.x << ", " << c.point.y;
    // In Qt's terms: 5 in from the left, 12 up from the bottom of a window at (100, 50).
    EXPECT_EQ(resizeEdgesAt(QPointF(105, 50 + 300 - 12), QRectF(100, 50, 520, 300), all), Edge::bottom | Edge::left);
    EXPECT_EQ(resizeEdgesAt(QPointF(105, 50 + 12), QRectF(100, 50, 520, 300), all), Edge::top | Edge::left);
}

TEST(PanelGeometry, ResizeCursors) {
    using E = PanelResizeEdges;
    EXPECT_EQ(resizeCursor(E(Edge::top)), Qt::SizeVerCursor);
    EXPECT_EQ(resizeCursor(E(Edge::bottom)), Qt::SizeVerCursor);
    EXPECT_EQ(resizeCursor(E(Edge::left)), Qt::SizeHorCursor);
    EXPECT_EQ(resizeCursor(Edge::top | Edge::left), Qt::SizeFDiagCursor);
    EXPECT_EQ(resizeCursor(Edge::bottom | Edge::right), Qt::SizeFDiagCursor);
    EXPECT_EQ(resizeCursor(Edge::top | Edge::right), Qt::SizeBDiagCursor);
    EXPECT_EQ(resizeCursor(Edge::bottom | Edge::left), Qt::SizeBDiagCursor);
    EXPECT_EQ(resizeCursor(Edge::left | Edge::right), Qt::SizeHorCursor);
}

TEST(PanelGeometry, UserResize) {
    const Rect start{100, 300, 520, 400};  // chrome 120 and a list of 280
    const auto resize = [&](PanelResizeEdges edges, std::optional<double> chrome, double listContent,
                            std::optional<double> centerX = std::nullopt) {
        return UserResize{start, edges, chrome, listContent, centerX};
    };
    struct Case {
        const char* name;
        UserResize resize;
        double dx, dy;
        Rect frame;
    };
    const Case cases[] = {
        {"bottom down, list content 30: the list stays 40",
         resize(Edge::bottom, 120, 30),
         0,
         -100,
         {100, 540, 520, 160}},
        {"bottom down, list content 70: the list keeps 70",
         resize(Edge::bottom, 120, 70),
         0,
         -100,
         {100, 510, 520, 190}},
        {"bottom down, list content 2000: up to 900",
         resize(Edge::bottom, 120, 2000),
         0,
         -2000,
         {100, -320, 520, 1020}},
        {"bottom up, list content 2000: down to 100", resize(Edge::bottom, 120, 2000), 0, 500, {100, 480, 520, 220}},
        {"top up grows upward", resize(Edge::top, 120, 2000), 0, 50, {100, 300, 520, 450}},
        {"without the chrome only the width follows",
         resize(Edge::bottom | Edge::right, std::nullopt, 0),
         60,
         -80,
         {100, 300, 580, 400}},
        {"left out, clamped to 800", resize(Edge::left, 120, 2000), -400, 0, {-180, 300, 800, 400}},
        {"right in, clamped to 360", resize(Edge::right, 120, 2000), -400, 0, {100, 300, 360, 400}},
        {"about a held centre", resize(Edge::right, 120, 2000, 360), 80, 0, {60, 300, 600, 400}},
    };
    for (const Case& c : cases) EXPECT_EQ(userResizedFrame(c.resize, c.dx, c.dy), c.frame) << c.name;
}

TEST(PanelGeometry, TheChromeIsKnownOnlyWhenTheListFitsTheContent) {
    EXPECT_EQ(chrome(400, 280), 120);
    EXPECT_EQ(chrome(400, 400), 0);
    EXPECT_EQ(chrome(400, 401), std::nullopt);
    EXPECT_EQ(chrome(0, 0), std::nullopt);
    EXPECT_EQ(chrome(400, std::nullopt), std::nullopt);
}

TEST(PanelGeometry, AClickPointCountsAsATrayItemOf24) {
    EXPECT_EQ(trayItemArea({700, 10, 1, 1}), (Rect{688.5, -1.5, 24, 24}));
    EXPECT_EQ(trayItemArea({700, 10, 30, 20}), (Rect{700, 8, 30, 24}));
}
