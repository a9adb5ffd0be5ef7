#pragma once

#include "keybindings/Name.h"

#include <optional>

class QAction;

namespace tavlin::KeyBindings {

// The action's shortcut becomes the shortcut's key sequence; none, or a
// shortcut without a Qt form (a keypad key, a key that types nothing, the
// function modifier), leaves it with none.
void setShortcut(QAction* action, const std::optional<Shortcut>& shortcut);

// The action carries the Name's stored shortcut from now on, updated on the
// event loop's next turn after each change of it. Binding the action again,
// or to none (which also takes its shortcut away), ends the earlier binding.
void bindShortcut(QAction* action, const std::optional<Name>& name);

}  // namespace tavlin::KeyBindings
