#pragma once

#include <QColor>
#include <QPointF>
#include <QWidget>

#include <chrono>

class QPainter;
class QTimer;

namespace tavlin::rows {

// The small spinner of work under way: spokes round a centre, each fading
// behind the one in front, the front moving on a spoke at each step.
inline constexpr int spinnerSpokes = 8;
inline constexpr std::chrono::milliseconds spinnerStep{100};

// The spinner about `centre` (14 across) with its front spoke at `phase`
// (0…spinnerSpokes − 1), in `spoke`.
void paintSpinner(QPainter& painter, QPointF centre, int phase, const QColor& spoke);

// The spinner as a widget of its own, turning while it is shown unless the
// desktop asks for less motion, in the primary tone.
class Spinner : public QWidget {
    Q_OBJECT

public:
    explicit Spinner(QWidget* parent = nullptr);

    int phase() const { return phase_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* turn_;
    int phase_ = 0;
};

}  // namespace tavlin::rows
