#pragma once

#include <QString>

#include <memory>
#include <optional>

struct xkb_keymap;

namespace tavlin::platform {

// Which character each key of a keyboard types, by X keycode (the Linux
// input code + 8, the numbering XKB keymaps use everywhere).
class KeyboardLayout {
public:
    // The layout the user types with now: on X11 the server's keymap in its
    // current group, read afresh at each call; elsewhere the system default
    // (XKB_DEFAULT_LAYOUT and its siblings, else "us").
    static KeyboardLayout current();
    // A layout of the XKB database ("us", "de", "fr"); an unknown name gives
    // a layout in which no key types anything.
    static KeyboardLayout named(const QString& layout);

    // The one character the key types without modifiers; nothing for keys
    // that type none or a control character (dead keys, Shift, F1, Return…).
    std::optional<QString> character(quint32 keyCode) const;
    // The XKB name of the symbol the key gives without modifiers ("k",
    // "space", "F1", "Return"); nothing for a key without one.
    std::optional<QString> symbolName(quint32 keyCode) const;

private:
    KeyboardLayout(std::shared_ptr<xkb_keymap> keymap, quint32 group) : keymap_(std::move(keymap)), group_(group) {}
    // The key's one symbol without modifiers, in the layout's group.
    std::optional<quint32> symbol(quint32 keyCode) const;

    std::shared_ptr<xkb_keymap> keymap_;
    quint32 group_ = 0;
};

}  // namespace tavlin::platform
