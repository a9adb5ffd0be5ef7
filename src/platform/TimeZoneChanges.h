#pragma once

#include "platform/TimeZone.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

class QFileSystemWatcher;

namespace tavlin::platform {

// Says when the system's time zone changes while Tavlin runs (timedatectl,
// a desktop's date settings), which the zone read at start does not follow:
// /etc/localtime pointing elsewhere or /etc/timezone rewritten, seen by a
// watch on their folders and by timedated's PropertiesChanged on the system
// bus. Silent while TZ is set, which holds for the process whatever the
// system says. Main thread only.
class TimeZoneChanges final : public QObject {
    Q_OBJECT

public:
    // Where the system keeps its zone; a test gives files of its own.
    struct Sources {
        QString localtime = QStringLiteral("/etc/localtime");
        QString timezoneFile = QStringLiteral("/etc/timezone");
        QString tzVariable = qEnvironmentVariable("TZ");
        QDBusConnection systemBus = QDBusConnection::systemBus();
    };

    // The system's own sources.
    explicit TimeZoneChanges(QObject* parent = nullptr);
    explicit TimeZoneChanges(Sources sources, QObject* parent = nullptr);

    // The zone the sources name now: the zoneinfo file /etc/localtime links
    // to, else the name in /etc/timezone; nothing when ICU knows neither.
    std::optional<TimeZone> systemZone() const;

signals:
    void changed(const tavlin::platform::TimeZone& zone);

private:
    Q_SLOT void reread();

    Sources sources_;
    QFileSystemWatcher* watcher_ = nullptr;
    std::optional<QString> last_;  // the identifier last seen
};

}  // namespace tavlin::platform
