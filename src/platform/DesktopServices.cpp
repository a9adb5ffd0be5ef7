#include "platform/DesktopServices.h"

#include "platform/Log.h"
#include "platform/XdgPaths.h"

#include <QDesktopServices>
#include <QProcess>

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

Task<bool> openFolder(const QUrl& folder) {
    TaskCompletion<bool> opened;
    auto* gio = new QProcess;
    // The file manager inherits gio's output: no pipe of ours, which would
    // break under it once gio is done. Its complaints go where Tavlin's go.
    gio->setStandardOutputFile(QProcess::nullDevice());
    gio->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(gio, &QProcess::finished, gio, [gio, opened](int exitCode, QProcess::ExitStatus status) {
        opened.resolve(exitCode == 0 && status == QProcess::NormalExit);
        gio->deleteLater();
    });
    QObject::connect(gio, &QProcess::errorOccurred, gio, [gio, opened](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        qCWarning(lcPlatform) << "gio could not be started (libglib2.0-bin)";
        opened.resolve(false);
        gio->deleteLater();
    });
    gio->start(QStringLiteral("gio"), {QStringLiteral("open"), folder.toString()});
    return opened.task();
}

}  // namespace tavlin::platform
