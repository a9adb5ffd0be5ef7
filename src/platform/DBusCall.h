#pragma once

#include "platform/Clock.h"
#include "platform/Task.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <optional>

namespace tavlin::platform {

// Sends `message` on `bus` and answers the reply; nothing when the bus is
// not connected, when the call failed, or when no answer came within
// `limit` on `clock`. A service that never answers therefore never holds
// up the task that asked it. Main thread only.
Task<std::optional<QDBusMessage>> callWithTimeLimit(QDBusConnection bus, QDBusMessage message, Clock::Duration limit,
                                                    Clock& clock = Clock::main());

}  // namespace tavlin::platform
