#pragma once

#include <QString>
#include <Qt>

#include <optional>

namespace tavlin::KeyBindings {

// The keys shown by a symbol or a name rather than by the character the
// layout gives them.
enum class SpecialKey {
    return_,
    delete_,
    deleteForward,
    end,
    escape,
    help,
    home,
    space,
    tab,
    pageUp,
    pageDown,
    upArrow,
    rightArrow,
    downArrow,
    leftArrow,
    f1,
    f2,
    f3,
    f4,
    f5,
    f6,
    f7,
    f8,
    f9,
    f10,
    f11,
    f12,
    f13,
    f14,
    f15,
    f16,
    f17,
    f18,
    f19,
    f20,
    keypad0,
    keypad1,
    keypad2,
    keypad3,
    keypad4,
    keypad5,
    keypad6,
    keypad7,
    keypad8,
    keypad9,
    keypadClear,
    keypadDecimal,
    keypadDivide,
    keypadEnter,
    keypadEquals,
    keypadMinus,
    keypadMultiply,
    keypadPlus,
};

// The special key of a Carbon key code, if it is one.
std::optional<SpecialKey> specialKey(qint64 carbonKeyCode);

// "↩", "F1", "0⃣"…; the space bar by its name in the user's language.
QString displayText(SpecialKey key);

// The text that stands for the key in menus: the display text, a plain
// space for the space bar, U+F704… for F1…F20; nothing for keypad keys.
std::optional<QString> keyEquivalent(SpecialKey key);

// The Qt key the physical key sends on this system (Backspace for delete,
// Insert for help); nothing for keypad keys.
std::optional<Qt::Key> qtKey(SpecialKey key);

}  // namespace tavlin::KeyBindings
