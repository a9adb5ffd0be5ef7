#include "platform/X11Connection.h"

#include <QGuiApplication>

namespace tavlin::platform {

xcb_connection_t* qtX11Connection() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application) return nullptr;
    const auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

}  // namespace tavlin::platform
