#include "keybindings/Key.h"
#include "keybindings/KeyCodes.h"
#include "keybindings/Modifiers.h"
#include "platform/HotKeyBackend.h"

#include <gtest/gtest.h>
#include <QSet>

#include <linux/input-event-codes.h>

using namespace tavlin::KeyBindings;
namespace X11 = tavlin::platform::X11Modifier;

TEST(KeyCodesTest, EveryKeyHasItsCarbonCodeAndItsPhysicalKey) {
    struct Case {
        const char* name;
        Key key;
        qint64 carbonKeyCode;
        quint32 evdevCode;
    };
    const Case cases[] = {
        {"a", Key::a, 0, KEY_A},
        {"b", Key::b, 11, KEY_B},
        {"c", Key::c, 8, KEY_C},
        {"d", Key::d, 2, KEY_D},
        {"e", Key::e, 14, KEY_E},
        {"f", Key::f, 3, KEY_F},
        {"g", Key::g, 5, KEY_G},
        {"h", Key::h, 4, KEY_H},
        {"i", Key::i, 34, KEY_I},
        {"j", Key::j, 38, KEY_J},
        {"k", Key::k, 40, KEY_K},
        {"l", Key::l, 37, KEY_L},
        {"m", Key::m, 46, KEY_M},
        {"n", Key::n, 45, KEY_N},
        {"o", Key::o, 31, KEY_O},
        {"p", Key::p, 35, KEY_P},
        {"q", Key::q, 12, KEY_Q},
        {"r", Key::r, 15, KEY_R},
        {"s", Key::s, 1, KEY_S},
        {"t", Key::t, 17, KEY_T},
        {"u", Key::u, 32, KEY_U},
        {"v", Key::v, 9, KEY_V},
        {"w", Key::w, 13, KEY_W},
        {"x", Key::x, 7, KEY_X},
        {"y", Key::y, 16, KEY_Y},
        {"z", Key::z, 6, KEY_Z},
        {"zero", Key::zero, 29, KEY_0},
        {"one", Key::one, 18, KEY_1},
        {"two", Key::two, 19, KEY_2},
        {"three", Key::three, 20, KEY_3},
        {"four", Key::four, 21, KEY_4},
        {"five", Key::five, 23, KEY_5},
        {"six", Key::six, 22, KEY_6},
        {"seven", Key::seven, 26, KEY_7},
        {"eight", Key::eight, 28, KEY_8},
        {"nine", Key::nine, 25, KEY_9},
        {"capsLock", Key::capsLock, 57, KEY_CAPSLOCK},
        {"shift", Key::shift, 56, KEY_LEFTSHIFT},
        {"function", Key::function, 63, KEY_FN},
        {"control", Key::control, 59, KEY_LEFTCTRL},
        {"option", Key::option, 58, KEY_LEFTALT},
        {"command", Key::command, 55, KEY_LEFTMETA},
        {"rightCommand", Key::rightCommand, 54, KEY_RIGHTMETA},
        {"rightOption", Key::rightOption, 61, KEY_RIGHTALT},
        {"rightControl", Key::rightControl, 62, KEY_RIGHTCTRL},
        {"rightShift", Key::rightShift, 60, KEY_RIGHTSHIFT},
        {"return_", Key::return_, 36, KEY_ENTER},
        {"backslash", Key::backslash, 42, KEY_BACKSLASH},
        {"grave", Key::grave, 50, KEY_GRAVE},
        {"comma", Key::comma, 43, KEY_COMMA},
        {"equal", Key::equal, 24, KEY_EQUAL},
        {"minus", Key::minus, 27, KEY_MINUS},
        {"period", Key::period, 47, KEY_DOT},
        {"quote", Key::quote, 39, KEY_APOSTROPHE},
        {"semicolon", Key::semicolon, 41, KEY_SEMICOLON},
        {"slash", Key::slash, 44, KEY_SLASH},
        {"space", Key::space, 49, KEY_SPACE},
        {"tab", Key::tab, 48, KEY_TAB},
        {"leftBracket", Key::leftBracket, 33, KEY_LEFTBRACE},
        {"rightBracket", Key::rightBracket, 30, KEY_RIGHTBRACE},
        {"pageUp", Key::pageUp, 116, KEY_PAGEUP},
        {"pageDown", Key::pageDown, 121, KEY_PAGEDOWN},
        {"home", Key::home, 115, KEY_HOME},
        {"end", Key::end, 119, KEY_END},
        {"upArrow", Key::upArrow, 126, KEY_UP},
        {"rightArrow", Key::rightArrow, 124, KEY_RIGHT},
        {"downArrow", Key::downArrow, 125, KEY_DOWN},
        {"leftArrow", Key::leftArrow, 123, KEY_LEFT},
        {"escape", Key::escape, 53, KEY_ESC},
        {"delete_", Key::delete_, 51, KEY_BACKSPACE},
        {"deleteForward", Key::deleteForward, 117, KEY_DELETE},
        {"help", Key::help, 114, KEY_INSERT},
        {"mute", Key::mute, 74, KEY_MUTE},
        {"volumeUp", Key::volumeUp, 72, KEY_VOLUMEUP},
        {"volumeDown", Key::volumeDown, 73, KEY_VOLUMEDOWN},
        {"f1", Key::f1, 122, KEY_F1},
        {"f2", Key::f2, 120, KEY_F2},
        {"f3", Key::f3, 99, KEY_F3},
        {"f4", Key::f4, 118, KEY_F4},
        {"f5", Key::f5, 96, KEY_F5},
        {"f6", Key::f6, 97, KEY_F6},
        {"f7", Key::f7, 98, KEY_F7},
        {"f8", Key::f8, 100, KEY_F8},
        {"f9", Key::f9, 101, KEY_F9},
        {"f10", Key::f10, 109, KEY_F10},
        {"f11", Key::f11, 103, KEY_F11},
        {"f12", Key::f12, 111, KEY_F12},
        {"f13", Key::f13, 105, KEY_F13},
        {"f14", Key::f14, 107, KEY_F14},
        {"f15", Key::f15, 113, KEY_F15},
        {"f16", Key::f16, 106, KEY_F16},
        {"f17", Key::f17, 64, KEY_F17},
        {"f18", Key::f18, 79, KEY_F18},
        {"f19", Key::f19, 80, KEY_F19},
        {"f20", Key::f20, 90, KEY_F20},
        {"keypad0", Key::keypad0, 82, KEY_KP0},
        {"keypad1", Key::keypad1, 83, KEY_KP1},
        {"keypad2", Key::keypad2, 84, KEY_KP2},
        {"keypad3", Key::keypad3, 85, KEY_KP3},
        {"keypad4", Key::keypad4, 86, KEY_KP4},
        {"keypad5", Key::keypad5, 87, KEY_KP5},
        {"keypad6", Key::keypad6, 88, KEY_KP6},
        {"keypad7", Key::keypad7, 89, KEY_KP7},
        {"keypad8", Key::keypad8, 91, KEY_KP8},
        {"keypad9", Key::keypad9, 92, KEY_KP9},
        {"keypadClear", Key::keypadClear, 71, KEY_NUMLOCK},
        {"keypadDecimal", Key::keypadDecimal, 65, KEY_KPDOT},
        {"keypadDivide", Key::keypadDivide, 75, KEY_KPSLASH},
        {"keypadEnter", Key::keypadEnter, 76, KEY_KPENTER},
        {"keypadEquals", Key::keypadEquals, 81, KEY_KPEQUAL},
        {"keypadMinus", Key::keypadMinus, 78, KEY_KPMINUS},
        {"keypadMultiply", Key::keypadMultiply, 67, KEY_KPASTERISK},
        {"keypadPlus", Key::keypadPlus, 69, KEY_KPPLUS},
    };
    ASSERT_EQ(std::size(cases), 113u);
    QSet<quint32> evdevCodes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.key.rawValue, c.carbonKeyCode);
        EXPECT_EQ(c.key, Key{c.carbonKeyCode});
        EXPECT_EQ(evdevCode(c.carbonKeyCode), c.evdevCode);
        evdevCodes.insert(c.evdevCode);
        // The way back, as key events arrive; X cannot number the Fn key.
        if (c.evdevCode + 8 <= 255) {
            EXPECT_EQ(x11KeyCode(c.carbonKeyCode), c.evdevCode + 8);
            EXPECT_EQ(carbonKeyCodeFromX11(c.evdevCode + 8), c.carbonKeyCode);
        } else {
            EXPECT_EQ(x11KeyCode(c.carbonKeyCode), std::nullopt);
        }
    }
    EXPECT_EQ(evdevCodes.size(), 113) << "two keys share a physical key";
}

