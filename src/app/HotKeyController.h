#pragma once

#include <functional>

namespace tavlin::app {

// Holds the panel's hot key: its action runs when the user's recorded
// shortcut for KeyBindings::Name::togglePanel is released, never when it
// is pressed, so the key that opens the panel does not reach it. The
// action stays registered for the life of the process. Main thread only.
class HotKeyController {
public:
    explicit HotKeyController(std::function<void()> action);

    HotKeyController(const HotKeyController&) = delete;
    HotKeyController& operator=(const HotKeyController&) = delete;

    // Runs the action, which belongs to the main thread.
    static void invokeOnMainActor(const std::function<void()>& action);
};

}  // namespace tavlin::app
