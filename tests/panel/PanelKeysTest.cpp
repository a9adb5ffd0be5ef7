#include "panel/PanelKeys.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavlin::panel;

namespace {

constexpr auto none = Qt::NoModifier;
constexpr auto shift = Qt::ShiftModifier;
constexpr auto ctrl = Qt::ControlModifier;
constexpr auto alt = Qt::AltModifier;
constexpr auto meta = Qt::MetaModifier;
constexpr auto keypad = Qt::KeypadModifier;

}  // namespace

TEST(PanelKeys, ListKeys) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool textHasFocus;
        std::optional<PanelListKey> listKey;
    };
    const Case cases[] = {
        {Qt::Key_Down, none, false, PanelListKey::down},
        {Qt::Key_Up, none, false, PanelListKey::up},
        {Qt::Key_Down, shift, false, PanelListKey::extendDown},
        {Qt::Key_Up, shift, false, PanelListKey::extendUp},
        {Qt::Key_Space, none, false, PanelListKey::space},
        {Qt::Key_Return, none, false, PanelListKey::return_},
        {Qt::Key_Enter, keypad, false, PanelListKey::return_},
        {Qt::Key_Down, keypad, false, PanelListKey::down},
        {Qt::Key_Space, shift, false, std::nullopt},
        {Qt::Key_Return, shift, false, std::nullopt},
        {Qt::Key_Enter, shift | keypad, false, std::nullopt},
        {Qt::Key_Down, alt, false, std::nullopt},
        {Qt::Key_Down, ctrl, false, std::nullopt},
        {Qt::Key_Down, meta, false, std::nullopt},
        {Qt::Key_Up, shift | ctrl, false, std::nullopt},
        {Qt::Key_Left, none, false, std::nullopt},
        {Qt::Key_A, none, false, std::nullopt},
        {Qt::Key_Down, none, true, std::nullopt},
        {Qt::Key_Return, none, true, std::nullopt},
        {Qt::Key_Space, none, true, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listKey(c.key, c.modifiers, c.textHasFocus), c.listKey)
            << std::hex << c.key << " " << c.modifiers.toInt() << " " << c.textHasFocus;
}

TEST(PanelKeys, DeleteSelectionIsCtrlWithBackspaceOrDeleteAlone) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool deletes;
    };
    const Case cases[] = {
        {Qt::Key_Backspace, ctrl, true},          {Qt::Key_Delete, ctrl, true},
        {Qt::Key_Backspace, none, false},         {Qt::Key_Delete, none, false},
        {Qt::Key_Backspace, ctrl | shift, false}, {Qt::Key_Backspace, ctrl | alt, false},
        {Qt::Key_Delete, ctrl | meta, false},     {Qt::Key_Delete, ctrl | keypad, false},
        {Qt::Key_Backspace, alt, false},          {Qt::Key_D, ctrl, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isDeleteSelectionKey(c.key, c.modifiers), c.deletes)
            << std::hex << c.key << " " << c.modifiers.toInt();
}

TEST(PanelKeys, ADeleteIsTakenAtItsShortcutOverrideOncePerPress) {
    struct Step {
        QEvent::Type type;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool repeat;
        KeyRoute route;
    };
    const std::vector<Step> steps = {
        {QEvent::ShortcutOverride, Qt::Key_Backspace, ctrl, false, KeyRoute::deleteSelection},
        {QEvent::KeyPress, Qt::Key_Backspace, ctrl, false, KeyRoute::swallow},
        // Held: the repeats ask for nothing more.
        {QEvent::ShortcutOverride, Qt::Key_Backspace, ctrl, true, KeyRoute::swallow},
        {QEvent::KeyPress, Qt::Key_Backspace, ctrl, true, KeyRoute::swallow},
        {QEvent::KeyRelease, Qt::Key_Backspace, ctrl, false, KeyRoute::none},
        // A press with no override before it (nothing had the focus).
        {QEvent::KeyPress, Qt::Key_Delete, ctrl, false, KeyRoute::deleteSelection},
        // Other keys after a taken override still go their way.
        {QEvent::ShortcutOverride, Qt::Key_Delete, ctrl, false, KeyRoute::deleteSelection},
        {QEvent::KeyPress, Qt::Key_Delete, ctrl, false, KeyRoute::swallow},
        {QEvent::KeyPress, Qt::Key_Delete, none, false, KeyRoute::none},
        {QEvent::ShortcutOverride, Qt::Key_A, ctrl, false, KeyRoute::none},
    };
    KeyRouter router;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(router.route(s.type, s.key, s.modifiers, s.repeat, true, true), s.route) << "step " << i;
    }
}

TEST(PanelKeys, RoutesOfKeyPresses) {
    struct Case {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool wantsListKeys;
        bool textHasFocus;
        KeyRoute route;
    };
    const Case cases[] = {
        {"Escape", Qt::Key_Escape, none, false, true, KeyRoute::cancel},
        {"Shift+Escape", Qt::Key_Escape, shift, false, true, KeyRoute::cancel},
        {"Ctrl+Escape", Qt::Key_Escape, ctrl, true, false, KeyRoute::none},
        {"a list key", Qt::Key_Down, none, true, false, KeyRoute::listKey},
        {"without full access", Qt::Key_Down, none, false, false, KeyRoute::none},
        {"in a field", Qt::Key_Down, none, true, true, KeyRoute::none},
        {"Ctrl+Backspace in a field, without access", Qt::Key_Backspace, ctrl, false, true, KeyRoute::deleteSelection},
        {"a letter", Qt::Key_K, none, true, false, KeyRoute::none},
    };
    for (const Case& c : cases) {
        KeyRouter router;
        EXPECT_EQ(router.route(QEvent::KeyPress, c.key, c.modifiers, false, c.wantsListKeys, c.textHasFocus), c.route)
            << c.name;
    }
}
