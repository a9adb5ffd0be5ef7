#pragma once

#include "platform/Clock.h"
#include "platform/Task.h"

#include <QString>
#include <Qt>

#include <chrono>

class QWindow;

// Keys that no one pressed, for the developer diagnostics: typing as if at
// the keyboard, and a shortcut handed to one window.
namespace tavlin::platform {

// How long typing leaves the main loop to deliver the keys before the
// caller reads their effect.
inline constexpr std::chrono::milliseconds typingSettleTime{350};

// Types `text`, one key press and release per UTF-16 code unit, then lets
// the main loop run for typingSettleTime. On X11 the keys go through the
// server's test extension to whatever has the keyboard, whichever program
// that is; a character that no key of the layout gives is typed on a spare
// key bound to it for the while, as xdotool does. Without X11 they go to
// Qt's focus window. On an X server without the test extension nothing
// happens, not even the wait.
Task<> typeText(QString text, Clock& clock = Clock::main());

// Presses and releases a key in `window` the way the application takes a
// menu shortcut: the shortcut override goes to the window's focus object,
// then the key to the window, through the application's event filters.
void sendShortcutKey(QWindow& window, int key, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace tavlin::platform
