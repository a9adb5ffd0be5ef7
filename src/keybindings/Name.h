#pragma once

#include "keybindings/Shortcut.h"

#include <QHashFunctions>
#include <QString>

#include <optional>
#include <string>

namespace tavlin::KeyBindings {

// A named slot for one global shortcut. Names are equal, and hash alike, by
// their raw value alone.
class Name {
public:
    // The shortcut of a fresh installation. A Name with a default stores it
    // when nothing at all is stored under its key yet (so a shortcut the user
    // cleared stays cleared), which needs a KeyBindings::Module.
    explicit Name(QString rawValue, std::optional<Shortcut> defaultShortcut = std::nullopt);

    // The application's one Name: the hot key of the panel, no default.
    static const Name togglePanel;

    const QString& rawValue() const { return rawValue_; }
    const std::optional<Shortcut>& defaultShortcut() const { return defaultShortcut_; }
    // The user default its shortcut is stored under: "KeyBindings_" + raw value.
    std::string userDefaultsKey() const;

    // KeyBindings::getShortcut and setShortcut for this Name.
    std::optional<Shortcut> shortcut() const;
    void setShortcut(const std::optional<Shortcut>& shortcut) const;

    friend bool operator==(const Name& a, const Name& b) { return a.rawValue_ == b.rawValue_; }

private:
    QString rawValue_;
    std::optional<Shortcut> defaultShortcut_;
};

inline size_t qHash(const Name& name, size_t seed = 0) { return qHash(name.rawValue(), seed); }

}  // namespace tavlin::KeyBindings
