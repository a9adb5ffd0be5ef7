#pragma once

#include "platform/Task.h"

#include <QLatin1StringView>
#include <QUrl>

// What the desktop opens for Tavlin: its web site, and the folder where the
// reminders live, each with the desktop's handler.
namespace tavlin::platform {

// Tavlin's public web site, which the tray menu and the panel's gear menu open.
inline constexpr QLatin1StringView websiteAddress{"https://quorvandell.com/tavlin/"};
QUrl websiteUrl();

// The reminders outside Tavlin: the first reminders folder (remindersRoots),
// which the desktop shows in its application for folders.
QUrl remindersFolderUrl();

// Opens `url` with the desktop's handler for it; false when none took it.
bool openUrl(const QUrl& url);

// Opens a local folder in the desktop's default application for folders
// (gio open): true once that application has been started with it. Where
// the desktop names none, nothing opens (no web browser stands in) and the
// answer is false.
Task<bool> openFolder(const QUrl& folder);

}  // namespace tavlin::platform
