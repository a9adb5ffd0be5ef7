#pragma once

#include "keybindings/EventStream.h"
#include "keybindings/Name.h"
#include "keybindings/Shortcut.h"
#include "platform/HotKeyBackend.h"
#include "platform/UserDefaults.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Named global shortcuts: each Name's shortcut is kept in the user defaults
// (under Name::userDefaultsKey(): the shortcut's JSON object, or false for a
// Name cleared while it has a default), grabbed as a system-wide hot key,
// and runs the actions attached to its Name when pressed and released.
//
// A stored shortcut is grabbed from the first of: storing it, attaching an
// action to its Name, enable(), opening an event stream on its Name (see
// EventStream.h); it stays grabbed until it is cleared, replaced, reset,
// disabled, or released: by removing its Name's actions while no stream
// holds it, or by the end of its Name's last stream while no other actions
// or streams hold it. Names that store the same shortcut share one hot key:
// pressing it runs the actions of all of them (then yields to their
// streams), and releasing it for one releases it for all.
//
// The functions act on the one KeyBindings::Module of the process and must
// not be called while there is none. Main thread only.
namespace tavlin::KeyBindings {

using Action = std::function<void()>;

class Module : public QObject {
    Q_OBJECT

public:
    // Follows the application's popup menus from now on: while one is open,
    // it holds the keyboard and hot keys are matched in its key events.
    Module(platform::UserDefaults& defaults, std::unique_ptr<platform::HotKeyBackend> backend,
           QObject* parent = nullptr);
    ~Module() override;

    // The one that exists, for connecting to its signal.
    static Module& instance();

signals:
    // After every store, clear and reset of a Name's shortcut.
    void shortcutByNameDidChange(const tavlin::KeyBindings::Name& name);
    // When a recorder starts waiting for a shortcut (true) and when it stops
    // (false; also sent for a stop without a start).
    void recorderActiveStatusDidChange(bool isActive);
    // Whether the desktop gives global shortcuts, or the key it triggers one
    // with, changed.
    void globalShortcutsDidChange();

private:
    struct State;
    friend State& currentState();

    std::unique_ptr<State> state_;
};

// Nothing when nothing decodable is stored.
std::optional<Shortcut> getShortcut(const Name& name);
// Nothing clears the Name: false is stored when it has a default, else the
// key is removed; a Name with nothing stored is left alone.
void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
// Back to each Name's default, or to none.
void reset(const QList<Name>& names);
// Every stored shortcut goes, defaults included; a Name gets its default
// again the next time it is made.
void resetAll();

// Actions run in the order they were attached.
void onKeyDown(const Name& name, Action action);
void onKeyUp(const Name& name, Action action);
// The hot key stays grabbed while streams (events()) are open on it.
void removeHandler(const Name& name);
void removeAllHandlers();

void enable(const QList<Name>& names);
void disable(const QList<Name>& names);
// The module is enabled and the Name's stored shortcut is grabbed.
bool isEnabled(const Name& name);

// Switched off, no hot key is grabbed and none fires.
bool isEnabled();
void setEnabled(bool enabled);
// While paused (a recorder waits for a new shortcut), hot keys run nothing.
bool isPaused();
void setPaused(bool paused);
bool isMenuOpen();

// Whether another program or the desktop holds the shortcut's key combination,
// so that grabbing it would be refused. No for a shortcut this program has
// registered, and where there are no key grabs (offscreen, Wayland).
bool isHeldByAnotherProgram(const Shortcut& shortcut);

// Whether this desktop gives global shortcuts: no on Wayland without the
// desktop's GlobalShortcuts portal, or while the portal has not answered.
bool hasGlobalShortcuts();
// The key the desktop triggers the Name's shortcut with, in the desktop's
// words, where the desktop chose the key (the portal); nothing where the
// stored shortcut is the key.
std::optional<QString> desktopTrigger(const Name& name);
// Asks the desktop to let the user change the key of the Name's shortcut,
// where the desktop keeps it. Whether it was asked.
bool askDesktopToChangeTrigger(const Name& name);

}  // namespace tavlin::KeyBindings
