// A small program for the X11 test: it gives the panel's Name ctrl+alt+k
// and prints "down" and "up" when the hot key fires. With --menu it opens a
// popup menu, which holds the keyboard, and takes ctrl+shift+k instead, as
// Alt would close the menu. It prints "ready" when the test may press keys.

#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"

#include "ProbeSupport.h"

#include <QApplication>
#include <QMenu>

namespace KeyBindings = tavlin::KeyBindings;

namespace {

void openMenuThenSayReady(QMenu& menu) {
    menu.addAction(QStringLiteral("An item"));
    menu.popup(QPoint(20, 20));
    // Once the popup has the keyboard, key events reach this program.
    sayOnceReady(
        &menu, [&menu] { return KeyBindings::isMenuOpen() && menu.isVisible(); },
        [] { return QStringLiteral("ready"); });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tavlin::platform::UserDefaults defaults;
    KeyBindings::Module module(defaults, tavlin::platform::makeSystemHotKeyBackend());

    const bool withMenu = QApplication::arguments().contains(QStringLiteral("--menu"));
    const KeyBindings::Name& name = KeyBindings::Name::togglePanel;
    KeyBindings::onKeyDown(name, [] { say(QStringLiteral("down")); });
    KeyBindings::onKeyUp(name, [] { say(QStringLiteral("up")); });
    using namespace KeyBindings::CarbonModifier;
    name.setShortcut(KeyBindings::Shortcut(KeyBindings::Key::k.rawValue, control | (withMenu ? shift : option)));

    QMenu menu;
    if (withMenu) openMenuThenSayReady(menu);
    else say(QStringLiteral("ready"));
    return QApplication::exec();
}
