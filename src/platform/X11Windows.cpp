#include "platform/X11Windows.h"

#include "platform/X11Connection.h"

#include <QByteArray>
#include <QWindow>

#include <xcb/xcb.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tavlin::platform {

namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

std::atomic<quint32> hotKeyTime{0};

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, quint16(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The screen number that DISPLAY names (":1.2" is screen 2), as Qt opens it.
int defaultScreenNumber() {
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon < 0 ? 0 : colon);
    return dot < 0 ? 0 : display.mid(dot + 1).toInt();
}

const xcb_screen_t* defaultScreen(xcb_connection_t* connection) {
    int number = defaultScreenNumber();
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem;
         xcb_screen_next(&screens), --number)
        if (number == 0) return screens.data;
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

}  // namespace

void setOnAllDesktops(QWindow& window) {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return;
    const quint32 allDesktops = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()),
                        internAtom(connection, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    xcb_flush(connection);
}

namespace {

// Whether some client owns the selection `prefix` + the default screen's
// number, as a manager of that screen does.
bool screenSelectionHasOwner(const char* prefix) {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return false;
    const QByteArray selection = prefix + QByteArray::number(defaultScreenNumber());
    const xcb_atom_t atom = internAtom(connection, selection.constData());
    if (atom == XCB_ATOM_NONE) return false;
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

}  // namespace

bool hasCompositingManager() { return screenSelectionHasOwner("_NET_WM_CM_S"); }

bool hasSystemTray() { return screenSelectionHasOwner("_NET_SYSTEM_TRAY_S"); }

bool announcesSystemTray(const void* event) {
    const auto* generic = static_cast<const xcb_generic_event_t*>(event);
    if (!generic || (generic->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return false;
    // Interned once: every client message of the session comes through here.
    static const xcb_atom_t manager = internAtom(connection, "MANAGER");
    static const xcb_atom_t tray =
        internAtom(connection, ("_NET_SYSTEM_TRAY_S" + QByteArray::number(defaultScreenNumber())).constData());
    const auto* message = static_cast<const xcb_client_message_event_t*>(event);
    return message->type == manager && message->format == 32 && message->data.data32[1] == tray &&
           tray != XCB_ATOM_NONE;
}

void requestActivation(const QWindow& window, quint32 timestamp) {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window.winId());
    event.type = internAtom(connection, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 1;  // a request of the application itself
    event.data.data32[1] = timestamp;
    event.data.data32[2] = XCB_WINDOW_NONE;
    xcb_send_event(connection, 0, defaultScreen(connection)->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

bool isActiveX11Window(const QWindow& window) {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return false;
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, defaultScreen(connection)->root,
                                                internAtom(connection, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1),
                               nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) < int(sizeof(xcb_window_t))) return false;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get())) == xcb_window_t(window.winId());
}

quint32 lastHotKeyTime() { return hotKeyTime.load(); }

void noteHotKeyTime(quint32 timestamp) { hotKeyTime.store(timestamp); }

}  // namespace tavlin::platform
