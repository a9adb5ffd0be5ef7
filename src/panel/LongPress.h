#pragma once

#include "platform/Clock.h"

#include <QPointF>

#include <chrono>
#include <functional>

namespace tavlin::panel {

// A press held still on the panel's background: 0.6 s after a single click
// that may arm it, it fires, provided the left button is still down, no
// resize runs and the pointer is within 4 of where the press began. A
// release, a new press or a move of more than 4 cancels it. Points are in
// the desktop's coordinates. Main thread only.
class LongPress {
public:
    static constexpr std::chrono::milliseconds delay{600};
    static constexpr double slop = 4;  // the most the pointer may move

    struct Probes {
        std::function<QPointF()> pointer;
        std::function<bool()> leftButtonDown;
        std::function<bool()> isResizing;
    };

    LongPress(platform::Clock& clock, Probes probes, std::function<void()> onFire);
    ~LongPress();
    LongPress(const LongPress&) = delete;
    LongPress& operator=(const LongPress&) = delete;

    // A left button press; only a single click on the background arms.
    void press(QPointF point, int clickCount, bool onBackground);
    void move(QPointF point);
    void release();
    void cancel();

    bool isArmed() const { return armed_; }

private:
    void fire();

    platform::Clock& clock_;
    Probes probes_;
    std::function<void()> onFire_;
    platform::ScheduledAction pending_;
    bool armed_ = false;
    QPointF pressPoint_;
};

// Whether two points lie more than `limit` apart.
bool isFartherThan(QPointF a, QPointF b, double limit);

}  // namespace tavlin::panel
