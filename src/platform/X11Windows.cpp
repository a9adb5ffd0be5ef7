#include "platform/X11Windows.h"

#include "platform/WindowSystem.h"
#include "platform/X11Connection.h"

#include <QByteArray>
#include <QStringList>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>

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

void setSkipTaskbarAndPager(QWindow& window) {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return;
    const std::array<xcb_atom_t, 2> states{internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                           internAtom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()),
                        internAtom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, quint32(states.size()),
                        states.data());
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

quint32 serverTime() {
    if (!qtX11Connection()) return 0;
    // The server dates every event; a property changed by nothing (a
    // zero-length append) is the cheapest one to ask for. On a connection of
    // its own, since Qt's reads all the events of its own.
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return 0;
    }
    const xcb_window_t window = xcb_generate_id(connection);
    const quint32 propertyChanges = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, defaultScreen(connection)->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &propertyChanges);
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(connection);
    quint32 time = 0;
    // Nothing but that property's change is asked for; an error ends the wait.
    while (const XcbReply<xcb_generic_event_t> event{xcb_wait_for_event(connection)}) {
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) continue;
        time = reinterpret_cast<const xcb_property_notify_event_t*>(event.get())->time;
        break;
    }
    xcb_disconnect(connection);  // the window goes with it
    return time;
}

bool isActiveX11Window(const QWindow& window) { return activeX11Window() == quint32(window.winId()); }

bool isOwnX11Window(quint32 window) {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection || window == XCB_WINDOW_NONE) return false;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    return (window & ~setup->resource_id_mask) == setup->resource_id_base;
}

quint32 lastHotKeyTime() { return hotKeyTime.load(); }

void noteHotKeyTime(quint32 timestamp) { hotKeyTime.store(timestamp); }

namespace {

// A property of `window` of any type, whole (up to 64 KiB); nothing when
// the window does not have it.
XcbReply<xcb_get_property_reply_t> property(xcb_connection_t* connection, xcb_window_t window, const char* name,
                                            xcb_atom_t type = XCB_ATOM_ANY) {
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, internAtom(connection, name), type, 0, 16384), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE) return nullptr;
    return reply;
}

template <typename T>
std::span<const T> values(const xcb_get_property_reply_t& reply) {
    return {static_cast<const T*>(xcb_get_property_value(&reply)),
            std::size_t(xcb_get_property_value_length(&reply)) / sizeof(T)};
}

std::optional<QString> textProperty(xcb_connection_t* connection, xcb_window_t window, const char* name,
                                    xcb_atom_t type) {
    const XcbReply<xcb_get_property_reply_t> reply = property(connection, window, name, type);
    if (!reply || reply->format != 8) return std::nullopt;
    const std::span<const char> bytes = values<char>(*reply);
    return type == XCB_ATOM_STRING ? QString::fromLatin1(bytes.data(), qsizetype(bytes.size()))
                                   : QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

std::vector<xcb_window_t> windowList(xcb_connection_t* connection, xcb_window_t window, const char* name) {
    const XcbReply<xcb_get_property_reply_t> reply = property(connection, window, name, XCB_ATOM_WINDOW);
    if (!reply || reply->format != 32) return {};
    const std::span<const xcb_window_t> windows = values<xcb_window_t>(*reply);
    return {windows.begin(), windows.end()};
}

std::vector<xcb_atom_t> atomList(xcb_connection_t* connection, xcb_window_t window, const char* name) {
    const XcbReply<xcb_get_property_reply_t> reply = property(connection, window, name, XCB_ATOM_ATOM);
    if (!reply || reply->format != 32) return {};
    const std::span<const xcb_atom_t> atoms = values<xcb_atom_t>(*reply);
    return {atoms.begin(), atoms.end()};
}

bool contains(const std::vector<xcb_atom_t>& atoms, xcb_atom_t atom) {
    return atom != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
}

}  // namespace

std::optional<quint32> activeX11Window() {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return std::nullopt;
    const std::vector<xcb_window_t> active =
        windowList(connection, defaultScreen(connection)->root, "_NET_ACTIVE_WINDOW");
    if (active.empty() || active.front() == XCB_WINDOW_NONE) return std::nullopt;
    return active.front();
}

WindowRecord x11WindowRecord(quint32 window) {
    WindowRecord record;
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return record;
    if (const auto pid = property(connection, window, "_NET_WM_PID", XCB_ATOM_CARDINAL);
        pid && pid->format == 32 && !values<quint32>(*pid).empty())
        record.pid = values<quint32>(*pid).front();
    // WM_CLASS holds the instance and the class, each ended by a null.
    if (const std::optional<QString> wmClass = textProperty(connection, window, "WM_CLASS", XCB_ATOM_STRING)) {
        const QStringList parts = wmClass->split(QChar(0));
        if (parts.size() > 1 && !parts[1].isEmpty()) record.windowClass = parts[1];
    }
    record.name = textProperty(connection, window, "_NET_WM_NAME", internAtom(connection, "UTF8_STRING"));
    if (!record.name) record.name = textProperty(connection, window, "WM_NAME", XCB_ATOM_ANY);
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    record.mapped = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    const std::vector<xcb_atom_t> state = atomList(connection, window, "_NET_WM_STATE");
    record.hidden = contains(state, internAtom(connection, "_NET_WM_STATE_HIDDEN"));
    record.above = contains(state, internAtom(connection, "_NET_WM_STATE_ABOVE"));
    const std::vector<xcb_atom_t> types = atomList(connection, window, "_NET_WM_WINDOW_TYPE");
    if (!types.empty()) {
        if (types.front() == internAtom(connection, "_NET_WM_WINDOW_TYPE_DESKTOP"))
            record.type = WindowRecord::Type::desktop;
        else if (types.front() == internAtom(connection, "_NET_WM_WINDOW_TYPE_DOCK"))
            record.type = WindowRecord::Type::dock;
        else if (types.front() != internAtom(connection, "_NET_WM_WINDOW_TYPE_NORMAL"))
            record.type = WindowRecord::Type::other;
    }
    return record;
}

std::optional<std::vector<WindowRecord>> x11ClientsFrontToBack() {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) return std::nullopt;
    // The list runs from bottom to top.
    const std::vector<xcb_window_t> stacking =
        windowList(connection, defaultScreen(connection)->root, "_NET_CLIENT_LIST_STACKING");
    std::vector<WindowRecord> records;
    for (auto window = stacking.rbegin(); window != stacking.rend(); ++window)
        records.push_back(x11WindowRecord(*window));
    return records;
}

}  // namespace tavlin::platform
