#include "keybindings/SpecialKey.h"

#include "keybindings/Key.h"
#include "keybindings/TableLookup.h"
#include "keybindings/Texts.h"

#include <QHash>

#include <iterator>

using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

struct SpecialKeyEntry {
    Key key;
    SpecialKey special;
    const char16_t* text;  // null for the space bar, which is named in words
    // What the physical key sends here; none for the keypad, whose keys send
    // digits or arrows depending on Num Lock.
    Qt::Key qtKey;
};

// U+20DD and U+20E3 are the combining enclosing circle and keycap.
constexpr SpecialKeyEntry kSpecialKeys[] = {
    {Key::return_, SpecialKey::return_, u"↩", Qt::Key_Return},
    {Key::delete_, SpecialKey::delete_, u"⌫", Qt::Key_Backspace},
    {Key::deleteForward, SpecialKey::deleteForward, u"⌦", Qt::Key_Delete},
    {Key::end, SpecialKey::end, u"↘", Qt::Key_End},
    {Key::escape, SpecialKey::escape, u"⎋", Qt::Key_Escape},
    {Key::help, SpecialKey::help, u"?\u20DD", Qt::Key_Insert},
    {Key::home, SpecialKey::home, u"↖", Qt::Key_Home},
    {Key::space, SpecialKey::space, nullptr, Qt::Key_Space},
    {Key::tab, SpecialKey::tab, u"⇥", Qt::Key_Tab},
    {Key::pageUp, SpecialKey::pageUp, u"⇞", Qt::Key_PageUp},
    {Key::pageDown, SpecialKey::pageDown, u"⇟", Qt::Key_PageDown},
    {Key::upArrow, SpecialKey::upArrow, u"↑", Qt::Key_Up},
    {Key::rightArrow, SpecialKey::rightArrow, u"→", Qt::Key_Right},
    {Key::downArrow, SpecialKey::downArrow, u"↓", Qt::Key_Down},
    {Key::leftArrow, SpecialKey::leftArrow, u"←", Qt::Key_Left},
    {Key::f1, SpecialKey::f1, u"F1", Qt::Key_F1},
    {Key::f2, SpecialKey::f2, u"F2", Qt::Key_F2},
    {Key::f3, SpecialKey::f3, u"F3", Qt::Key_F3},
    {Key::f4, SpecialKey::f4, u"F4", Qt::Key_F4},
    {Key::f5, SpecialKey::f5, u"F5", Qt::Key_F5},
    {Key::f6, SpecialKey::f6, u"F6", Qt::Key_F6},
    {Key::f7, SpecialKey::f7, u"F7", Qt::Key_F7},
    {Key::f8, SpecialKey::f8, u"F8", Qt::Key_F8},
    {Key::f9, SpecialKey::f9, u"F9", Qt::Key_F9},
    {Key::f10, SpecialKey::f10, u"F10", Qt::Key_F10},
    {Key::f11, SpecialKey::f11, u"F11", Qt::Key_F11},
    {Key::f12, SpecialKey::f12, u"F12", Qt::Key_F12},
    {Key::f13, SpecialKey::f13, u"F13", Qt::Key_F13},
    {Key::f14, SpecialKey::f14, u"F14", Qt::Key_F14},
    {Key::f15, SpecialKey::f15, u"F15", Qt::Key_F15},
    {Key::f16, SpecialKey::f16, u"F16", Qt::Key_F16},
    {Key::f17, SpecialKey::f17, u"F17", Qt::Key_F17},
    {Key::f18, SpecialKey::f18, u"F18", Qt::Key_F18},
    {Key::f19, SpecialKey::f19, u"F19", Qt::Key_F19},
    {Key::f20, SpecialKey::f20, u"F20", Qt::Key_F20},
    {Key::keypad0, SpecialKey::keypad0, u"0\u20E3", Qt::Key_unknown},
    {Key::keypad1, SpecialKey::keypad1, u"1\u20E3", Qt::Key_unknown},
    {Key::keypad2, SpecialKey::keypad2, u"2\u20E3", Qt::Key_unknown},
    {Key::keypad3, SpecialKey::keypad3, u"3\u20E3", Qt::Key_unknown},
    {Key::keypad4, SpecialKey::keypad4, u"4\u20E3", Qt::Key_unknown},
    {Key::keypad5, SpecialKey::keypad5, u"5\u20E3", Qt::Key_unknown},
    {Key::keypad6, SpecialKey::keypad6, u"6\u20E3", Qt::Key_unknown},
    {Key::keypad7, SpecialKey::keypad7, u"7\u20E3", Qt::Key_unknown},
    {Key::keypad8, SpecialKey::keypad8, u"8\u20E3", Qt::Key_unknown},
    {Key::keypad9, SpecialKey::keypad9, u"9\u20E3", Qt::Key_unknown},
    {Key::keypadClear, SpecialKey::keypadClear, u"☒\u20E3", Qt::Key_unknown},
    {Key::keypadDecimal, SpecialKey::keypadDecimal, u".\u20E3", Qt::Key_unknown},
    {Key::keypadDivide, SpecialKey::keypadDivide, u"/\u20E3", Qt::Key_unknown},
    {Key::keypadEnter, SpecialKey::keypadEnter, u"↩\u20E3", Qt::Key_unknown},
    {Key::keypadEquals, SpecialKey::keypadEquals, u"=\u20E3", Qt::Key_unknown},
    {Key::keypadMinus, SpecialKey::keypadMinus, u"-\u20E3", Qt::Key_unknown},
    {Key::keypadMultiply, SpecialKey::keypadMultiply, u"*\u20E3", Qt::Key_unknown},
    {Key::keypadPlus, SpecialKey::keypadPlus, u"+\u20E3", Qt::Key_unknown},
};

constexpr bool tableFollowsTheEnumeration() {
    for (std::size_t i = 0; i < std::size(kSpecialKeys); ++i)
        if (kSpecialKeys[i].special != SpecialKey(i)) return false;
    return true;
}
static_assert(std::size(kSpecialKeys) == 53 && tableFollowsTheEnumeration());

const SpecialKeyEntry& entry(SpecialKey key) { return kSpecialKeys[std::size_t(key)]; }

bool isKeypadKey(SpecialKey key) { return key >= SpecialKey::keypad0; }

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
    const char16_t* text = entry(key).text;
    return text ? QString::fromUtf16(text) : localizedString("space_key");
}

std::optional<QString> keyEquivalent(SpecialKey key) {
    if (isKeypadKey(key)) return std::nullopt;
    if (key == SpecialKey::space) return u" "_s;
    // The private-use characters that menus elsewhere give F1 to F20.
    if (key >= SpecialKey::f1) return QString(QChar(0xF704 + (int(key) - int(SpecialKey::f1))));
    return displayText(key);
}

std::optional<Qt::Key> qtKey(SpecialKey key) {
    const Qt::Key qtKey = entry(key).qtKey;
    if (qtKey == Qt::Key_unknown) return std::nullopt;
    return qtKey;
}

}  // namespace tavlin::KeyBindings
