#pragma once

#include "keybindings/LocalEventMonitor.h"
#include "keybindings/Shortcut.h"
#include "platform/HotKeyBackend.h"

#include <QHash>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QKeyEvent;

namespace tavlin::KeyBindings {

// System-wide hot keys: each registration grabs its shortcut's key from the
// system and calls its two callbacks when the key goes down and up.
//
// It listens in one of three modes: hot keys (enabled, no menu open: the
// keys are grabbed), menu fallback (a menu holds the keyboard, so the grabs
// would not fire: they are released and the application's key events are
// matched instead, and swallowed when they match), or off (disabled). A hot
// key registered while it cannot fire is kept suspended, without a grab,
// until the mode allows it.
//
// A press fires once however long the key is held, and the release of that
// key fires its key-up even when the modifiers were let go first. Main
// thread only.
class GlobalHotKeys {
public:
    using Callback = std::function<void(const Shortcut&)>;

    explicit GlobalHotKeys(std::unique_ptr<platform::HotKeyBackend> backend);
    ~GlobalHotKeys();
    GlobalHotKeys(const GlobalHotKeys&) = delete;
    GlobalHotKeys& operator=(const GlobalHotKeys&) = delete;

    // A refusal (a key X cannot grab, a shortcut registered already, one
    // another program holds, no global shortcuts on this desktop) is printed
    // to standard output and, in words, as a warning to standard error, and
    // keeps nothing; the attempt still uses up an id. A refusal that the
    // desktop sends later drops the registration the same way.
    void registerHotKey(const Shortcut& shortcut, Callback onKeyDown, Callback onKeyUp);
    // Every registration of the shortcut.
    void unregisterHotKey(const Shortcut& shortcut);
    void updateEventHandler(bool isEnabled, bool isMenuOpen);

    // The id of the shortcut's registration: 1 for the first attempt, one
    // more for each later one.
    std::optional<qint64> hotKeyId(const Shortcut& shortcut) const;

    // Whether another program holds the shortcut's key, so that registering
    // it would be refused. No for a shortcut registered here (held by this
    // program, or kept for a menu to close) and for one X cannot grab.
    bool isHeldElsewhere(const Shortcut& shortcut);

    // Whether the desktop gives global shortcuts at all.
    bool hasGlobalShortcuts() const;
    // The key the desktop triggers the shortcut with, in its words, where
    // the desktop chose it (the portal); nothing where the shortcut is its
    // own key.
    std::optional<QString> triggerDescription(const Shortcut& shortcut) const;
    // Asks the desktop to let the user change the shortcut's key, where the
    // desktop keeps it. Whether it was asked.
    bool askToChangeTrigger(const Shortcut& shortcut);
    // Called when hasGlobalShortcuts or a trigger description changed.
    void setChangeHandler(std::function<void()> handler);

private:
    enum class Mode { hotKeys, menuFallback, off };
    enum class KeyAction { press, repeat, release };

    struct HotKey {
        Shortcut shortcut;
        std::optional<platform::KeyChord> chord;  // while grabbed
        Callback onKeyDown;
        Callback onKeyUp;
    };

    using HotKeys = std::map<qint64, HotKey>;

    // The first registration of the shortcut, or the end.
    HotKeys::const_iterator findByShortcut(const Shortcut& shortcut) const;
    int grab(HotKey& hotKey, platform::KeyChord chord);
    void suspendAll();
    void grabSuspended();
    void setMenuFallback(bool on);
    // True when the keys were a hot key's, which swallows their event.
    bool handleKey(const Shortcut& keys, KeyAction action);
    bool handlePress(const Shortcut& keys);
    bool handleRelease(qint64 carbonKeyCode);
    void handleBackendKey(platform::KeyChord chord, bool pressed);
    void handleBackendRefusal(platform::KeyChord chord, const QString& reason);
    bool handleMenuKeyEvent(const QKeyEvent& event);

    std::unique_ptr<platform::HotKeyBackend> backend_;
    HotKeys hotKeys_;  // by id, so the first registered matches first
    qint64 hotKeyIdCounter_ = 0;
    Mode mode_ = Mode::hotKeys;
    QHash<qint64, qint64> heldKeys_;  // Carbon key code → id of the hot key whose press was taken
    std::unique_ptr<LocalEventMonitor> menuKeyMonitor_;
};

}  // namespace tavlin::KeyBindings
