#include "keybindings/Key.h"
#include "keybindings/Shortcut.h"
#include "platform/KeyboardLayout.h"

#include "support/Printers.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

#include <nlohmann/json.hpp>

#include <linux/input-event-codes.h>

using namespace tavlin::KeyBindings;
using namespace Qt::StringLiterals;
using nlohmann::json;

namespace {

constexpr qint64 command = CarbonModifier::command;
constexpr qint64 shift = CarbonModifier::shift;
constexpr qint64 option = CarbonModifier::option;
constexpr qint64 control = CarbonModifier::control;
constexpr qint64 function = CarbonModifier::function;

}  // namespace

TEST(ShortcutTest, EncodesBothFieldsCompactlyInOrder) {
    struct Case {
        Shortcut shortcut;
        const char* text;
    };
    const Case cases[] = {
        {Shortcut(49, 256), R"({"carbonKeyCode":49,"carbonModifiers":256})"},
        {Shortcut(Key::k.rawValue, control | option), R"({"carbonKeyCode":40,"carbonModifiers":6144})"},
        {Shortcut(Key::a.rawValue, 0), R"({"carbonKeyCode":0,"carbonModifiers":0})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.shortcut.toJson().dump(), c.text);
        EXPECT_EQ(Shortcut::fromJson(json::parse(c.text)), c.shortcut);
    }
}

TEST(ShortcutTest, DecodesOnlyAnObjectWithTwoIntegers) {
    struct Case {
        const char* text;
        std::optional<Shortcut> shortcut;
    };
    const Case cases[] = {
        {R"({"carbonModifiers":256,"carbonKeyCode":49})", Shortcut(49, 256)},
        {R"({"carbonKeyCode":49,"carbonModifiers":256,"label":"x"})", Shortcut(49, 256)},
        // Caps Lock (0x400) and the side bits are not part of a shortcut.
        {R"({"carbonKeyCode":40,"carbonModifiers":1792})", Shortcut(40, command | shift)},
        {R"({"carbonKeyCode":49})", std::nullopt},
        {R"({"carbonModifiers":256})", std::nullopt},
        {R"({"carbonKeyCode":"49","carbonModifiers":256})", std::nullopt},
        {R"({"carbonKeyCode":49.5,"carbonModifiers":256})", std::nullopt},
        {R"({"carbonKeyCode":49,"carbonModifiers":null})", std::nullopt},
        {R"({"carbonKeyCode":18446744073709551615,"carbonModifiers":256})", std::nullopt},
        {R"("{\"carbonKeyCode\":49,\"carbonModifiers\":256}")", std::nullopt},
        {R"(false)", std::nullopt},
        {R"([49,256])", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Shortcut::fromJson(json::parse(c.text)), c.shortcut);
    }
}

TEST(ShortcutTest, KeepsOnlyTheFiveModifierBits) {
    EXPECT_EQ(Shortcut(40, -1).carbonModifiers(), command | shift | option | control | function);
    EXPECT_EQ(Shortcut(40, 0x400 | 0x2000 | command).carbonModifiers(), command);
}

TEST(ShortcutTest, EqualRecordsHashAlike) {
    const QSet<Shortcut> shortcuts{Shortcut(40, command), Shortcut(40, command | 0x400), Shortcut(40, shift),
                                   Shortcut(41, command)};
    EXPECT_EQ(shortcuts.size(), 3);
}

TEST(ShortcutTest, ShowsModifierSymbolsThenTheKey) {
    const ScopedVariable language("LANGUAGE", "en");
    struct Case {
        const char* name;
        Shortcut shortcut;
        QString text;
    };
    const Case cases[] = {
        {"letter, capitalised", Shortcut(Key::k.rawValue, command | shift), u"⇧⌘K"_s},
        {"every modifier in order", Shortcut(Key::f1.rawValue, 0x1B00), u"⌃⌥⇧⌘F1"_s},
        {"function after command", Shortcut(Key::a.rawValue, command | function), u"⌘\U0001F310\uFE0EA"_s},
        {"space bar by name", Shortcut(49, 256), u"⌘Space"_s},
        {"control and option with space", Shortcut(Key::space.rawValue, control | option), u"⌃⌥Space"_s},
        {"no modifiers", Shortcut(Key::slash.rawValue, 0), u"/"_s},
        {"digit, unshifted", Shortcut(Key::two.rawValue, shift), u"⇧2"_s},
        {"return", Shortcut(Key::return_.rawValue, command), u"⌘↩"_s},
        {"keypad enter", Shortcut(Key::keypadEnter.rawValue, 0), u"↩\u20E3"_s},
        {"keypad 0", Shortcut(Key::keypad0.rawValue, control), u"⌃0\u20E3"_s},
        {"backspace", Shortcut(Key::delete_.rawValue, 0), u"⌫"_s},
        {"forward delete", Shortcut(Key::deleteForward.rawValue, 0), u"⌦"_s},
        {"help", Shortcut(Key::help.rawValue, 0), u"?\u20DD"_s},
        {"F20", Shortcut(Key::f20.rawValue, option), u"⌥F20"_s},
        {"an arrow", Shortcut(Key::leftArrow.rawValue, command), u"⌘←"_s},
        {"a modifier key types nothing", Shortcut(Key::shift.rawValue, command), u"⌘\uFFFD"_s},
        {"a key X cannot number", Shortcut(Key::function.rawValue, 0), u"\uFFFD"_s},
        {"an unknown key code", Shortcut(200, command), u"⌘\uFFFD"_s},
        {"a negative key code", Shortcut(-1, 0), u"\uFFFD"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.shortcut.description(), c.text);
    }
}

TEST(ShortcutTest, NamesTheSpaceBarInThePreferredLanguage) {
    struct Case {
        QByteArray languages;
        QString text;
    };
    const Case cases[] = {
        {"de_DE", u"⌘Leertaste"_s},
        {"fr:de", u"⌘Espace"_s},
        {"ja:sv", u"⌘Mellanslag"_s},
        {"ja", u"⌘Space"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.languages.toStdString());
        const ScopedVariable language("LANGUAGE", c.languages);
        EXPECT_EQ(Shortcut(Key::space.rawValue, command).description(), c.text);
    }
}

TEST(ShortcutTest, CapitalisesInThePreferredLanguage) {
    const ScopedVariable language("LANGUAGE", "tr");
    EXPECT_EQ(Shortcut(Key::i.rawValue, command).description(), u"⌘İ"_s);
}

TEST(ShortcutTest, ComesFromAKeyEventByPhysicalKey) {
    struct Case {
        const char* name;
        QEvent::Type type;
        quint32 nativeScanCode;
        Qt::KeyboardModifiers modifiers;
        std::optional<Shortcut> shortcut;
    };
    const Case cases[] = {
        {"press", QEvent::KeyPress, KEY_K + 8, Qt::ControlModifier | Qt::AltModifier,
         Shortcut(Key::k.rawValue, control | option)},
        {"release", QEvent::KeyRelease, KEY_K + 8, Qt::MetaModifier | Qt::ShiftModifier,
         Shortcut(Key::k.rawValue, command | shift)},
        {"the keypad flag is dropped", QEvent::KeyPress, KEY_KP1 + 8, Qt::KeypadModifier,
         Shortcut(Key::keypad1.rawValue, 0)},
        {"a key without a Carbon code", QEvent::KeyPress, KEY_COMPOSE + 8, Qt::NoModifier, std::nullopt},
        {"no native key (offscreen)", QEvent::KeyPress, 0, Qt::ControlModifier, std::nullopt},
        {"not a key press or release", QEvent::ShortcutOverride, KEY_K + 8, Qt::ControlModifier, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QKeyEvent event(c.type, Qt::Key_K, c.modifiers, c.nativeScanCode, 0, 0);
        EXPECT_EQ(Shortcut::fromKeyEvent(event), c.shortcut);
    }
}

TEST(KeyboardLayoutTest, TypesTheCharacterOfThePhysicalKey) {
    struct Case {
        const char* name;
        QString layout;
        quint32 evdevCode;
        std::optional<QString> character;
    };
    const Case cases[] = {
        {"us letter", u"us"_s, KEY_K, u"k"_s},
        {"us digit unshifted", u"us"_s, KEY_2, u"2"_s},
        {"German swaps y and z", u"de"_s, KEY_Y, u"z"_s},
        {"German umlaut", u"de"_s, KEY_SEMICOLON, u"ö"_s},
        {"a dead key types nothing", u"de"_s, KEY_GRAVE, std::nullopt},
        {"Return is a control character", u"us"_s, KEY_ENTER, std::nullopt},
        {"Shift types nothing", u"us"_s, KEY_LEFTSHIFT, std::nullopt},
        {"an unknown layout", u"no-such-layout"_s, KEY_K, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tavlin::platform::KeyboardLayout::named(c.layout).character(c.evdevCode + 8), c.character);
    }
}

TEST(ShortcutTest, HasTheQtFormOfItsKey) {
    struct Case {
        const char* name;
        Shortcut shortcut;
        std::optional<QKeySequence> sequence;
        std::optional<QString> keyEquivalent;
    };
    const Case cases[] = {
        {"letter, upper-cased", Shortcut(Key::k.rawValue, control | shift), QKeySequence(u"Ctrl+Shift+K"_s), u"k"_s},
        {"command is Meta", Shortcut(Key::a.rawValue, command | option), QKeySequence(u"Meta+Alt+A"_s), u"a"_s},
        {"punctuation", Shortcut(Key::slash.rawValue, control), QKeySequence(u"Ctrl+/"_s), u"/"_s},
        {"digit, unshifted", Shortcut(Key::two.rawValue, shift | control), QKeySequence(u"Ctrl+Shift+2"_s), u"2"_s},
        {"delete is Backspace", Shortcut(Key::delete_.rawValue, command), QKeySequence(u"Meta+Backspace"_s), u"⌫"_s},
        {"forward delete", Shortcut(Key::deleteForward.rawValue, 0), QKeySequence(Qt::Key_Delete), u"⌦"_s},
        {"help is Insert", Shortcut(Key::help.rawValue, 0), QKeySequence(Qt::Key_Insert), u"?\u20DD"_s},
        {"return", Shortcut(Key::return_.rawValue, command), QKeySequence(u"Meta+Return"_s), u"↩"_s},
        {"space", Shortcut(Key::space.rawValue, control), QKeySequence(u"Ctrl+Space"_s), u" "_s},
        {"tab", Shortcut(Key::tab.rawValue, option), QKeySequence(u"Alt+Tab"_s), u"⇥"_s},
        {"escape", Shortcut(Key::escape.rawValue, 0), QKeySequence(Qt::Key_Escape), u"⎋"_s},
        {"page down", Shortcut(Key::pageDown.rawValue, 0), QKeySequence(Qt::Key_PageDown), u"⇟"_s},
        {"an arrow", Shortcut(Key::upArrow.rawValue, shift), QKeySequence(u"Shift+Up"_s), u"↑"_s},
        {"F1", Shortcut(Key::f1.rawValue, 0), QKeySequence(Qt::Key_F1), u"\uF704"_s},
        {"F20", Shortcut(Key::f20.rawValue, control), QKeySequence(u"Ctrl+F20"_s), u"\uF717"_s},
        {"keypad digit", Shortcut(Key::keypad0.rawValue, control), std::nullopt, std::nullopt},
        {"keypad enter", Shortcut(Key::keypadEnter.rawValue, 0), std::nullopt, std::nullopt},
        {"the function bit", Shortcut(Key::a.rawValue, command | function), std::nullopt, u"a"_s},
        {"a key that types nothing", Shortcut(Key::shift.rawValue, command), std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.shortcut.keySequence(), c.sequence);
        EXPECT_EQ(c.shortcut.keyEquivalent(), c.keyEquivalent);
    }
}

TEST(ShortcutTest, IsMadeFromAKeyAndQtModifiers) {
    const Shortcut shortcut(Key::k, Qt::ControlModifier | Qt::MetaModifier | Qt::KeypadModifier);
    EXPECT_EQ(shortcut, Shortcut(Key::k.rawValue, control | command));
    EXPECT_EQ(shortcut.key(), Key::k);
    EXPECT_EQ(shortcut.modifiers(), Qt::ControlModifier | Qt::MetaModifier);
    EXPECT_EQ(Shortcut(Key::k.rawValue, option | function).modifiers(), Qt::AltModifier);
}

TEST(ShortcutTest, FindsTheFirstMenuItemWithItsKeySequenceDepthFirst) {
    QMenuBar menuBar;
    QMenu* file = menuBar.addMenu(u"File"_s);
    QAction* close = file->addAction(u"Close"_s);
    close->setShortcuts({QKeySequence(u"Ctrl+W"_s), QKeySequence(u"Ctrl+F4"_s)});
    QMenu* recent = file->addMenu(u"Recent"_s);
    QAction* nested = recent->addAction(u"Reopen"_s);
    nested->setShortcut(QKeySequence(u"Ctrl+Shift+K"_s));
    QMenu* edit = menuBar.addMenu(u"Edit"_s);
    edit->addAction(u"Later"_s)->setShortcut(QKeySequence(u"Ctrl+Shift+K"_s));
    QAction* plainK = edit->addAction(u"Plain"_s);
    plainK->setShortcut(QKeySequence(u"Ctrl+K"_s));

    EXPECT_EQ(Shortcut(Key::k.rawValue, control | shift).conflictingMenuItem(menuBar), nested);
    EXPECT_EQ(Shortcut(Key::k.rawValue, control).conflictingMenuItem(menuBar), plainK) << "Shift is spelled out";
    EXPECT_EQ(Shortcut(Key::f4.rawValue, control).conflictingMenuItem(menuBar), close) << "a second shortcut";
    EXPECT_EQ(Shortcut(Key::k.rawValue, control | shift).conflictingMenuItem(*edit), edit->actions().first());
    EXPECT_EQ(Shortcut(Key::j.rawValue, control).conflictingMenuItem(menuBar), nullptr);
    EXPECT_EQ(Shortcut(Key::keypad1.rawValue, control).conflictingMenuItem(menuBar), nullptr) << "no key sequence";
}
