#pragma once

#include <QEvent>
#include <Qt>

#include <optional>

// What the panel's window does with a key, decided apart from the window.
//
// Qt names the modifiers by the key that holds them: ControlModifier is
// Ctrl, AltModifier Alt, MetaModifier the Super ("Windows") key. The keypad
// adds KeypadModifier to its keys.
namespace tavlin::panel {

// A key for the panel's list of reminders.
enum class PanelListKey { up, down, extendUp, extendDown, space, return_ };

// Up and Down, with Shift extending the selection; Space; Return and the
// keypad's Enter. Nothing while a text input has the focus, with Ctrl, Alt
// or Meta held, or with Shift on Space or Return.
std::optional<PanelListKey> listKey(int key, Qt::KeyboardModifiers modifiers, bool textHasFocus);

// Ctrl+Backspace or Ctrl+Delete with no other modifier: delete the selected
// reminders, whatever has the focus.
bool isDeleteSelectionKey(int key, Qt::KeyboardModifiers modifiers);

// What the panel does with a key event it sees first.
enum class KeyRoute {
    none,             // the event goes on to the focused widget
    listKey,          // emit the list key and keep the event
    deleteSelection,  // emit the delete request and keep the event
    swallow,          // keep the event (the rest of a delete already taken)
    cancel,           // Escape: the view first, else the window's cancel
    commandReturn,    // Ctrl+Return: the view's, before the focused widget's
};

// Ctrl+Backspace and Ctrl+Delete are taken at their shortcut override, so
// that neither a text field (which deletes a word with them) nor a menu
// shortcut sees them, and their key press is swallowed; a repeat of a held
// key asks for nothing more. Ctrl+Return (with any other modifier) goes to
// the view before a field could take it as a plain Return; its repeats are
// swallowed. `wantsListKeys` says whether the reminders may be used (full
// access).
class KeyRouter {
public:
    KeyRoute route(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, bool isAutoRepeat, bool wantsListKeys,
                   bool textHasFocus);

private:
    std::optional<int> deleteTakenAtOverride_;  // its press is still to come
};

}  // namespace tavlin::panel
