#pragma once

#include <QEvent>
#include <QObject>
#include <Qt>

#include <functional>
#include <optional>

namespace tavlin::app {

// The keys of Tavlin's main menu. The desktop gives Tavlin no menu bar of
// its own, so one application event filter gives the keys to every Tavlin
// window: Ctrl+H hides Tavlin, Ctrl+Q quits it, and Ctrl+Backspace deletes
// the selected reminders, also while no panel is open. The editing keys
// (Ctrl+Z, Ctrl+Shift+Z, Ctrl+X, C, V, A) stay with the focused field.
//
// A key of the menu is taken at its shortcut override, before a text field
// claims it (Ctrl+Backspace deletes a word there) or a shortcut fires, and
// the press that follows is swallowed; a held key does its command once.
// The panel's window, whose filter is made with each panel and so runs
// before this one, takes Ctrl+Backspace in the panel itself; a recorder of
// hot keys, whose filter is newer still, gets every key while it records.
// Main thread only.
class MainMenu : public QObject {
    Q_OBJECT

public:
    enum class Command { hide, quit, deleteReminder };

    struct Actions {
        std::function<void()> hide;
        std::function<void()> quit;
        std::function<void()> deleteReminder;
    };

    explicit MainMenu(Actions actions, QObject* parent = nullptr);
    ~MainMenu() override;

    // The menu's key equivalents: Ctrl with H, Q or Backspace, and no other
    // modifier.
    static std::optional<Command> command(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run(Command command) const;

    Actions actions_;
    std::optional<int> takenAtOverride_;  // its press is still to come
};

}  // namespace tavlin::app
