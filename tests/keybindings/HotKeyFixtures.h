#pragma once

#include "keybindings/Key.h"
#include "keybindings/Modifiers.h"
#include "keybindings/Shortcut.h"
#include "platform/HotKeyBackend.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <linux/input-event-codes.h>

// ⌃⌥K as a shortcut is kept, and as X grabs it.
inline constexpr tavlin::KeyBindings::Shortcut controlOptionK(tavlin::KeyBindings::Key::k.rawValue,
                                                              tavlin::KeyBindings::CarbonModifier::control |
                                                                  tavlin::KeyBindings::CarbonModifier::option);
inline constexpr tavlin::platform::KeyChord controlAltK{
    KEY_K + 8, tavlin::platform::X11Modifier::control | tavlin::platform::X11Modifier::alt};

// A key event as the application hands it to a window while a menu holds
// the keyboard: the key named only by its X keycode, as hot keys match it.
inline void sendKeyEvent(QObject& window, QEvent::Type type, quint32 evdevCode, Qt::KeyboardModifiers modifiers,
                         bool autoRepeat = false) {
    QKeyEvent event(type, Qt::Key_unknown, modifiers, evdevCode + 8, 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(&window, &event);
}
