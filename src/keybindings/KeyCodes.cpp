#include "keybindings/KeyCodes.h"

#include "keybindings/Key.h"
#include "keybindings/TableLookup.h"
#include "platform/HotKeyBackend.h"

#include <linux/input-event-codes.h>

#include <QHash>

#include <iterator>
#include <utility>

namespace tavlin::KeyBindings {

namespace {

constexpr quint32 kX11Offset = 8;

// Carbon virtual key code → evdev code, by physical position.
constexpr std::pair<Key, quint32> kEvdevCodes[] = {
    {Key::a, KEY_A},
    {Key::b, KEY_B},
    {Key::c, KEY_C},
    {Key::d, KEY_D},
    {Key::e, KEY_E},
    {Key::f, KEY_F},
    {Key::g, KEY_G},
    {Key::h, KEY_H},
    {Key::i, KEY_I},
    {Key::j, KEY_J},
    {Key::k, KEY_K},
    {Key::l, KEY_L},
    {Key::m, KEY_M},
    {Key::n, KEY_N},
    {Key::o, KEY_O},
    {Key::p, KEY_P},
    {Key::q, KEY_Q},
    {Key::r, KEY_R},
    {Key::s, KEY_S},
    {Key::t, KEY_T},
    {Key::u, KEY_U},
    {Key::v, KEY_V},
    {Key::w, KEY_W},
    {Key::x, KEY_X},
    {Key::y, KEY_Y},
    {Key::z, KEY_Z},
    {Key::zero, KEY_0},
    {Key::one, KEY_1},
    {Key::two, KEY_2},
    {Key::three, KEY_3},
    {Key::four, KEY_4},
    {Key::five, KEY_5},
    {Key::six, KEY_6},
    {Key::seven, KEY_7},
    {Key::eight, KEY_8},
    {Key::nine, KEY_9},
    {Key::capsLock, KEY_CAPSLOCK},
    {Key::shift, KEY_LEFTSHIFT},
    {Key::function, KEY_FN},
    {Key::control, KEY_LEFTCTRL},
    {Key::option, KEY_LEFTALT},
    {Key::command, KEY_LEFTMETA},
    {Key::rightCommand, KEY_RIGHTMETA},
    {Key::rightOption, KEY_RIGHTALT},
    {Key::rightControl, KEY_RIGHTCTRL},
    {Key::rightShift, KEY_RIGHTSHIFT},
    {Key::return_, KEY_ENTER},
    {Key::backslash, KEY_BACKSLASH},
    {Key::grave, KEY_GRAVE},
    {Key::comma, KEY_COMMA},
    {Key::equal, KEY_EQUAL},
    {Key::minus, KEY_MINUS},
    {Key::period, KEY_DOT},
    {Key::quote, KEY_APOSTROPHE},
    {Key::semicolon, KEY_SEMICOLON},
    {Key::slash, KEY_SLASH},
    {Key::space, KEY_SPACE},
    {Key::tab, KEY_TAB},
    {Key::leftBracket, KEY_LEFTBRACE},
    {Key::rightBracket, KEY_RIGHTBRACE},
    {Key::pageUp, KEY_PAGEUP},
    {Key::pageDown, KEY_PAGEDOWN},
    {Key::home, KEY_HOME},
    {Key::end, KEY_END},
    {Key::upArrow, KEY_UP},
    {Key::rightArrow, KEY_RIGHT},
    {Key::downArrow, KEY_DOWN},
    {Key::leftArrow, KEY_LEFT},
    {Key::escape, KEY_ESC},
    {Key::delete_, KEY_BACKSPACE},
    {Key::deleteForward, KEY_DELETE},
    // The key in the Insert position, which Carbon calls Help.
    {Key::help, KEY_INSERT},
    {Key::mute, KEY_MUTE},
    {Key::volumeUp, KEY_VOLUMEUP},
    {Key::volumeDown, KEY_VOLUMEDOWN},
    {Key::f1, KEY_F1},
    {Key::f2, KEY_F2},
    {Key::f3, KEY_F3},
    {Key::f4, KEY_F4},
    {Key::f5, KEY_F5},
    {Key::f6, KEY_F6},
    {Key::f7, KEY_F7},
    {Key::f8, KEY_F8},
    {Key::f9, KEY_F9},
    {Key::f10, KEY_F10},
    {Key::f11, KEY_F11},
    {Key::f12, KEY_F12},
    {Key::f13, KEY_F13},
    {Key::f14, KEY_F14},
    {Key::f15, KEY_F15},
    {Key::f16, KEY_F16},
    {Key::f17, KEY_F17},
    {Key::f18, KEY_F18},
    {Key::f19, KEY_F19},
    {Key::f20, KEY_F20},
    {Key::keypad0, KEY_KP0},
    {Key::keypad1, KEY_KP1},
    {Key::keypad2, KEY_KP2},
    {Key::keypad3, KEY_KP3},
    {Key::keypad4, KEY_KP4},
    {Key::keypad5, KEY_KP5},
    {Key::keypad6, KEY_KP6},
    {Key::keypad7, KEY_KP7},
    {Key::keypad8, KEY_KP8},
    {Key::keypad9, KEY_KP9},
    // Clear sits where PC keyboards have Num Lock, and sends it.
    {Key::keypadClear, KEY_NUMLOCK},
    {Key::keypadDecimal, KEY_KPDOT},
    {Key::keypadDivide, KEY_KPSLASH},
    {Key::keypadEnter, KEY_KPENTER},
    {Key::keypadEquals, KEY_KPEQUAL},
    {Key::keypadMinus, KEY_KPMINUS},
    {Key::keypadMultiply, KEY_KPASTERISK},
    {Key::keypadPlus, KEY_KPPLUS},
    // The extra key of ISO keyboards, beside the left Shift.
    {Key{10}, KEY_102ND},
};

// A key with two codes, or a code of two keys, would make the two lookups
// disagree.
constexpr bool codesAreUnique() {
    for (std::size_t i = 0; i < std::size(kEvdevCodes); ++i)
        for (std::size_t j = i + 1; j < std::size(kEvdevCodes); ++j)
            if (kEvdevCodes[i].first == kEvdevCodes[j].first || kEvdevCodes[i].second == kEvdevCodes[j].second)
                return false;
    return true;
}
static_assert(codesAreUnique());

const QHash<qint64, quint32>& evdevByCarbon() {
    static const QHash<qint64, quint32> table = [] {
        QHash<qint64, quint32> codes;
        for (const auto& [key, evdev] : kEvdevCodes) codes.insert(key.rawValue, evdev);
        return codes;
    }();
    return table;
}

const QHash<quint32, qint64>& carbonByEvdev() {
    static const QHash<quint32, qint64> table = [] {
        QHash<quint32, qint64> codes;
        for (const auto& [key, evdev] : kEvdevCodes) codes.insert(evdev, key.rawValue);
        return codes;
    }();
    return table;
}

}  // namespace

std::optional<quint32> evdevCode(qint64 carbonKeyCode) { return lookUp(evdevByCarbon(), carbonKeyCode); }

std::optional<quint32> x11KeyCode(qint64 carbonKeyCode) {
    const std::optional<quint32> evdev = evdevCode(carbonKeyCode);
    if (!evdev || *evdev + kX11Offset > platform::KeyChord::maxKeyCode) return std::nullopt;
    return *evdev + kX11Offset;
}

std::optional<qint64> carbonKeyCodeFromX11(quint32 x11KeyCode) {
    if (x11KeyCode < kX11Offset) return std::nullopt;
    return lookUp(carbonByEvdev(), x11KeyCode - kX11Offset);
}

}  // namespace tavlin::KeyBindings
