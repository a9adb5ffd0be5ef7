#include "keybindings/Shortcut.h"

#include "keybindings/KeyBindings.h"
#include "keybindings/KeyCodes.h"
#include "keybindings/SpecialKey.h"
#include "platform/IcuString.h"
#include "platform/KeyboardLayout.h"
#include "platform/Locale.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include <nlohmann/json.hpp>

#include <limits>

using nlohmann::json;
using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

constexpr char kKeyCodeField[] = "carbonKeyCode";
constexpr char kModifiersField[] = "carbonModifiers";

std::optional<qint64> integerMember(const json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_number_integer()) return std::nullopt;
    // Unsigned values beyond the signed range would wrap.
    if (found->is_number_unsigned() && found->get<quint64>() > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return found->get<qint64>();
}

// "k" becomes "K", in the rules of the user's language ("i" is "İ" in Turkish).
QString capitalized(const QString& character) {
    // Never empty: without a language set, the user's is "en-US".
    const platform::Locale locale(platform::Locale::preferredLanguages().first());
    icu::UnicodeString text = platform::icuView(character);
    return platform::fromIcu(text.toTitle(nullptr, locale.icu()));
}

QAction* findAction(const QList<QAction*>& actions, const QKeySequence& sequence) {
    for (QAction* action : actions) {
        if (action->shortcuts().contains(sequence)) return action;
        if (const QMenu* submenu = action->menu())
            if (QAction* found = findAction(submenu->actions(), sequence)) return found;
    }
    return nullptr;
}

}  // namespace

std::optional<Shortcut> Shortcut::fromName(const Name& name) { return getShortcut(name); }

json Shortcut::toJson() const { return json{{kKeyCodeField, carbonKeyCode_}, {kModifiersField, carbonModifiers_}}; }

std::optional<Shortcut> Shortcut::fromJson(const json& json) {
    if (!json.is_object()) return std::nullopt;
    const std::optional<qint64> keyCode = integerMember(json, kKeyCodeField);
    const std::optional<qint64> modifiers = integerMember(json, kModifiersField);
    if (!keyCode || !modifiers) return std::nullopt;
    return Shortcut(*keyCode, *modifiers);
}

std::optional<Shortcut> Shortcut::fromKeyEvent(const QKeyEvent& event) {
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::KeyRelease) return std::nullopt;
    const std::optional<qint64> keyCode = carbonKeyCodeFromX11(event.nativeScanCode());
    if (!keyCode) return std::nullopt;
    return Shortcut(*keyCode, KeyBindings::carbonModifiers(event.modifiers()));
}

QString Shortcut::description() const {
    const QString symbols = symbolicRepresentation(carbonModifiers_);
    if (const std::optional<SpecialKey> special = specialKey(carbonKeyCode_)) return symbols + displayText(*special);
    return symbols + capitalized(layoutCharacter(carbonKeyCode_).value_or(u"\uFFFD"_s));
}

std::optional<QString> Shortcut::keyEquivalent() const {
    if (const std::optional<SpecialKey> special = specialKey(carbonKeyCode_))
        return KeyBindings::keyEquivalent(*special);
    return layoutCharacter(carbonKeyCode_);
}

std::optional<QKeySequence> Shortcut::keySequence() const {
    if (carbonModifiers_ & CarbonModifier::function) return std::nullopt;
    std::optional<int> key;
    if (const std::optional<SpecialKey> special = specialKey(carbonKeyCode_)) {
        key = qtKey(*special);
    } else if (const std::optional<QString> character = layoutCharacter(carbonKeyCode_)) {
        // Qt names a character key by its upper-case code point.
        key = int(QChar::toUpper(character->toUcs4().constFirst()));
    }
    if (!key) return std::nullopt;
    return QKeySequence(QKeyCombination(modifiers(), Qt::Key(*key)));
}

QAction* Shortcut::conflictingMenuItem(const QMenu& menu) const {
    const std::optional<QKeySequence> sequence = keySequence();
    return sequence ? findAction(menu.actions(), *sequence) : nullptr;
}

QAction* Shortcut::conflictingMenuItem(const QMenuBar& menuBar) const {
    const std::optional<QKeySequence> sequence = keySequence();
    return sequence ? findAction(menuBar.actions(), *sequence) : nullptr;
}

std::optional<QString> layoutCharacter(qint64 carbonKeyCode) {
    if (specialKey(carbonKeyCode)) return std::nullopt;
    const std::optional<quint32> keyCode = x11KeyCode(carbonKeyCode);
    if (!keyCode) return std::nullopt;
    return platform::KeyboardLayout::current().character(*keyCode);
}

}  // namespace tavlin::KeyBindings
