#pragma once

#include <QtGlobal>

#include <optional>

namespace tavlin::KeyBindings {

// Carbon virtual key codes name physical keys, as Linux input (evdev) codes
// do; one table maps between them. X numbers a key by its evdev code + 8.
std::optional<quint32> evdevCode(qint64 carbonKeyCode);

// Nothing for a key that X cannot number (evdev codes above 247).
std::optional<quint32> x11KeyCode(qint64 carbonKeyCode);
std::optional<qint64> carbonKeyCodeFromX11(quint32 x11KeyCode);

}  // namespace tavlin::KeyBindings
