#pragma once

#include "platform/HotKeyBackend.h"

#include <QAbstractNativeEventFilter>

#include <functional>
#include <vector>

struct xcb_connection_t;

namespace tavlin::platform {

// Key grabs on the root windows of an X server, with key events read from
// Qt's xcb event stream before Qt sees them.
//
// A chord is grabbed four times, with and without Caps Lock and Num Lock,
// since X matches the lock modifiers like any other. Auto-repeat is made
// detectable (XKB), so a held key gives repeated presses and one release.
class X11HotKeyBackend final : public HotKeyBackend, private QAbstractNativeEventFilter {
public:
    // `connection` must outlive the backend (Qt's own connection does).
    explicit X11HotKeyBackend(xcb_connection_t* connection);
    ~X11HotKeyBackend() override;

    int grab(KeyChord chord) override;
    void ungrab(KeyChord chord) override;
    // A checked grab of all four lock variants: refused with BadAccess for
    // any of them means held. What the probe took is given back at once.
    bool isHeldElsewhere(KeyChord chord) override;

private:
    struct GrabAttempt {
        quint32 root;
        quint16 modifiers;
        int status;  // grabbed or the X error code
    };

    // A checked grab of each of the chord's four masks on each root window.
    std::vector<GrabAttempt> grabEach(KeyChord chord);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void makeAutoRepeatDetectable();
    // Runs `action` for each root window with each of the chord's four masks
    // (its own modifiers with and without the locks).
    void forEachGrab(KeyChord chord, const std::function<void(quint32 root, quint16 modifiers)>& action) const;

    xcb_connection_t* connection_;
    std::vector<quint32> roots_;
};

}  // namespace tavlin::platform
