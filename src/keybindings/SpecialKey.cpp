#include "keybindings/SpecialKey.h"

#include "keybindings/Key.h"
#include "keybindings/TableLookup.h"
#include "keybindings/Texts.h"

#include <QHash>

#include <iterator>

namespace tavlin::KeyBindings {

namespace {

struct SpecialKeyEntry {
    Key key;
    SpecialKey special;
    const char16_t* text;  // null for the space bar, which is named in words
};

// U+20DD and U+20E3 are the combining enclosing circle and keycap.
constexpr SpecialKeyEntry kSpecialKeys[] = {
    {Key::return_, SpecialKey::return_, u"↩"},
    {Key::delete_, SpecialKey::delete_, u"⌫"},
    {Key::deleteForward, SpecialKey::deleteForward, u"⌦"},
    {Key::end, SpecialKey::end, u"↘"},
    {Key::escape, SpecialKey::escape, u"⎋"},
    {Key::help, SpecialKey::help, u"?\u20DD"},
    {Key::home, SpecialKey::home, u"↖"},
    {Key::space, SpecialKey::space, nullptr},
    {Key::tab, SpecialKey::tab, u"⇥"},
    {Key::pageUp, SpecialKey::pageUp, u"⇞"},
    {Key::pageDown, SpecialKey::pageDown, u"⇟"},
    {Key::upArrow, SpecialKey::upArrow, u"↑"},
    {Key::rightArrow, SpecialKey::rightArrow, u"→"},
    {Key::downArrow, SpecialKey::downArrow, u"↓"},
    {Key::leftArrow, SpecialKey::leftArrow, u"←"},
    {Key::f1, SpecialKey::f1, u"F1"},
    {Key::f2, SpecialKey::f2, u"F2"},
    {Key::f3, SpecialKey::f3, u"F3"},
    {Key::f4, SpecialKey::f4, u"F4"},
    {Key::f5, SpecialKey::f5, u"F5"},
    {Key::f6, SpecialKey::f6, u"F6"},
    {Key::f7, SpecialKey::f7, u"F7"},
    {Key::f8, SpecialKey::f8, u"F8"},
    {Key::f9, SpecialKey::f9, u"F9"},
    {Key::f10, SpecialKey::f10, u"F10"},
    {Key::f11, SpecialKey::f11, u"F11"},
    {Key::f12, SpecialKey::f12, u"F12"},
    {Key::f13, SpecialKey::f13, u"F13"},
    {Key::f14, SpecialKey::f14, u"F14"},
    {Key::f15, SpecialKey::f15, u"F15"},
    {Key::f16, SpecialKey::f16, u"F16"},
    {Key::f17, SpecialKey::f17, u"F17"},
    {Key::f18, SpecialKey::f18, u"F18"},
    {Key::f19, SpecialKey::f19, u"F19"},
    {Key::f20, SpecialKey::f20, u"F20"},
    {Key::keypad0, SpecialKey::keypad0, u"0\u20E3"},
    {Key::keypad1, SpecialKey::keypad1, u"1\u20E3"},
    {Key::keypad2, SpecialKey::keypad2, u"2\u20E3"},
    {Key::keypad3, SpecialKey::keypad3, u"3\u20E3"},
    {Key::keypad4, SpecialKey::keypad4, u"4\u20E3"},
    {Key::keypad5, SpecialKey::keypad5, u"5\u20E3"},
    {Key::keypad6, SpecialKey::keypad6, u"6\u20E3"},
    {Key::keypad7, SpecialKey::keypad7, u"7\u20E3"},
    {Key::keypad8, SpecialKey::keypad8, u"8\u20E3"},
    {Key::keypad9, SpecialKey::keypad9, u"9\u20E3"},
    {Key::keypadClear, SpecialKey::keypadClear, u"☒\u20E3"},
    {Key::keypadDecimal, SpecialKey::keypadDecimal, u".\u20E3"},
    {Key::keypadDivide, SpecialKey::keypadDivide, u"/\u20E3"},
    {Key::keypadEnter, SpecialKey::keypadEnter, u"↩\u20E3"},
    {Key::keypadEquals, SpecialKey::keypadEquals, u"=\u20E3"},
    {Key::keypadMinus, SpecialKey::keypadMinus, u"-\u20E3"},
    {Key::keypadMultiply, SpecialKey::keypadMultiply, u"*\u20E3"},
    {Key::keypadPlus, SpecialKey::keypadPlus, u"+\u20E3"},
};

constexpr bool tableFollowsTheEnumeration() {
    for (std::size_t i = 0; i < std::size(kSpecialKeys); ++i)
        if (kSpecialKeys[i].special != SpecialKey(i)) return false;
    return true;
}
static_assert(std::size(kSpecialKeys) == 53 && tableFollowsTheEnumeration());

}  // namespace

std::optional<SpecialKey> specialKey(qint64 carbonKeyCode) {
    static const QHash<qint64, SpecialKey> byKeyCode = [] {
        QHash<qint64, SpecialKey> keys;
        for (const SpecialKeyEntry& entry : kSpecialKeys) keys.insert(entry.key.rawValue, entry.special);
        return keys;
    }();
    return lookUp(byKeyCode, carbonKeyCode);
}

QString displayText(SpecialKey key) {
    const char16_t* text = kSpecialKeys[std::size_t(key)].text;
    return text ? QString::fromUtf16(text) : localizedString("space_key");
}

}  // namespace tavlin::KeyBindings
