#pragma once

#include "keybindings/Modifiers.h"

#include <QHashFunctions>
#include <QString>

#include <nlohmann/json_fwd.hpp>

#include <optional>

class QKeyEvent;

namespace tavlin::KeyBindings {

// One key with modifiers, as a Carbon virtual key code (a physical key, see
// Key) and a Carbon modifier mask. It holds only the bits of
// CarbonModifier::all.
class Shortcut {
public:
    constexpr Shortcut(qint64 carbonKeyCode, qint64 carbonModifiers)
        : carbonKeyCode_(carbonKeyCode), carbonModifiers_(carbonModifiers & CarbonModifier::all) {}

    qint64 carbonKeyCode() const { return carbonKeyCode_; }
    qint64 carbonModifiers() const { return carbonModifiers_; }

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
