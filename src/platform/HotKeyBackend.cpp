#include "platform/HotKeyBackend.h"

#include "platform/PortalHotKeyBackend.h"
#include "platform/X11Connection.h"
#include "platform/X11HotKeyBackend.h"

#include <QDBusConnection>
#include <QGuiApplication>

namespace tavlin::platform {

namespace {

class RefusingHotKeyBackend final : public HotKeyBackend {
public:
    int grab(KeyChord) override { return noKeyGrabs; }
    void ungrab(KeyChord) override {}
    bool isHeldElsewhere(KeyChord) override { return false; }
    bool hasGlobalShortcuts() const override { return false; }
};

}  // namespace

std::unique_ptr<HotKeyBackend> makeSystemHotKeyBackend() {
    if (xcb_connection_t* connection = qtX11Connection()) return std::make_unique<X11HotKeyBackend>(connection);
    if (QGuiApplication::platformName().startsWith(QLatin1StringView("wayland")))
        return std::make_unique<PortalHotKeyBackend>(QDBusConnection::sessionBus());
    return std::make_unique<RefusingHotKeyBackend>();
}

}  // namespace tavlin::platform
