#pragma once

#include <QDBusConnection>
#include <QObject>

#include <optional>

class QDBusVariant;

namespace tavlin::platform {

// Whether the desktop asks applications to leave out animations: GNOME's
// "enable-animations" switched off, or the desktop portal's reduced-motion
// preference. The first call starts reading the setting over the session
// bus without waiting for it: the answer is false until the desktop has
// answered, and stays false where nothing answers. Main thread only.
bool reduceMotion();

// Fixes the answer for tests and the view gallery; nothing gives the
// desktop's answer back.
void setReduceMotionOverride(std::optional<bool> reduce);

// The desktop's motion preference as the desktop portal's settings give it
// (org.freedesktop.portal.Settings on `bus`), followed as it changes.
class DesktopMotionPreference : public QObject {
    Q_OBJECT

public:
    explicit DesktopMotionPreference(QDBusConnection bus, QObject* parent = nullptr);

    // False until the portal has answered, and without one.
    bool reduceMotion() const;

signals:
    void changed();

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    // Whether the setting was one of the two that count.
    bool take(const QString& group, const QString& key, const QVariant& value);

    std::optional<bool> animationsEnabled_;  // GNOME's own switch
    std::optional<bool> reducedMotion_;      // the portal's preference
};

}  // namespace tavlin::platform