TEST(KeyCodesTest, KnowsTheIsoKeyAndNothingElse) {
    EXPECT_EQ(evdevCode(10), KEY_102ND);
    for (const qint64 unknown : {-1, 52, 200, 1 << 20}) {
        SCOPED_TRACE(unknown);
        EXPECT_EQ(evdevCode(unknown), std::nullopt);
        EXPECT_EQ(x11KeyCode(unknown), std::nullopt);
    }
    for (const quint32 unknown : {0u, 7u, quint32(KEY_COMPOSE + 8)}) {
        SCOPED_TRACE(unknown);
        EXPECT_EQ(carbonKeyCodeFromX11(unknown), std::nullopt);
    }
}

TEST(ModifiersTest, ConvertBetweenCarbonQtAndX) {
    using namespace CarbonModifier;
    struct Case {
        const char* name;
        qint64 carbon;
        Qt::KeyboardModifiers qt;
        quint16 x11;
    };
    const Case cases[] = {
        {"none", 0, Qt::NoModifier, 0},
        {"command is Super", command, Qt::MetaModifier, X11::super},
        {"option is Alt", option, Qt::AltModifier, X11::alt},
        {"control", control, Qt::ControlModifier, X11::control},
        {"shift", shift, Qt::ShiftModifier, X11::shift},
        {"all four", command | option | control | shift,
         Qt::MetaModifier | Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier,
         X11::super | X11::alt | X11::control | X11::shift},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(carbonModifiers(c.qt), c.carbon);
        EXPECT_EQ(x11Modifiers(c.carbon), c.x11);
        EXPECT_EQ(carbonModifiersFromX11(c.x11), c.carbon);
    }
}

TEST(ModifiersTest, DropWhatTheOtherSideLacks) {
    using namespace CarbonModifier;
    EXPECT_EQ(carbonModifiers(Qt::KeypadModifier | Qt::GroupSwitchModifier | Qt::ControlModifier), control);
    EXPECT_EQ(carbonModifiersFromX11(X11::capsLock | X11::numLock | 0x80 | X11::alt), option);
    // X has no function modifier: a grab without it would take another key.
    EXPECT_EQ(x11Modifiers(function | command), std::nullopt);
}
