#include "platform/PowerEvents.h"

#include "platform/Log.h"

using namespace Qt::StringLiterals;

namespace tavlin::platform {

SessionPowerEvents::SessionPowerEvents(QDBusConnection systemBus, QDBusConnection sessionBus) {
    // The sender's name is given, so that only logind and the screen saver
    // are heard, whichever connection owns the name at the time.
    if (!systemBus.connect(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                           u"org.freedesktop.login1.Manager"_s, u"PrepareForSleep"_s, this,
                           SLOT(prepareForSleep(bool))))
        qCDebug(lcPlatform) << "no system bus: system wakes go unnoticed";
    if (!sessionBus.connect(u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s,
                            u"org.freedesktop.ScreenSaver"_s, u"ActiveChanged"_s, this,
                            SLOT(screenSaverActiveChanged(bool))))
        qCDebug(lcPlatform) << "no session bus: the display counts as always awake";
}

// logind sends true before the machine sleeps and false once it is back.
void SessionPowerEvents::prepareForSleep(bool goingToSleep) {
    if (!goingToSleep) emit systemDidWake();
}

void SessionPowerEvents::screenSaverActiveChanged(bool active) {
    if (active) emit displayDidSleep();
    else emit displayDidWake();
}

}  // namespace tavlin::platform
