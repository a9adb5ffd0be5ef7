#include "panel/widgets/ResizeEdges.h"

#include <QCursor>
#include <QGuiApplication>

namespace tavlin::panel::widgets {

ResizeEdges::ResizeEdges(std::function<QRectF()> frame, const PanelWindow::Callbacks& callbacks)
    : frame_(std::move(frame)), callbacks_(callbacks) {}

ResizeEdges::~ResizeEdges() { showCursor(std::nullopt); }

PanelResizeEdges ResizeEdges::edgesAt(QPointF point) const {
    const PanelResizeEdges active = callbacks_.activeResizeEdges ? callbacks_.activeResizeEdges() : PanelResizeEdges();
    return geometry::resizeEdgesAt(point, frame_(), active);
}

bool ResizeEdges::press(QPointF point) {
    const PanelResizeEdges edges = edgesAt(point);
    if (!edges) return false;
    dragEdges_ = edges;
    dragStart_ = point;
    showCursor(geometry::resizeCursor(edges));
    call(callbacks_.beginUserResize, edges);
    return true;
}

void ResizeEdges::move(QPointF point) {
    if (!dragEdges_) return;
    call(callbacks_.userResize, dragEdges_, point - dragStart_);
}

void ResizeEdges::release(QPointF point) {
    if (!dragEdges_) return;
    dragEdges_ = {};
    call(callbacks_.endUserResize);
    hover(point);
}

void ResizeEdges::hover(QPointF point) {
    if (dragEdges_) return;
    const PanelResizeEdges edges = edgesAt(point);
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
