#include "app/MainMenu.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace tavlin::app {

MainMenu::MainMenu(Actions actions, QObject* parent) : QObject(parent), actions_(std::move(actions)) {
    QCoreApplication::instance()->installEventFilter(this);
}

MainMenu::~MainMenu() = default;

std::optional<MainMenu::Command> MainMenu::command(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers != Qt::ControlModifier) return std::nullopt;
    switch (key) {
    case Qt::Key_H: return Command::hide;
    case Qt::Key_Q: return Command::quit;
    case Qt::Key_Backspace: return Command::deleteReminder;
    default: return std::nullopt;
    }
}

bool MainMenu::eventFilter(QObject*, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    auto& key = static_cast<QKeyEvent&>(*event);
    // A press reaches the window first, then its focused widget: the first
    // sight of it is the one that counts.
    if (type == QEvent::KeyPress && takenAtOverride_) {
        const bool taken = *takenAtOverride_ == key.key();
        takenAtOverride_.reset();
        if (taken) return true;
    }
    const std::optional<Command> found = command(key.key(), key.modifiers());
    if (!found) return false;
    if (type == QEvent::ShortcutOverride) {
        // Accepted, it keeps every shortcut from firing; its press comes next.
        key.accept();
        takenAtOverride_ = key.key();
    }
    if (!key.isAutoRepeat()) run(*found);
    return true;
}

void MainMenu::run(Command command) const {
    const std::function<void()>& action = command == Command::hide   ? actions_.hide
                                          : command == Command::quit ? actions_.quit
                                                                     : actions_.deleteReminder;
    if (action) action();
}

}  // namespace tavlin::app
