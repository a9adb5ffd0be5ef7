#pragma once

#include <QFlags>
#include <QPointF>
#include <QRectF>
#include <QtGlobal>

#include <chrono>
#include <optional>
#include <vector>

// Where the panel goes and how large it is, as pure functions.
//
// They work in desktop coordinates with y growing upward (a rectangle's
// origin is its bottom-left corner), in which the panel's rules read most
// simply: a panel "grows downward" from a held top edge. Everything outside
// (Qt's windows and screens, the stored pinned point) is in Qt's coordinates,
// y growing downward; fromQt and toQt are the one conversion between them, a
// reflection in the x axis.
namespace tavlin::panel {

// Where the panel belongs: under the tray item, or at its home near the top
// centre of a screen.
enum class Anchor { statusItem, screenCenter };

// The panel edges a drag moves, as they are seen on the screen.
enum class PanelResizeEdge : unsigned { top = 1, bottom = 2, left = 4, right = 8 };
Q_DECLARE_FLAGS(PanelResizeEdges, PanelResizeEdge)
Q_DECLARE_OPERATORS_FOR_FLAGS(PanelResizeEdges)

namespace geometry {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// With y upward, (x, y) is the bottom-left corner.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const { return x; }
    double maxX() const { return x + width; }
    double midX() const { return x + width / 2; }
    double minY() const { return y; }
    double maxY() const { return y + height; }
    double midY() const { return y + height / 2; }
    Size size() const { return {width, height}; }
    // Edges included, as a screen holds the point on its border.
    bool contains(Point point) const {
        return point.x >= minX() && point.x <= maxX() && point.y >= minY() && point.y <= maxY();
    }
    // Sharing an area, not only an edge.
    bool intersects(const Rect& other) const {
        return minX() < other.maxX() && other.minX() < maxX() && minY() < other.maxY() && other.minY() < maxY();
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

Point fromQt(QPointF point);
QPointF toQt(Point point);
Rect fromQt(const QRectF& rect);
QRectF toQt(const Rect& rect);

// A screen: its whole area, and the part that panels and docks leave free.
struct Screen {
    Rect frame;
    Rect visible;
    double scale = 1;  // device pixels per point
};

// The screens in the desktop's order, which of them is the main one, and
// where the pointer is.
struct Desktop {
    std::vector<Screen> screens;
    std::optional<std::size_t> mainScreen;
    Point pointer;
};

inline constexpr double statusItemWidth = 440;
inline constexpr double screenCenterWidth = 520;  // with no stored width
inline constexpr double minimumWidth = 360;
inline constexpr double maximumWidth = 800;
inline constexpr double initialHeight = 200;
inline constexpr double statusItemGap = 5;  // between the tray item and the panel
inline constexpr double screenMargin = 8;   // kept free at the sides and the bottom
inline constexpr double minimumListHeight = 100;
inline constexpr double maximumListHeight = 900;
inline constexpr double assumedListHeight = 380;    // when none is stored
inline constexpr double minimumListContent = 40;    // the least a list counts as holding
inline constexpr double tolerance = 0.5;            // sizes closer than this are equal
inline constexpr double homeHeightDeduction = 504;  // 480 + 24
inline constexpr double homeDropShare = 0.18;
inline constexpr double minimumHomeDrop = 120;
inline constexpr double edgeBand = 8;     // the resizing band along each edge
inline constexpr double cornerBand = 16;  // how far a corner reaches along its edges
inline constexpr double minimumTrayItemSide = 24;
inline constexpr std::chrono::milliseconds reopenSuppression{300};
inline constexpr std::chrono::milliseconds resetAnimation{250};

// Within minimumWidth … maximumWidth.
double clampedWidth(double width);
double clampedListHeight(double height);
double panelWidth(Anchor anchor, std::optional<double> storedWidth);
// Under the tray item the width is fixed: only the top and the bottom move.
PanelResizeEdges activeResizeEdges(Anchor anchor);

// Near the top centre of the screen under the pointer (else the main, else
// the first screen); x is not clamped.
Point screenCenterHome(double width, const Desktop& desktop);

// Where a panel is put: its top-left corner, and for a panel that hangs
// above a tray at the bottom of a screen the bottom edge it keeps as its
// height changes, with the top of the visible area that its top may not
// pass.
struct Placement {
    struct HeldBottom {
        double bottom = 0;
        double visibleTop = 0;
        friend bool operator==(const HeldBottom&, const HeldBottom&) = default;
    };
    Point topLeft;
    std::optional<HeldBottom> heldBottom;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// A tray item in the lower half of its screen is in a tray at the bottom.
bool isBottomTray(const Rect& trayItem, const Screen& screen);

// Under (or, for a tray at the bottom of its screen, above) the tray item,
// kept inside the visible area of the item's screen; without an item, the
// top-right corner of the main screen's visible area, 8 in.
Placement statusItemHome(const std::optional<Rect>& trayItem, Size panel, const Desktop& desktop);

// The pinned point pulled onto the first screen that the panel would
// overlap there; nothing when it overlaps none.
std::optional<Point> clampedPinnedTopLeft(Point topLeft, Size panel, const std::vector<Screen>& screens);

// The frame of a panel `height` high and `width` wide at its placement.
Rect placedFrame(const Placement& placement, double width, double height);

// Whether a frame already has the size, within the tolerance.
bool hasSize(const Rect& frame, double width, double height);

// The edges that a press at `point` (window coordinates, y upward, in a
// window of `size`) would drag: 8 along each edge, widened to 16 at the
// corners, of the active ones only.
PanelResizeEdges resizeEdgesAt(Point point, Size size, PanelResizeEdges active);
// The same for a point and a window frame in Qt's desktop coordinates.
PanelResizeEdges resizeEdgesAt(QPointF globalPoint, const QRectF& frame, PanelResizeEdges active);

// The resize cursor for a set of edges: diagonal for a corner, else
// horizontal when a side is in the set, else vertical.
Qt::CursorShape resizeCursor(PanelResizeEdges edges);

// An edge drag in progress: the frame when it began, and what the panel's
// content measured then.
struct UserResize {
    Rect start;
    PanelResizeEdges edges;
    std::optional<double> chrome;   // the height of all but the list
    double listContent = 0;         // the height of the list's content
    std::optional<double> centerX;  // held during the drag
};

// The frame for a displacement (dx, dy, y upward) of the pointer since the
// drag began. Without the chrome only the width follows.
Rect userResizedFrame(const UserResize& resize, double dx, double dy);

// The chrome at the start of a drag: the content less the list, when both
// were reported and the list is not the taller.
std::optional<double> chrome(double contentHeight, std::optional<double> listFrame);

// The tray item's rectangle grown about its centre to at least 24 × 24, so
// that a click point counts as the item.
Rect trayItemArea(const Rect& trayItem);

}  // namespace geometry
}  // namespace tavlin::panel
