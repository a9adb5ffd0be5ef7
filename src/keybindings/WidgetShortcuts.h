#pragma once

#include "keybindings/EventStream.h"

#include <functional>

class QAction;
class QWidget;

namespace tavlin::KeyBindings {

// `perform` runs for each press and release of the Name's hot key while the
// widget is shown: a stream (events()) is open from each Show to the next
// Hide, and ends with the widget.
void onGlobalShortcut(QWidget* widget, const Name& name, std::function<void(EventType)> perform);
// Only for the presses, or only for the releases.
void onGlobalShortcut(QWidget* widget, const Name& name, EventType type, std::function<void()> perform);

// The action carries the Name's stored shortcut as its own, at once after
// each change of that Name, and none while a recorder is recording (so that
// the recorder gets the keys). Calling it again replaces the earlier Name.
void globalShortcut(QAction* action, const Name& name);

}  // namespace tavlin::KeyBindings
