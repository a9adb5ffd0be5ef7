#pragma once

#include <QDir>
#include <QString>

namespace tavlin::platform {

// $XDG_DATA_HOME, or ~/.local/share when it is not set.
inline QString dataHome() {
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    return data.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : data;
}

}  // namespace tavlin::platform
