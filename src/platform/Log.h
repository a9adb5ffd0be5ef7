#pragma once

#include <QLoggingCategory>

// One logging category per component, all below "com.quorvandell.tavlin".
// Debug output is off unless QT_LOGGING_RULES turns it on, e.g.
// QT_LOGGING_RULES="com.quorvandell.tavlin.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcPanel)
Q_DECLARE_LOGGING_CATEGORY(lcStatusItem)
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcMcp)
Q_DECLARE_LOGGING_CATEGORY(lcPreferences)
Q_DECLARE_LOGGING_CATEGORY(lcAlarms)
Q_DECLARE_LOGGING_CATEGORY(lcKeys)

namespace tavlin::platform {

// Writes every message to standard error as "tavlin[<category>] <message>",
// with the level in front of warnings and errors.
void installLogHandler();

}  // namespace tavlin::platform
