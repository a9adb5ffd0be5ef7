#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <chrono>
#include <functional>

// Runs the real main loop until `done` holds, or `limit` passes: generous,
// so that a slow machine is not taken for a fault. Whether `done` holds.
inline bool runMainLoopUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const QDeadlineTimer deadline(limit);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}
