#include "platform/SyntheticKeys.h"

#include "platform/X11Connection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWindow>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace tavlin::platform {

namespace {

using Keysym = quint32;

constexpr Keysym noSymbol = 0;
constexpr Keysym shiftKeysym = 0xffe1;  // Shift_L

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};

// The keysym that xdotool types for a character: the control keys by
// name, Latin-1 as itself, anything else as its Unicode keysym.
Keysym keysymFor(char16_t unit) {
    switch (unit) {
    case u'\n':
    case u'\r': return 0xff0d;  // Return
    case u'\t': return 0xff09;  // Tab
    case u'\b': return 0xff08;  // BackSpace
    case 0x1b: return 0xff1b;   // Escape
    default: break;
    }
    if ((unit >= 0x20 && unit <= 0x7e) || (unit >= 0xa0 && unit <= 0xff)) return unit;
    return 0x01000000 | unit;
}

// The server's core keyboard map, and the spare keys bound for this typing,
// which go back to nothing at the end.
class KeyboardMap {
public:
    explicit KeyboardMap(xcb_connection_t* connection) : connection_(connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        first_ = setup->min_keycode;
        const quint8 count = quint8(setup->max_keycode - setup->min_keycode + 1);
        std::unique_ptr<xcb_get_keyboard_mapping_reply_t, FreeDeleter> reply(
            xcb_get_keyboard_mapping_reply(connection, xcb_get_keyboard_mapping(connection, first_, count), nullptr));
        if (!reply) return;
        perKey_ = reply->keysyms_per_keycode;
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
        keysyms_.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    }

    struct Key {
        xcb_keycode_t code;
        bool shifted;
    };

    // The key that gives `keysym`, plainly or with Shift; else a spare key
    // bound to it now. Nothing when no key is left.
    std::optional<Key> keyFor(Keysym keysym) {
        for (int column = 0; column < std::min(perKey_, 2); ++column)
            for (std::size_t key = 0; key * perKey_ < keysyms_.size(); ++key)
                if (keysyms_[key * perKey_ + column] == keysym) return Key{code(key), column == 1};
        for (std::size_t key = 0; key * perKey_ < keysyms_.size(); ++key) {
            const std::span<xcb_keysym_t> row(keysyms_.data() + key * perKey_, std::size_t(perKey_));
            if (std::any_of(row.begin(), row.end(), [](xcb_keysym_t k) { return k != noSymbol; })) continue;
            std::fill(row.begin(), row.end(), keysym);
            bind(code(key), keysym);
            bound_.push_back(code(key));
            return Key{code(key), false};
        }
        return std::nullopt;
    }

    // The spare keys bound for this typing go back to nothing.
    void release() {
        for (const xcb_keycode_t key : bound_) bind(key, noSymbol);
        bound_.clear();
        xcb_flush(connection_);
    }

private:
    xcb_keycode_t code(std::size_t index) const { return xcb_keycode_t(first_ + index); }

    void bind(xcb_keycode_t key, Keysym keysym) {
        const std::vector<xcb_keysym_t> row(std::size_t(perKey_), keysym);
        xcb_change_keyboard_mapping(connection_, 1, key, quint8(perKey_), row.data());
    }

    xcb_connection_t* connection_;
    xcb_keycode_t first_ = 0;
    int perKey_ = 0;
    std::vector<xcb_keysym_t> keysyms_;
    std::vector<xcb_keycode_t> bound_;
};

void fakeKey(xcb_connection_t* connection, quint8 type, xcb_keycode_t key) {
    xcb_test_fake_input(connection, type, key, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
}

// Qt's key code for a character typed.
int qtKey(char16_t unit) {
    switch (unit) {
    case u'\n':
    case u'\r': return Qt::Key_Return;
    case u'\t': return Qt::Key_Tab;
    case u'\b': return Qt::Key_Backspace;
    case 0x1b: return Qt::Key_Escape;
    default: return QChar(unit).toUpper().unicode();
    }
}

void sendToFocusWindow(char16_t unit) {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        // A key may move the focus, or close the window.
        QWindow* window = QGuiApplication::focusWindow();
        if (!window) return;
        QKeyEvent event(type, qtKey(unit), Qt::NoModifier, QString(QChar(unit)));
        QCoreApplication::sendEvent(window, &event);
    }
}

}  // namespace

Task<> typeText(QString text, Clock& clock) {
    xcb_connection_t* connection = qtX11Connection();
    if (!connection) {
        for (const QChar unit : text) sendToFocusWindow(unit.unicode());
        [[maybe_unused]] const bool slept = co_await sleep(typingSettleTime, clock);
        co_return;
    }
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection, &xcb_test_id);
    if (!xtest || !xtest->present) co_return;
    KeyboardMap keyboard(connection);
    const std::optional<KeyboardMap::Key> shift = keyboard.keyFor(shiftKeysym);
    for (const QChar unit : text) {
        const std::optional<KeyboardMap::Key> key = keyboard.keyFor(keysymFor(unit.unicode()));
        if (!key || (key->shifted && !shift)) continue;
        if (key->shifted) fakeKey(connection, XCB_KEY_PRESS, shift->code);
        fakeKey(connection, XCB_KEY_PRESS, key->code);
        fakeKey(connection, XCB_KEY_RELEASE, key->code);
        if (key->shifted) fakeKey(connection, XCB_KEY_RELEASE, shift->code);
    }
    xcb_flush(connection);
    [[maybe_unused]] const bool slept = co_await sleep(typingSettleTime, clock);
    // Only now: the keys are read with the map of the moment they arrive.
    keyboard.release();
}

void sendShortcutKey(QWindow& window, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    const QPointer<QWindow> target(&window);
    if (QObject* focus = window.focusObject()) {
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, text);
        QCoreApplication::sendEvent(focus, &override);
    }
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        if (!target) return;
        QKeyEvent event(type, key, modifiers, text);
        QCoreApplication::sendEvent(target, &event);
    }
}

}  // namespace tavlin::platform
