#include "keybindings/Shortcut.h"

#include "keybindings/KeyCodes.h"
#include "keybindings/SpecialKey.h"
#include "platform/IcuString.h"
#include "platform/KeyboardLayout.h"
#include "platform/Locale.h"

#include <QKeyEvent>

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

}  // namespace

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

std::optional<QString> layoutCharacter(qint64 carbonKeyCode) {
    if (specialKey(carbonKeyCode)) return std::nullopt;
    const std::optional<quint32> keyCode = x11KeyCode(carbonKeyCode);
    if (!keyCode) return std::nullopt;
    return platform::KeyboardLayout::current().character(*keyCode);
}

}  // namespace tavlin::KeyBindings
