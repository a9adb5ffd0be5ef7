#pragma once

struct xcb_connection_t;

namespace tavlin::platform {

// The connection of Qt's xcb platform to the X server; null when the
// application is not a QGuiApplication on X11 (offscreen, Wayland, tests).
xcb_connection_t* qtX11Connection();

}  // namespace tavlin::platform
