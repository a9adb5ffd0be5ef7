#pragma once

#include "platform/Clock.h"
#include "platform/Task.h"

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QLatin1StringView>
#include <QObject>

#include <chrono>

namespace tavlin::platform {

// The trays that could show a tray item right now.
struct TrayHosts {
    // A StatusNotifierWatcher on the session bus with a host (a panel that
    // draws the items) registered with it.
    bool statusNotifierHost = false;
    // An X11 system tray: the owner of _NET_SYSTEM_TRAY_S<n>, which docks
    // items as XEmbed windows.
    bool xembedTray = false;

    bool any() const { return statusNotifierHost || xembedTray; }
    friend bool operator==(const TrayHosts&, const TrayHosts&) = default;
};

// The desktop's trays, asked afresh on every call, and word when one may
// have appeared. Main thread only.
class TrayHost : public QObject {
    Q_OBJECT

public:
    ~TrayHost() override = default;

    // Never fails: what cannot be asked counts as not there.
    virtual Task<TrayHosts> hosts() = 0;

signals:
    // A tray may have come: the watcher's name got an owner, a host
    // registered with the watcher, or an X11 system tray announced itself.
    void hostAppeared();

protected:
    TrayHost() = default;
};

// The trays of this desktop session: the StatusNotifierWatcher on the given
// session bus, and the X11 system tray where the application runs on X11.
class DesktopTrayHost final : public TrayHost, private QAbstractNativeEventFilter {
    Q_OBJECT

public:
    static constexpr QLatin1StringView watcherService{"org.kde.StatusNotifierWatcher"};
    static constexpr std::chrono::seconds callTimeLimit{3};

    explicit DesktopTrayHost(QDBusConnection sessionBus, Clock& clock = Clock::main());
    ~DesktopTrayHost() override;

    Task<TrayHosts> hosts() override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // Tells a watcher that (re)started of this process's StatusNotifierItems:
    // Qt registers an item with the watcher there is when it makes it, and
    // a new watcher knows none.
    void registerItemsAgain();

    QDBusConnection bus_;
    Clock& clock_;
    QDBusServiceWatcher watcher_;
};

}  // namespace tavlin::platform
