#include "platform/ReduceMotion.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

const QString kPortalService = u"org.freedesktop.portal.Desktop"_s;
const QString kPortalPath = u"/org/freedesktop/portal/desktop"_s;
const QString kSettingsInterface = u"org.freedesktop.portal.Settings"_s;
const QString kGnomeInterface = u"org.gnome.desktop.interface"_s;
const QString kAppearance = u"org.freedesktop.appearance"_s;

std::optional<bool>& overridden() {
    static std::optional<bool> value;
    return value;
}

// A value as the portal sends it: sometimes wrapped once more in a variant.
QVariant unwrapped(QVariant value) {
    while (value.userType() == qMetaTypeId<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
    return value;
}

}  // namespace

bool reduceMotion() {
    if (overridden()) return *overridden();
    static QPointer<DesktopMotionPreference> preference;
    if (!preference && QCoreApplication::instance())
        preference = new DesktopMotionPreference(QDBusConnection::sessionBus(), QCoreApplication::instance());
    return preference && preference->reduceMotion();
}

void setReduceMotionOverride(std::optional<bool> reduce) { overridden() = reduce; }

DesktopMotionPreference::DesktopMotionPreference(QDBusConnection bus, QObject* parent) : QObject(parent) {
    if (!bus.isConnected()) {
        qCDebug(lcPlatform) << "no session bus: animations stay on";
        return;
    }
    // The slot's QDBusVariant must be a known type before the connection, or
    // the subscription fails (in a process where nothing used one yet).
    qRegisterMetaType<QDBusVariant>();
    bus.connect(kPortalService, kPortalPath, kSettingsInterface, u"SettingChanged"_s, this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kSettingsInterface, u"ReadAll"_s);
    call << QStringList{kGnomeInterface, kAppearance};
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusMessage reply = finished->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            qCDebug(lcPlatform) << "no desktop portal settings: animations stay on";
            return;
        }
        QMap<QString, QVariantMap> groups;
        reply.arguments().constFirst().value<QDBusArgument>() >> groups;
        bool taken = false;
        for (auto group = groups.cbegin(); group != groups.cend(); ++group)
            for (auto key = group->cbegin(); key != group->cend(); ++key)
                taken = take(group.key(), key.key(), key.value()) || taken;
        if (taken) emit changed();
    });
}

bool DesktopMotionPreference::reduceMotion() const {
    return reducedMotion_.value_or(false) || !animationsEnabled_.value_or(true);
}

void DesktopMotionPreference::settingChanged(const QString& group, const QString& key, const QDBusVariant& value) {
    if (take(group, key, value.variant())) emit changed();
}

bool DesktopMotionPreference::take(const QString& group, const QString& key, const QVariant& value) {
    const QVariant plain = unwrapped(value);
    if (group == kGnomeInterface && key == u"enable-animations"_s) {
        animationsEnabled_ = plain.toBool();
        return true;
    }
    // 1 asks for reduced motion; 0 and unknown values mean no preference.
    if (group == kAppearance && key == u"reduced-motion"_s) {
        reducedMotion_ = plain.toUInt() == 1;
        return true;
    }
    return false;
}

}  // namespace tavlin::platform
