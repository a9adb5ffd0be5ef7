#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

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

    virtual ~HotKeyBackend() = default;

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

protected:
    void deliver(KeyChord chord, bool pressed) const {
        if (keyHandler_) keyHandler_(chord, pressed);
    }

private:
    KeyHandler keyHandler_;
};

// The X server's grabs when the application runs on X11, else a backend that
// refuses every grab with noKeyGrabs.
std::unique_ptr<HotKeyBackend> makeSystemHotKeyBackend();

}  // namespace tavlin::platform
