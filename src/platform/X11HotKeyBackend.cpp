#include "platform/X11HotKeyBackend.h"

#include "platform/Log.h"
#include "platform/X11Windows.h"

#include <QCoreApplication>

#include <xcb/xcb.h>
// A member of one of its structures is named "explicit".
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

namespace tavlin::platform {

namespace {

bool isKeyCode(quint32 keyCode) { return keyCode >= KeyChord::minKeyCode && keyCode <= KeyChord::maxKeyCode; }

constexpr std::array<quint16, 4> kLockCombinations = {0, X11Modifier::capsLock, X11Modifier::numLock,
                                                      X11Modifier::capsLock | X11Modifier::numLock};

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

}  // namespace

X11HotKeyBackend::X11HotKeyBackend(xcb_connection_t* connection) : connection_(connection) {
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_)); screens.rem; xcb_screen_next(&screens))
        roots_.push_back(screens.data->root);
    makeAutoRepeatDetectable();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKeyBackend::~X11HotKeyBackend() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11HotKeyBackend::makeAutoRepeatDetectable() {
    const XcbReply<xcb_xkb_use_extension_reply_t> extension(xcb_xkb_use_extension_reply(
        connection_, xcb_xkb_use_extension(connection_, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
    if (!extension || !extension->supported) {
        qCWarning(lcPlatform) << "the X server lacks XKB: a held hot key repeats its press and release";
        return;
    }
    const auto flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    const XcbReply<xcb_xkb_per_client_flags_reply_t> flags(xcb_xkb_per_client_flags_reply(
        connection_, xcb_xkb_per_client_flags(connection_, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0), nullptr));
    if (!flags || !(flags->value & flag))
        qCWarning(lcPlatform) << "the X server refused detectable auto-repeat: a held hot key repeats";
}

void X11HotKeyBackend::forEachGrab(KeyChord chord,
                                   const std::function<void(quint32 root, quint16 modifiers)>& action) const {
    for (const xcb_window_t root : roots_)
        for (const quint16 locks : kLockCombinations) action(root, chord.modifiers | locks);
}

std::vector<X11HotKeyBackend::GrabAttempt> X11HotKeyBackend::grabEach(KeyChord chord) {
    std::vector<GrabAttempt> attempts;
    std::vector<xcb_void_cookie_t> cookies;
    forEachGrab(chord, [&](xcb_window_t root, quint16 modifiers) {
        attempts.push_back({root, modifiers, grabbed});
        cookies.push_back(xcb_grab_key_checked(connection_, /*owner_events=*/0, root, modifiers,
                                               xcb_keycode_t(chord.keyCode), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    });
    for (std::size_t i = 0; i < attempts.size(); ++i) {
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(connection_, cookies[i]));
        if (error) attempts[i].status = error->error_code;
    }
    return attempts;
}

int X11HotKeyBackend::grab(KeyChord chord) {
    if (!isKeyCode(chord.keyCode)) return badValue;
    const std::vector<GrabAttempt> attempts = grabEach(chord);
    const auto refused =
        std::find_if(attempts.cbegin(), attempts.cend(), [](const GrabAttempt& a) { return a.status != grabbed; });
    if (refused == attempts.cend()) return grabbed;
    // All four or none: a chord that fires only with Num Lock off is worse
    // than a refused one.
    ungrab(chord);
    return refused->status;
}

bool X11HotKeyBackend::isHeldElsewhere(KeyChord chord) {
    if (!isKeyCode(chord.keyCode)) return false;
    bool held = false;
    for (const GrabAttempt& attempt : grabEach(chord)) {
        if (attempt.status == grabbed)
            xcb_ungrab_key(connection_, xcb_keycode_t(chord.keyCode), attempt.root, attempt.modifiers);
        else held = held || attempt.status == badAccess;
    }
    xcb_flush(connection_);
    return held;
}

void X11HotKeyBackend::ungrab(KeyChord chord) {
    if (!isKeyCode(chord.keyCode)) return;
    forEachGrab(chord, [&](xcb_window_t root, quint16 modifiers) {
        xcb_ungrab_key(connection_, xcb_keycode_t(chord.keyCode), root, modifiers);
    });
    xcb_flush(connection_);
}

bool X11HotKeyBackend::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    // Both event types share one layout. Only grabbed keys are reported on a
    // root window: this program selects no key events there.
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (std::find(roots_.begin(), roots_.end(), key->event) == roots_.end()) return false;
    // A window that the hot key opens asks for the focus with this time.
    noteHotKeyTime(key->time);
    deliver(KeyChord{key->detail, quint16(key->state & KeyChord::modifierMask)}, type == XCB_KEY_PRESS);
    return true;
}

}  // namespace tavlin::platform
