#pragma once

#include "keybindings/Key.h"
#include "keybindings/Modifiers.h"

#include <QHashFunctions>
#include <QKeySequence>
#include <QString>

#include <nlohmann/json_fwd.hpp>

#include <optional>

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;

namespace tavlin::KeyBindings {

class Name;

// One key with modifiers, as a Carbon virtual key code (a physical key, see
// Key) and a Carbon modifier mask. It holds only the bits of
// CarbonModifier::all.
class Shortcut {
public:
    constexpr Shortcut(qint64 carbonKeyCode, qint64 carbonModifiers)
        : carbonKeyCode_(carbonKeyCode), carbonModifiers_(carbonModifiers & CarbonModifier::all) {}
    // Control, Alt, Shift and Meta (as command) count; the rest is dropped.
    Shortcut(Key key, Qt::KeyboardModifiers modifiers)
        : Shortcut(key.rawValue, KeyBindings::carbonModifiers(modifiers)) {}

    // The stored shortcut of a Name (KeyBindings::getShortcut).
    static std::optional<Shortcut> fromName(const Name& name);

    qint64 carbonKeyCode() const { return carbonKeyCode_; }
    qint64 carbonModifiers() const { return carbonModifiers_; }
    Key key() const { return Key{carbonKeyCode_}; }
    // Without the function bit, which Qt has no modifier for.
    Qt::KeyboardModifiers modifiers() const { return qtModifiers(carbonModifiers_); }

    // The stored form, an object with the integer members "carbonKeyCode"
    // and "carbonModifiers".
    nlohmann::json toJson() const;
    // Nothing unless `json` is an object whose two members are integers that
    // fit in 64 bits; other members are ignored.
    static std::optional<Shortcut> fromJson(const nlohmann::json& json);

    // The key of a press or release with the Control, Alt, Shift and Super
    // keys held; nothing for other events and for keys without a Carbon code.
    static std::optional<Shortcut> fromKeyEvent(const QKeyEvent& event);

    // The modifier symbols, then the key: a special key's symbol or name, else
    // the character of the current layout capitalised ("⇧⌘K"), U+FFFD when it
    // types none.
    QString description() const;

    // The text a menu shows for the key: a special key's own (a plain space
    // for the space bar, U+F704… for F1…F20), else the layout's character;
    // nothing for keypad keys and keys that type nothing.
    std::optional<QString> keyEquivalent() const;

    // The same key as Qt names it: a special key as the Qt key its physical
    // key sends here, any other as its layout character upper-cased.
    // Nothing for keypad keys, keys that type nothing and a mask with the
    // function bit, which have no Qt form.
    std::optional<QKeySequence> keySequence() const;

    // Depth first, each action before its submenu: the first action one of
    // whose shortcuts is keySequence(); none when there is no key sequence.
    QAction* conflictingMenuItem(const QMenu& menu) const;
    QAction* conflictingMenuItem(const QMenuBar& menuBar) const;

    friend bool operator==(const Shortcut&, const Shortcut&) = default;

private:
    qint64 carbonKeyCode_;
    qint64 carbonModifiers_;
};

inline size_t qHash(const Shortcut& shortcut, size_t seed = 0) {
    return qHashMulti(seed, shortcut.carbonKeyCode(), shortcut.carbonModifiers());
}

// The character of a key that is not special in the current layout, unshifted.
std::optional<QString> layoutCharacter(qint64 carbonKeyCode);

}  // namespace tavlin::KeyBindings
