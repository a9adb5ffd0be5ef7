#include "panel/widgets/ResizeEdges.h"

#include <QCursor>
#include <QGuiApplication>

namespace tavlin::panel::widgets {

ResizeEdges::ResizeEdges(std::function<QSizeF()> size, const PanelWindow::Callbacks& callbacks)
    : size_(std::move(size)), callbacks_(callbacks) {}

ResizeEdges::~ResizeEdges() { showCursor(std::nullopt); }

PanelResizeEdges ResizeEdges::edgesAt(QPointF windowPoint) const {
    const PanelResizeEdges active = callbacks_.activeResizeEdges ? callbacks_.activeResizeEdges() : PanelResizeEdges();
    return geometry::resizeEdgesAt(windowPoint, QRectF(QPointF(), size_()), active);
}

bool ResizeEdges::press(QPointF windowPoint, QPointF desktopPoint) {
    const PanelResizeEdges edges = edgesAt(windowPoint);
    if (!edges) return false;
    dragEdges_ = edges;
    dragStart_ = desktopPoint;
    showCursor(geometry::resizeCursor(edges));
    call(callbacks_.beginUserResize, edges);
    return true;
}

void ResizeEdges::move(QPointF desktopPoint) {
    if (!dragEdges_) return;
    call(callbacks_.userResize, dragEdges_, desktopPoint - dragStart_);
}

void ResizeEdges::release(QPointF windowPoint) {
    if (!dragEdges_) return;
    dragEdges_ = {};
    call(callbacks_.endUserResize);
    hover(windowPoint);
}

void ResizeEdges::hover(QPointF windowPoint) {
    if (dragEdges_) return;
    const PanelResizeEdges edges = edgesAt(windowPoint);
    showCursor(edges ? std::optional(geometry::resizeCursor(edges)) : std::nullopt);
}

void ResizeEdges::leave() {
    if (!dragEdges_) showCursor(std::nullopt);
}

void ResizeEdges::showCursor(std::optional<Qt::CursorShape> shape) {
    if (shape == cursor_) return;
    if (!shape) QGuiApplication::restoreOverrideCursor();
    else if (cursor_) QGuiApplication::changeOverrideCursor(QCursor(*shape));
    else QGuiApplication::setOverrideCursor(QCursor(*shape));
    cursor_ = shape;
}

}  // namespace tavlin::panel::widgets
