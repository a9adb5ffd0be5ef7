#include "panel/LongPress.h"

#include <cmath>

namespace tavlin::panel {

bool isFartherThan(QPointF a, QPointF b, double limit) { return std::hypot(a.x() - b.x(), a.y() - b.y()) > limit; }

LongPress::LongPress(platform::Clock& clock, Probes probes, std::function<void()> onFire)
    : clock_(clock), probes_(std::move(probes)), onFire_(std::move(onFire)) {}

LongPress::~LongPress() { cancel(); }

void LongPress::press(QPointF point, int clickCount, bool onBackground) {
    cancel();
    if (clickCount != 1 || !onBackground) return;
    armed_ = true;
    pressPoint_ = point;
    pending_ = clock_.schedule(delay, [this] { fire(); });
}

void LongPress::move(QPointF point) {
    if (armed_ && isFartherThan(point, pressPoint_, slop)) cancel();
}

void LongPress::release() { cancel(); }

void LongPress::cancel() {
    pending_.cancel();
    pending_ = {};
    armed_ = false;
}

void LongPress::fire() {
    armed_ = false;
    pending_ = {};
    if (!probes_.leftButtonDown() || probes_.isResizing()) return;
    if (isFartherThan(probes_.pointer(), pressPoint_, slop)) return;
    onFire_();
}

}  // namespace tavlin::panel
