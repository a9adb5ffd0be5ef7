#pragma once

#include "platform/Task.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <chrono>
#include <functional>
#include <optional>

// Runs the real main loop until `done` holds, or `limit` passes: generous,
// so that a slow machine is not taken for a fault. Whether `done` holds.
inline bool runMainLoopUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const QDeadlineTimer deadline(limit);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}

// Runs the real main loop until `task` has finished: its result, or nothing
// when it has not finished within `limit`.
template <class T>
std::optional<T> finishTask(const tavlin::platform::Task<T>& task,
                            std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    if (!runMainLoopUntil([&] { return task.isDone(); }, limit)) return std::nullopt;
    return task.result();
}
