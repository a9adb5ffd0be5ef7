#include "platform/WindowSystem.h"

#include "platform/X11Connection.h"
#include "platform/X11Windows.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

namespace tavlin::platform {

using namespace Qt::StringLiterals;

namespace {

qint64 ownPid() { return QCoreApplication::applicationPid(); }

}  // namespace

QString activationToken(const QVariantMap& platformData) {
    for (const QString& key : {u"activation-token"_s, u"desktop-startup-id"_s})
        if (const QString token = platformData.value(key).toString(); !token.isEmpty()) return token;
    return {};
}

void useActivationToken(const QString& token) {
    if (token.isEmpty() || !QGuiApplication::platformName().startsWith(u"wayland"_s)) return;
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
}

QString windowOwner(const WindowRecord& window, qint64 ownPid) {
    if (window.pid == ownPid) return ownOwnerName;
    return window.windowClass.value_or(u"?"_s);
}

int windowLayer(const WindowRecord& window) {
    if (window.above) return 3;
    if (window.type == WindowRecord::Type::dock) return 20;
    return 0;
}

bool isApplicationActive() { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

bool isReallyActive() {
    if (!qtX11Connection()) return QGuiApplication::focusWindow() != nullptr;
    const std::optional<quint32> active = activeX11Window();
    if (!active) return false;
    for (const QWindow* window : QGuiApplication::allWindows())
        if (window->handle() && quint32(window->winId()) == *active) return true;
    return false;
}

QString frontmostApplicationName() {
    const std::optional<quint32> active = activeX11Window();
    return active ? windowOwner(x11WindowRecord(*active), ownPid()) : u"?"_s;
}

std::vector<QWindow*> applicationWindows() {
    std::vector<QWindow*> windows;
    for (QWindow* window : QGuiApplication::topLevelWindows())
        if (window->type() != Qt::Popup && window->type() != Qt::ToolTip) windows.push_back(window);
    return windows;
}

std::vector<WindowRecord> windowsFrontToBack() {
    if (std::optional<std::vector<WindowRecord>> clients = x11ClientsFrontToBack()) return std::move(*clients);
    std::vector<WindowRecord> windows;
    for (const QWindow* window : applicationWindows()) {
        if (!window->isVisible()) continue;
        windows.push_back(
            {.pid = ownPid(), .name = window->title(), .above = window->flags().testFlag(Qt::WindowStaysOnTopHint)});
    }
    return windows;
}

}  // namespace tavlin::platform
