#pragma once

#include <QPainterPath>
#include <QRegion>
#include <QWidget>

namespace tavlin::rows {

// The panel's background: its whole area filled with the window colour,
// with rounded corners of `cornerRadius`. Where a compositing manager lets
// the panel's window be translucent the corners are painted smooth over a
// clear window; elsewhere the window is opaque and its shape is cut to
// mask(). Corners are circular arcs.
class PanelBackground : public QWidget {
    Q_OBJECT

public:
    explicit PanelBackground(QWidget* parent = nullptr);

    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);

    // The rounded outline over a rectangle; a plain rectangle for a radius
    // of 0 or less. The radius never exceeds half the shorter side.
    static QPainterPath shape(const QRectF& rect, double cornerRadius);
    // The pixels of `size` that the outline covers, as a window shape; an
    // empty region (no shape: the window stays rectangular) for a radius of
    // 0 or less.
    static QRegion mask(QSize size, double cornerRadius);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double cornerRadius_ = 0;
};

}  // namespace tavlin::rows
