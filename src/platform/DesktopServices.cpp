#include "platform/DesktopServices.h"

#include "platform/Log.h"
#include "platform/XdgPaths.h"

#include <QDesktopServices>

namespace tavlin::platform {

QUrl websiteUrl() { return QUrl(websiteAddress); }

QUrl remindersFolderUrl() {
    const QStringList roots = remindersRoots();
    return roots.isEmpty() ? QUrl() : QUrl::fromLocalFile(roots.first());
}

bool openUrl(const QUrl& url) {
    if (!url.isValid()) return false;
    const bool opened = QDesktopServices::openUrl(url);
    if (!opened) qCWarning(lcPlatform).noquote() << "Nothing opened" << url.toString();
    return opened;
}

}  // namespace tavlin::platform
