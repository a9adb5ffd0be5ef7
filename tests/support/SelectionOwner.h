#pragma once

// Owns a manager selection of screen 0 on an X display, as a compositor
// (_NET_WM_CM_S0) or a system tray (_NET_SYSTEM_TRAY_S0) does, with a window
// of its own and without doing any of their work. A tray announces itself
// to the screen's clients with the MANAGER message; a compositor does not.
// The selection goes with the object.

#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace tavlin::testing {

class SelectionOwner {
public:
    enum class Announce { no, yes };

    SelectionOwner(const QString& display, const char* selection, Announce announce = Announce::no)
        : connection_(xcb_connect(display.toLatin1().constData(), nullptr)) {
        if (xcb_connection_has_error(connection_)) return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const xcb_window_t window = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const xcb_atom_t atom = internAtom(selection);
        xcb_set_selection_owner(connection_, window, atom, XCB_CURRENT_TIME);
        if (announce == Announce::yes) {
            xcb_client_message_event_t message{};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = screen->root;
            message.type = internAtom("MANAGER");
            message.data.data32[0] = XCB_CURRENT_TIME;
            message.data.data32[1] = atom;
            message.data.data32[2] = window;
            xcb_send_event(connection_, 0, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&message));
        }
        // Done by the time the constructor returns.
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }
    ~SelectionOwner() { xcb_disconnect(connection_); }

    // As a system tray: how many requests to dock an item came so far
    // (_NET_SYSTEM_TRAY_OPCODE, SYSTEM_TRAY_REQUEST_DOCK).
    int dockRequests() {
        const xcb_atom_t opcode = internAtom("_NET_SYSTEM_TRAY_OPCODE");
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
                if (message->type == opcode && message->data.data32[1] == 0) ++dockRequests_;
            }
            std::free(event);
        }
        return dockRequests_;
    }
    SelectionOwner(const SelectionOwner&) = delete;
    SelectionOwner& operator=(const SelectionOwner&) = delete;

private:
    xcb_atom_t internAtom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    xcb_connection_t* connection_;
    int dockRequests_ = 0;
};

}  // namespace tavlin::testing
