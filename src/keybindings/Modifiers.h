#pragma once

#include <QString>
#include <Qt>

#include <optional>

namespace tavlin::KeyBindings {

// The bits of a Carbon modifier mask, the form shortcuts are kept in.
// Command is the Super key here, Option the Alt key.
namespace CarbonModifier {
inline constexpr qint64 command = 0x100;
inline constexpr qint64 shift = 0x200;
inline constexpr qint64 option = 0x800;
inline constexpr qint64 control = 0x1000;
inline constexpr qint64 function = 0x20000;
// Every bit a shortcut keeps; the rest (Caps Lock, the side bits) are dropped.
inline constexpr qint64 all = command | shift | option | control | function;
}  // namespace CarbonModifier

// The symbols of the modifiers present, in the order ⌃⌥⇧⌘ and then the
// globe of the function key.
QString symbolicRepresentation(qint64 carbonModifiers);

// The conversions between the three vocabularies; each drops what it does
// not know. Qt has no function modifier, X has none at all: a mask with the
// function bit has no X form.
qint64 carbonModifiers(Qt::KeyboardModifiers modifiers);
// Command is Meta, Option Alt.
Qt::KeyboardModifiers qtModifiers(qint64 carbonModifiers);
std::optional<quint16> x11Modifiers(qint64 carbonModifiers);
qint64 carbonModifiersFromX11(quint16 x11Modifiers);

}  // namespace tavlin::KeyBindings
