#pragma once

#include <QtGlobal>

#include <optional>
#include <vector>

class QWindow;

// What Tavlin's windows need of the X server beyond what Qt does for them.
// Every function does nothing (or answers false) where the application does
// not run on X11.
namespace tavlin::platform {

// Puts a window on every desktop (_NET_WM_DESKTOP 0xFFFFFFFF). The window
// manager reads it when the window is first mapped: call it before.
void setOnAllDesktops(QWindow& window);

// Keeps a window out of taskbars and pagers (_NET_WM_STATE_SKIP_TASKBAR and
// _NET_WM_STATE_SKIP_PAGER). The window manager reads the state when the
// window is mapped and drops it when the window is hidden: call it before
// every show. Qt adds its own states to these.
void setSkipTaskbarAndPager(QWindow& window);

// Whether a compositing manager runs on the default screen (it owns the
// selection _NET_WM_CM_S<n>), so that a translucent window shows what lies
// behind it rather than black.
bool hasCompositingManager();

// Whether an X11 system tray runs on the default screen (it owns the
// selection _NET_SYSTEM_TRAY_S<n>), where tray items dock as XEmbed windows.
bool hasSystemTray();
// Whether `event`, an xcb event Qt received, is a new system tray of the
// default screen announcing itself (the MANAGER message on the root window).
bool announcesSystemTray(const void* event);

// Asks the window manager to activate the window, as the application's own
// request (_NET_ACTIVE_WINDOW, source 1) made at `timestamp`, the X server
// time of the user's action that wants it.
void requestActivation(const QWindow& window, quint32 timestamp);

// The X server's time now, for a request that no input event of ours
// dates (a panel opened over D-Bus): a window manager refuses to activate a
// window for a time older than the user's last input. 0 without X11.
quint32 serverTime();

// Whether the window manager's active window (_NET_ACTIVE_WINDOW on the
// root window) is `window`.
bool isActiveX11Window(const QWindow& window);

// The X server time of the last press or release of a grabbed hot key; 0
// before the first. The hot key backend notes each one.
quint32 lastHotKeyTime();
void noteHotKeyTime(quint32 timestamp);

}  // namespace tavlin::platform

namespace tavlin::platform {

struct WindowRecord;

// The window manager's active window (_NET_ACTIVE_WINDOW); nothing when
// there is none or the application is not on X11.
std::optional<quint32> activeX11Window();
// Whether an X window id is one this application's connection made (the
// window may be gone since).
bool isOwnX11Window(quint32 window);
// What the window manager and the client say of an X window.
WindowRecord x11WindowRecord(quint32 window);
// The clients the window manager stacks, from front to back
// (_NET_CLIENT_LIST_STACKING reversed); nothing without X11.
std::optional<std::vector<WindowRecord>> x11ClientsFrontToBack();

}  // namespace tavlin::platform
