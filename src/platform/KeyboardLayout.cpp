#include "platform/KeyboardLayout.h"

#include "platform/X11Connection.h"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace tavlin::platform {

namespace {

struct ContextDeleter {
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct StateDeleter {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
using Context = std::unique_ptr<xkb_context, ContextDeleter>;
using State = std::unique_ptr<xkb_state, StateDeleter>;

std::shared_ptr<xkb_keymap> ownedKeymap(xkb_keymap* keymap) {
    if (!keymap) return nullptr;
    return std::shared_ptr<xkb_keymap>(keymap, xkb_keymap_unref);
}

// One context for every keymap: it only holds the XKB database's paths and
// the environment, which do not change while Tavlin runs. Null when xkbcommon
// cannot make one. Layouts are read on the main thread alone.
xkb_context* sharedContext() {
    static const Context context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    return context.get();
}

// Whether the server speaks XKB. Asking is a round trip, and the answer holds
// for the one connection Qt keeps for the process's life.
bool setUpXkb(xcb_connection_t* connection) {
    static const bool hasXkb =
        xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr);
    return hasXkb;
}

bool isControlCharacter(char32_t codePoint) { return codePoint < 0x20 || (codePoint >= 0x7f && codePoint < 0xa0); }

}  // namespace

KeyboardLayout KeyboardLayout::current() {
    if (xcb_connection_t* connection = qtX11Connection()) {
        xkb_context* context = sharedContext();
        const qint32 device = setUpXkb(connection) ? xkb_x11_get_core_keyboard_device_id(connection) : -1;
        if (context && device >= 0) {
            auto keymap =
                ownedKeymap(xkb_x11_keymap_new_from_device(context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
            const State state(keymap ? xkb_x11_state_new_from_device(keymap.get(), connection, device) : nullptr);
            if (state)
                return KeyboardLayout(keymap, xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_EFFECTIVE));
        }
    }
    // The database and the environment do not change while Tavlin runs.
    static const KeyboardLayout systemDefault = named(QString());
    return systemDefault;
}

KeyboardLayout KeyboardLayout::named(const QString& layout) {
    xkb_context* context = sharedContext();
    const QByteArray name = layout.toUtf8();
    const xkb_rule_names names{.layout = layout.isEmpty() ? nullptr : name.constData()};
    return KeyboardLayout(
        context ? ownedKeymap(xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS)) : nullptr, 0);
}

std::optional<quint32> KeyboardLayout::symbol(quint32 keyCode) const {
    if (!keymap_) return std::nullopt;
    const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(keymap_.get(), keyCode);
    if (groups == 0) return std::nullopt;
    // A key with fewer groups than the keymap types its first one there.
    const xkb_layout_index_t group = group_ < groups ? group_ : 0;
    const xkb_keysym_t* symbols = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(keymap_.get(), keyCode, group, 0, &symbols);
    if (count != 1) return std::nullopt;
    return symbols[0];
}

std::optional<QString> KeyboardLayout::symbolName(quint32 keyCode) const {
    const std::optional<quint32> keySymbol = symbol(keyCode);
    if (!keySymbol) return std::nullopt;
    char name[64];
    const int length = xkb_keysym_get_name(*keySymbol, name, sizeof name);
    if (length <= 0 || std::size_t(length) >= sizeof name) return std::nullopt;
    return QString::fromLatin1(name, length);
}

std::optional<QString> KeyboardLayout::character(quint32 keyCode) const {
    const std::optional<quint32> keySymbol = symbol(keyCode);
    if (!keySymbol) return std::nullopt;
    const char32_t codePoint = xkb_keysym_to_utf32(*keySymbol);
    if (codePoint == 0 || isControlCharacter(codePoint)) return std::nullopt;
    return QString::fromUcs4(&codePoint, 1);
}

}  // namespace tavlin::platform
