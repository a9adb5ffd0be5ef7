#include "keybindings/Modifiers.h"

#include "platform/HotKeyBackend.h"

using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

namespace X11Modifier = platform::X11Modifier;

struct ModifierKey {
    qint64 carbon;
    Qt::KeyboardModifier qt;
    quint16 x11;
    char16_t symbol;
};

// In the order of their symbols.
constexpr ModifierKey kModifierKeys[] = {
    {CarbonModifier::control, Qt::ControlModifier, X11Modifier::control, u'⌃'},
    {CarbonModifier::option, Qt::AltModifier, X11Modifier::alt, u'⌥'},
    {CarbonModifier::shift, Qt::ShiftModifier, X11Modifier::shift, u'⇧'},
    {CarbonModifier::command, Qt::MetaModifier, X11Modifier::super, u'⌘'},
};

// The X column names every modifier a grabbed chord reports, and no other.
constexpr quint16 x11Column() {
    quint16 mask = 0;
    for (const ModifierKey& key : kModifierKeys) mask |= key.x11;
    return mask;
}
static_assert(x11Column() == platform::KeyChord::modifierMask);

}  // namespace

QString symbolicRepresentation(qint64 carbonModifiers) {
    QString symbols;
    for (const ModifierKey& key : kModifierKeys)
        if (carbonModifiers & key.carbon) symbols += QChar(key.symbol);
    // The globe, shown as text rather than as an emoji.
    if (carbonModifiers & CarbonModifier::function) symbols += u"\U0001F310\uFE0E"_s;
    return symbols;
}

qint64 carbonModifiers(Qt::KeyboardModifiers modifiers) {
    qint64 mask = 0;
    for (const ModifierKey& key : kModifierKeys)
        if (modifiers.testFlag(key.qt)) mask |= key.carbon;
    return mask;
}

Qt::KeyboardModifiers qtModifiers(qint64 carbonModifiers) {
    Qt::KeyboardModifiers modifiers;
    for (const ModifierKey& key : kModifierKeys)
        if (carbonModifiers & key.carbon) modifiers |= key.qt;
    return modifiers;
}

std::optional<quint16> x11Modifiers(qint64 carbonModifiers) {
    if (carbonModifiers & CarbonModifier::function) return std::nullopt;
    quint16 mask = 0;
    for (const ModifierKey& key : kModifierKeys)
        if (carbonModifiers & key.carbon) mask |= key.x11;
    return mask;
}

qint64 carbonModifiersFromX11(quint16 x11Modifiers) {
    qint64 mask = 0;
    for (const ModifierKey& key : kModifierKeys)
        if (x11Modifiers & key.x11) mask |= key.carbon;
    return mask;
}

}  // namespace tavlin::KeyBindings
