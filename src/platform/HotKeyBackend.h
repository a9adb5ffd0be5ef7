#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

namespace tavlin::platform {

// The modifier bits of the X core protocol's key state.
namespace X11Modifier {
inline constexpr quint16 shift = 0x01;
inline constexpr quint16 capsLock = 0x02;
inline constexpr quint16 control = 0x04;
inline constexpr quint16 alt = 0x08;      // Mod1
inline constexpr quint16 numLock = 0x10;  // Mod2
inline constexpr quint16 super = 0x40;    // Mod4
}  // namespace X11Modifier

// A key as the X server numbers it (the Linux input code + 8) with a mask of
// X11Modifier bits.
struct KeyChord {
    // X keycodes are one byte, and the first eight number no key.
    static constexpr quint32 minKeyCode = 8;
    static constexpr quint32 maxKeyCode = 255;
    // The modifiers a chord is made of; the lock modifiers never are.
    static constexpr quint16 modifierMask =
        X11Modifier::shift | X11Modifier::control | X11Modifier::alt | X11Modifier::super;

    quint32 keyCode = 0;
    quint16 modifiers = 0;
    friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

// System-wide key grabs: a grabbed chord reaches this program whichever
// window has the focus, and no other program sees it. Main thread only.
//
// Where the desktop binds the keys itself (its GlobalShortcuts portal), a
// grab is a request: grab() takes it, and the desktop's answer comes later.
// A refusal then goes to the refusal handler, and the key the desktop chose
// for a chord may be another one (triggerDescription).
class HotKeyBackend {
public:
    // What grab() answers: grabbed, an X protocol error code, or noKeyGrabs.
    static constexpr int grabbed = 0;
    static constexpr int badValue = 2;     // no such key
    static constexpr int badAccess = 10;   // another program holds the chord
    static constexpr int noKeyGrabs = -1;  // not on X11 (offscreen, Wayland)

    // A press or release of a grabbed chord; the modifiers are those held at
    // that moment, without Caps Lock and Num Lock.
    using KeyHandler = std::function<void(KeyChord chord, bool pressed)>;
    // A grab that grab() took and the desktop refused afterwards, with why
    // in words; the chord is no longer held.
    using RefusalHandler = std::function<void(KeyChord chord, const QString& reason)>;

    virtual ~HotKeyBackend() = default;

    // Whether this desktop gives global shortcuts at all; no while the
    // desktop has not said (the portal is asked at the start).
    virtual bool hasGlobalShortcuts() const { return true; }
    // How the desktop says the chord is triggered, where it chose the key
    // itself (the portal's trigger_description); nothing where the chord
    // is its own trigger or the desktop said nothing yet.
    virtual std::optional<QString> triggerDescription(KeyChord) const { return std::nullopt; }
    // Asks the desktop to let the user change the chord's key, where the
    // desktop keeps it. Whether it was asked.
    virtual bool askToChangeTrigger(KeyChord) { return false; }

    // Grabbing a chord again that this program holds succeeds silently;
    // callers keep track of their own grabs.
    virtual int grab(KeyChord chord) = 0;
    virtual void ungrab(KeyChord chord) = 0;

    // Whether another program (or the desktop) holds the chord: a grab of it
    // would be refused. Never ask about a chord this program holds: X grants
    // the probe's grab silently and its ungrab would drop the hot key. No
    // without key grabs (offscreen, Wayland).
    virtual bool isHeldElsewhere(KeyChord chord) = 0;

    void setKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }
    void setRefusalHandler(RefusalHandler handler) { refusalHandler_ = std::move(handler); }
    // Called when hasGlobalShortcuts or a triggerDescription changed.
    void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }

protected:
    void deliver(KeyChord chord, bool pressed) const {
        if (keyHandler_) keyHandler_(chord, pressed);
    }
    void refuse(KeyChord chord, const QString& reason) const {
        if (refusalHandler_) refusalHandler_(chord, reason);
    }
    void changed() const {
        if (changeHandler_) changeHandler_();
    }

private:
    KeyHandler keyHandler_;
    RefusalHandler refusalHandler_;
    std::function<void()> changeHandler_;
};

// The X server's grabs when the application runs on X11; on Wayland the
// desktop's GlobalShortcuts portal on the session bus, which refuses every
// grab once it turns out to be missing; elsewhere a backend that refuses
// every grab with noKeyGrabs.
std::unique_ptr<HotKeyBackend> makeSystemHotKeyBackend();

}  // namespace tavlin::platform
