#pragma once

#include <QString>
#include <QVariantMap>
#include <QtGlobal>

#include <optional>
#include <vector>

class QWindow;

// What the developer diagnostics ask of the window system: whether Tavlin
// is the active program, whose window is in front, and the windows on
// screen from front to back. On X11 the answers come from the window
// manager's properties on the root window and on each client; elsewhere
// (offscreen, Wayland) only Tavlin's own windows are known.
namespace tavlin::platform {

// The token with which a launcher lets Tavlin take the keyboard, from the
// platform data of org.freedesktop.Application's calls: "activation-token"
// (Wayland's xdg-activation), else "desktop-startup-id" (X11's startup
// notification, which Wayland compositors accept too); empty without one.
QString activationToken(const QVariantMap& platformData);
// Hands the token to the window system for the next window that asks for
// the keyboard. On Wayland, Qt reads XDG_ACTIVATION_TOKEN when a window asks
// to be activated and clears it; X11 needs none, the request's time is
// enough. An empty token changes nothing.
void useActivationToken(const QString& token);

// Whose window it is, as the listings name it: Tavlin's own.
inline constexpr QLatin1StringView ownOwnerName{"Tavlin"};

// A top-level window as the window manager knows it. What the window does
// not say stays empty.
struct WindowRecord {
    enum class Type { normal, desktop, dock, other };

    std::optional<qint64> pid;           // _NET_WM_PID
    std::optional<QString> windowClass;  // the class part of WM_CLASS
    std::optional<QString> name;         // _NET_WM_NAME, else WM_NAME
    bool mapped = true;                  // viewable
    bool hidden = false;                 // _NET_WM_STATE_HIDDEN (minimised, shaded away)
    bool above = false;                  // _NET_WM_STATE_ABOVE
    Type type = Type::normal;
};

// "Tavlin" for a window of process `ownPid`, else its class, "?" without one.
QString windowOwner(const WindowRecord& window, qint64 ownPid);
// 3 above the others, 20 a dock, else 0.
int windowLayer(const WindowRecord& window);

// Whether Qt counts the application as active (one of its windows has the
// keyboard).
bool isApplicationActive();
// Whether the window manager's active window is one of Tavlin's; without
// X11, whether Qt has a focus window.
bool isReallyActive();
// The owner of the window manager's active window (windowOwner); "?" when
// there is none or without X11.
QString frontmostApplicationName();

// Tavlin's top-level windows that Qt has made, in Qt's order, popups and
// tool tips left out.
std::vector<QWindow*> applicationWindows();

// The windows from front to back: on X11 every client the window manager
// stacks (_NET_CLIENT_LIST_STACKING), as they are; elsewhere Tavlin's own
// top-level windows that are shown, in Qt's order, popups and tool tips
// left out.
std::vector<WindowRecord> windowsFrontToBack();

}  // namespace tavlin::platform
