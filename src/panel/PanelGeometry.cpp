#include "panel/PanelGeometry.h"

#include <algorithm>
#include <cmath>

namespace tavlin::panel::geometry {

namespace {

// The lower bound first, so that on a screen too small for the panel the
// upper bound wins.
double clamp(double value, double lower, double upper) { return std::min(std::max(value, lower), upper); }

const Screen* screenContaining(Point point, const std::vector<Screen>& screens) {
    for (const Screen& screen : screens)
        if (screen.frame.contains(point)) return &screen;
    return nullptr;
}

Rect mainVisibleArea(const Desktop& desktop) {
    if (desktop.mainScreen && *desktop.mainScreen < desktop.screens.size())
        return desktop.screens[*desktop.mainScreen].visible;
    return {};
}

}  // namespace

Point fromQt(QPointF point) { return {point.x(), -point.y()}; }

QPointF toQt(Point point) { return {point.x, -point.y}; }

Rect fromQt(const QRectF& rect) { return {rect.x(), -(rect.y() + rect.height()), rect.width(), rect.height()}; }

QRectF toQt(const Rect& rect) { return {rect.x, -(rect.y + rect.height), rect.width, rect.height}; }

double clampedWidth(double width) { return clamp(width, minimumWidth, maximumWidth); }

double clampedListHeight(double height) { return clamp(height, minimumListHeight, maximumListHeight); }

double panelWidth(Anchor anchor, std::optional<double> storedWidth) {
    if (anchor == Anchor::statusItem) return statusItemWidth;
    return storedWidth ? clampedWidth(*storedWidth) : screenCenterWidth;
}

PanelResizeEdges activeResizeEdges(Anchor anchor) {
    if (anchor == Anchor::statusItem) return PanelResizeEdge::top | PanelResizeEdge::bottom;
    return PanelResizeEdge::top | PanelResizeEdge::bottom | PanelResizeEdge::left | PanelResizeEdge::right;
}

Point screenCenterHome(double width, const Desktop& desktop) {
    Rect visible;
    if (const Screen* screen = screenContaining(desktop.pointer, desktop.screens)) visible = screen->visible;
    else if (desktop.mainScreen && *desktop.mainScreen < desktop.screens.size())
        visible = desktop.screens[*desktop.mainScreen].visible;
    else if (!desktop.screens.empty()) visible = desktop.screens.front().visible;
    const double height = visible.height;
    const double drop =
        std::min(std::max(0.0, height - homeHeightDeduction), std::max(homeDropShare * height, minimumHomeDrop));
    return {visible.midX() - width / 2, visible.maxY() - drop};
}

bool isBottomTray(const Rect& trayItem, const Screen& screen) { return trayItem.midY() < screen.frame.midY(); }

Placement statusItemHome(const std::optional<Rect>& trayItem, Size panel, const Desktop& desktop) {
    if (!trayItem) {
        const Rect visible = mainVisibleArea(desktop);
        return {{visible.maxX() - panel.width - screenMargin, visible.maxY()}, std::nullopt};
    }
    const Rect& item = *trayItem;
    double x = item.midX() - panel.width / 2;
    const Screen* screen = screenContaining({item.midX(), item.midY()}, desktop.screens);
    if (!screen) return {{x, item.minY() - statusItemGap}, std::nullopt};
    const Rect& visible = screen->visible;
    x = clamp(x, visible.minX() + screenMargin, visible.maxX() - panel.width - screenMargin);
    if (!isBottomTray(item, *screen)) return {{x, std::min(item.minY() - statusItemGap, visible.maxY())}, std::nullopt};
    // Above a tray at the bottom: the mirror of the rule under one at the
    // top, with the top kept on the screen.
    const double bottom = std::max(item.maxY() + statusItemGap, visible.minY());
    const Placement::HeldBottom held{bottom, visible.maxY()};
    return {{x, std::min(bottom + panel.height, visible.maxY())}, held};
}

std::optional<Point> clampedPinnedTopLeft(Point topLeft, Size panel, const std::vector<Screen>& screens) {
    const Rect frame{topLeft.x, topLeft.y - panel.height, panel.width, panel.height};
    const auto screen =
        std::find_if(screens.begin(), screens.end(), [&](const Screen& s) { return s.frame.intersects(frame); });
    if (screen == screens.end()) return std::nullopt;
    const Rect& visible = screen->visible;
    return Point{clamp(topLeft.x, visible.minX() + screenMargin, visible.maxX() - panel.width - screenMargin),
                 clamp(topLeft.y, visible.minY() + panel.height + screenMargin, visible.maxY())};
}

Rect placedFrame(const Placement& placement, double width, double height) {
    if (const auto& held = placement.heldBottom) {
        const double top = std::min(held->bottom + height, held->visibleTop);
        return {placement.topLeft.x, top - height, width, height};
    }
    return {placement.topLeft.x, placement.topLeft.y - height, width, height};
}

bool hasSize(const Rect& frame, double width, double height) {
    return std::abs(frame.height - height) <= tolerance && std::abs(frame.width - width) <= tolerance;
}

PanelResizeEdges resizeEdgesAt(Point point, Size size, PanelResizeEdges active) {
    const Rect bounds{0, 0, size.width, size.height};
    if (!bounds.contains(point)) return {};
    PanelResizeEdges edges;
    if (point.x <= bounds.minX() + edgeBand) edges |= PanelResizeEdge::left;
    if (point.x >= bounds.maxX() - edgeBand) edges |= PanelResizeEdge::right;
    if (point.y <= bounds.minY() + edgeBand) edges |= PanelResizeEdge::bottom;
    if (point.y >= bounds.maxY() - edgeBand) edges |= PanelResizeEdge::top;
    // A corner reaches 16 along both of its edges: first up and down a side,
    // then, with the top or bottom now found, along it.
    if (edges & (PanelResizeEdge::left | PanelResizeEdge::right)) {
        if (point.y <= bounds.minY() + cornerBand) edges |= PanelResizeEdge::bottom;
        if (point.y >= bounds.maxY() - cornerBand) edges |= PanelResizeEdge::top;
    }
    if (edges & (PanelResizeEdge::top | PanelResizeEdge::bottom)) {
        if (point.x <= bounds.minX() + cornerBand) edges |= PanelResizeEdge::left;
        if (point.x >= bounds.maxX() - cornerBand) edges |= PanelResizeEdge::right;
    }
    return edges & active;
}

PanelResizeEdges resizeEdgesAt(QPointF globalPoint, const QRectF& frame, PanelResizeEdges active) {
    const Point point = fromQt(globalPoint);
    const Rect window = fromQt(frame);
    return resizeEdgesAt(Point{point.x - window.x, point.y - window.y}, window.size(), active);
}

Qt::CursorShape resizeCursor(PanelResizeEdges edges) {
    using enum PanelResizeEdge;
    if (edges == (top | left) || edges == (bottom | right)) return Qt::SizeFDiagCursor;
    if (edges == (top | right) || edges == (bottom | left)) return Qt::SizeBDiagCursor;
    if (edges & (left | right)) return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}

Rect userResizedFrame(const UserResize& resize, double dx, double dy) {
    const Rect& start = resize.start;
    double width = start.width;
    if (resize.edges & PanelResizeEdge::left) width -= dx;
    if (resize.edges & PanelResizeEdge::right) width += dx;
    width = clampedWidth(width);

    double height = start.height;
    if (resize.chrome) {
        double wanted = start.height;
        if (resize.edges & PanelResizeEdge::top) wanted += dy;
        if (resize.edges & PanelResizeEdge::bottom) wanted -= dy;
        // The list is never taller than its content (counted as at least
        // 40) or 900, nor shorter than 100 unless its content is.
        const double chrome = *resize.chrome;
        const double upper = std::min(std::max(resize.listContent, minimumListContent), maximumListHeight);
        const double lower = std::min(minimumListHeight, upper);
        height = chrome + clamp(wanted - chrome, lower, upper);
    }

    double x = resize.edges & PanelResizeEdge::left ? start.maxX() - width : start.minX();
    const double y = resize.edges & PanelResizeEdge::bottom ? start.maxY() - height : start.minY();
    if (resize.centerX) x = *resize.centerX - width / 2;
    return {x, y, width, height};
}

std::optional<double> chrome(double contentHeight, std::optional<double> listFrame) {
    if (!listFrame || contentHeight <= 0 || *listFrame > contentHeight) return std::nullopt;
    return contentHeight - *listFrame;
}

Rect trayItemArea(const Rect& trayItem) {
    const double width = std::max(trayItem.width, minimumTrayItemSide);
    const double height = std::max(trayItem.height, minimumTrayItemSide);
    return {trayItem.midX() - width / 2, trayItem.midY() - height / 2, width, height};
}

}  // namespace tavlin::panel::geometry
