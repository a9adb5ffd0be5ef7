#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace tavlin::platform {

// The desktop file Tavlin is installed with, by which desktop services
// (location, notifications) know the application.
inline constexpr QLatin1StringView desktopEntryId{"com.quorvandell.tavlin"};

// $XDG_DATA_HOME, or ~/.local/share when it is not set.
inline QString dataHome() {
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    return data.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : data;
}

// $XDG_CONFIG_HOME, or ~/.config when it is unset, empty or relative (a
// relative path is invalid there and must be ignored).
inline QString configHome() {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.isEmpty() && QDir::isAbsolutePath(config)) return config;
    return QDir::homePath() + QStringLiteral("/.config");
}

// $XDG_CACHE_HOME, or ~/.cache when it is unset, empty or relative.
inline QString cacheHome() {
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cache.isEmpty() && QDir::isAbsolutePath(cache)) return cache;
    return QDir::homePath() + QStringLiteral("/.cache");
}

// The folders of the user's reminders, each an account: TAVLIN_REMINDERS_DIR
// (folders separated by ":"), else $XDG_DATA_HOME/Tavlin/Reminders.
inline QStringList remindersRoots() {
    const QString configured = qEnvironmentVariable("TAVLIN_REMINDERS_DIR");
    if (!configured.isEmpty()) return configured.split(u':', Qt::SkipEmptyParts);
    return {dataHome() + QStringLiteral("/Tavlin/Reminders")};
}

}  // namespace tavlin::platform
