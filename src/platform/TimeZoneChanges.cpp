#include "platform/TimeZoneChanges.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace tavlin::platform {

TimeZoneChanges::TimeZoneChanges(QObject* parent) : TimeZoneChanges(Sources{}, parent) {}

TimeZoneChanges::TimeZoneChanges(Sources sources, QObject* parent) : QObject(parent), sources_(std::move(sources)) {
    if (!sources_.tzVariable.isEmpty()) return;
    if (const std::optional<TimeZone> zone = systemZone()) last_ = zone->identifier();
    // The folders, not only the files: both are replaced by a rename, which
    // ends a watch on the file itself.
    watcher_ = new QFileSystemWatcher(this);
    for (const QString& path : {sources_.localtime, sources_.timezoneFile}) {
        watcher_->addPath(QFileInfo(path).absolutePath());
        if (QFileInfo::exists(path)) watcher_->addPath(path);
    }
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &TimeZoneChanges::reread);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &TimeZoneChanges::reread);
    if (sources_.systemBus.isConnected()) {
        sources_.systemBus.connect(QStringLiteral("org.freedesktop.timedate1"),
                                   QStringLiteral("/org/freedesktop/timedate1"),
                                   QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"), this, SLOT(reread()));
    }
}

std::optional<TimeZone> TimeZoneChanges::systemZone() const {
    const QString target = QFileInfo(sources_.localtime).symLinkTarget();
    if (!target.isEmpty()) {
        if (std::optional<TimeZone> zone = TimeZone::fromTZVariable(target)) return zone;
    }
    QFile file(sources_.timezoneFile);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return TimeZone::fromIdentifier(QString::fromUtf8(file.readLine(256)).trimmed());
}

void TimeZoneChanges::reread() {
    // A file that was replaced is watched again.
    for (const QString& path : {sources_.localtime, sources_.timezoneFile}) {
        if (QFileInfo::exists(path) && !watcher_->files().contains(path)) watcher_->addPath(path);
    }
    const std::optional<TimeZone> zone = systemZone();
    if (!zone || last_ == zone->identifier()) return;
    last_ = zone->identifier();
    emit changed(*zone);
}

}  // namespace tavlin::platform
