#pragma once

#include "panel/PanelWindow.h"

#include <QPointF>
#include <QSizeF>

#include <functional>
#include <optional>

namespace tavlin::panel::widgets {

// The panel's resizing edges, as one filter of its window's pointer events
// rather than strips over its content: a press within 8 of an active edge
// (16 at a corner) starts a drag that the controller follows; everywhere
// else, and for the wheel, the events go on to the content. Over an active
// edge the pointer shows Qt's resize cursor.
//
// Which edge a point is on is found in the window's own coordinates, which
// are right wherever the window manager put the window and whenever it
// says so; a drag's way is measured in Qt's desktop coordinates.
class ResizeEdges {
public:
    // `size` is the window's size now; `callbacks` are the window's, read
    // at each event (they are cleared when the panel closes).
    ResizeEdges(std::function<QSizeF()> size, const PanelWindow::Callbacks& callbacks);
    ~ResizeEdges();
    ResizeEdges(const ResizeEdges&) = delete;
    ResizeEdges& operator=(const ResizeEdges&) = delete;

    // True when the press is on an active edge: the drag has begun and the
    // press is the edges'.
    bool press(QPointF windowPoint, QPointF desktopPoint);
    void move(QPointF desktopPoint);
    void release(QPointF windowPoint);
    // The pointer moves with no button down, or leaves the window.
    void hover(QPointF windowPoint);
    void leave();

    bool isDragging() const { return bool(dragEdges_); }
    PanelResizeEdges edgesAt(QPointF windowPoint) const;

private:
    void showCursor(std::optional<Qt::CursorShape> shape);

    std::function<QSizeF()> size_;
    const PanelWindow::Callbacks& callbacks_;
    PanelResizeEdges dragEdges_;
    QPointF dragStart_;
    std::optional<Qt::CursorShape> cursor_;  // the override cursor shown
};

}  // namespace tavlin::panel::widgets
