#include "keybindings/GlobalHotKeys.h"

#include "keybindings/KeyCodes.h"
#include "platform/Log.h"

#include <QKeyEvent>

#include <algorithm>
#include <cstdio>

using tavlin::platform::HotKeyBackend;
using tavlin::platform::KeyChord;
using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

QString refusalReason(int status) {
    switch (status) {
    case HotKeyBackend::badAccess: return u"another program holds it"_s;
    case HotKeyBackend::badValue: return u"it has no key that can be grabbed"_s;
    case HotKeyBackend::noKeyGrabs:
        return u"this desktop gives no global shortcuts; bind “gapplication launch com.quorvandell.tavlin” to a key "
               u"in the desktop’s keyboard settings instead"_s;
    default: return u"the X server refused it (error %1)"_s.arg(status);
    }
}

void warnOfRefusal(const Shortcut& shortcut, const QString& reason) {
    qCWarning(lcKeys).noquote() << u"couldn’t register %1 as a global shortcut: %2"_s.arg(shortcut.description(),
                                                                                          reason);
}

void printRefusal(const Shortcut& shortcut, int status) {
    const QByteArray line =
        (u"Error registering hotkey "_s + shortcut.description() + u": "_s + QString::number(status) + u'\n').toUtf8();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
    std::fflush(stdout);
    warnOfRefusal(shortcut, refusalReason(status));
}

std::optional<KeyChord> chordOf(const Shortcut& shortcut) {
    const std::optional<quint32> keyCode = x11KeyCode(shortcut.carbonKeyCode());
    const std::optional<quint16> modifiers = x11Modifiers(shortcut.carbonModifiers());
    if (!keyCode || !modifiers) return std::nullopt;
    return KeyChord{*keyCode, *modifiers};
}

}  // namespace

GlobalHotKeys::GlobalHotKeys(std::unique_ptr<HotKeyBackend> backend) : backend_(std::move(backend)) {
    backend_->setKeyHandler([this](KeyChord chord, bool pressed) { handleBackendKey(chord, pressed); });
    backend_->setRefusalHandler([this](KeyChord chord, const QString& reason) { handleBackendRefusal(chord, reason); });
}

GlobalHotKeys::~GlobalHotKeys() { suspendAll(); }

void GlobalHotKeys::registerHotKey(const Shortcut& shortcut, Callback onKeyDown, Callback onKeyUp) {
    const qint64 id = ++hotKeyIdCounter_;
    HotKey hotKey{shortcut, std::nullopt, std::move(onKeyDown), std::move(onKeyUp)};
    const std::optional<KeyChord> chord = chordOf(shortcut);
    int status = HotKeyBackend::grabbed;
    // X grants a second grab of a chord to the program that holds it.
    if (findByShortcut(shortcut) != hotKeys_.cend()) status = HotKeyBackend::badAccess;
    else if (!chord) status = HotKeyBackend::badValue;
    else if (mode_ == Mode::hotKeys) status = grab(hotKey, *chord);
    if (status != HotKeyBackend::grabbed) {
        printRefusal(shortcut, status);
        return;
    }
    hotKeys_.emplace(id, std::move(hotKey));
}

void GlobalHotKeys::unregisterHotKey(const Shortcut& shortcut) {
    std::erase_if(hotKeys_, [&](const auto& entry) {
        const HotKey& hotKey = entry.second;
        if (hotKey.shortcut != shortcut) return false;
        if (hotKey.chord) backend_->ungrab(*hotKey.chord);
        return true;
    });
}

void GlobalHotKeys::updateEventHandler(bool isEnabled, bool isMenuOpen) {
    const Mode mode = !isEnabled ? Mode::off : isMenuOpen ? Mode::menuFallback : Mode::hotKeys;
    if (mode == mode_) return;
    mode_ = mode;
    if (mode == Mode::hotKeys) grabSuspended();
    else suspendAll();
    setMenuFallback(mode == Mode::menuFallback);
    if (mode == Mode::off) heldKeys_.clear();
}

std::optional<qint64> GlobalHotKeys::hotKeyId(const Shortcut& shortcut) const {
    const auto match = findByShortcut(shortcut);
    if (match == hotKeys_.cend()) return std::nullopt;
    return match->first;
}

bool GlobalHotKeys::isHeldElsewhere(const Shortcut& shortcut) {
    const std::optional<KeyChord> chord = chordOf(shortcut);
    return chord && findByShortcut(shortcut) == hotKeys_.cend() && backend_->isHeldElsewhere(*chord);
}

bool GlobalHotKeys::hasGlobalShortcuts() const { return backend_->hasGlobalShortcuts(); }

std::optional<QString> GlobalHotKeys::triggerDescription(const Shortcut& shortcut) const {
    const std::optional<KeyChord> chord = chordOf(shortcut);
    if (!chord || findByShortcut(shortcut) == hotKeys_.cend()) return std::nullopt;
    return backend_->triggerDescription(*chord);
}

bool GlobalHotKeys::askToChangeTrigger(const Shortcut& shortcut) {
    const std::optional<KeyChord> chord = chordOf(shortcut);
    return chord && findByShortcut(shortcut) != hotKeys_.cend() && backend_->askToChangeTrigger(*chord);
}

void GlobalHotKeys::setChangeHandler(std::function<void()> handler) { backend_->setChangeHandler(std::move(handler)); }

void GlobalHotKeys::handleBackendRefusal(KeyChord chord, const QString& reason) {
    std::erase_if(hotKeys_, [&](const auto& entry) {
        const HotKey& hotKey = entry.second;
        if (hotKey.chord != chord) return false;
        warnOfRefusal(hotKey.shortcut, reason);
        return true;
    });
}

GlobalHotKeys::HotKeys::const_iterator GlobalHotKeys::findByShortcut(const Shortcut& shortcut) const {
    return std::find_if(hotKeys_.cbegin(), hotKeys_.cend(),
                        [&](const auto& entry) { return entry.second.shortcut == shortcut; });
}

int GlobalHotKeys::grab(HotKey& hotKey, KeyChord chord) {
    const int status = backend_->grab(chord);
    if (status == HotKeyBackend::grabbed) hotKey.chord = chord;
    return status;
}

void GlobalHotKeys::suspendAll() {
    for (auto& [id, hotKey] : hotKeys_) {
        if (!hotKey.chord) continue;
        backend_->ungrab(*hotKey.chord);
        hotKey.chord.reset();
    }
}

// A key that another program took meanwhile is given up.
void GlobalHotKeys::grabSuspended() {
    for (auto entry = hotKeys_.begin(); entry != hotKeys_.end();) {
        HotKey& hotKey = entry->second;
        // Only shortcuts with a chord are registered.
        const int status = hotKey.chord ? HotKeyBackend::grabbed : grab(hotKey, *chordOf(hotKey.shortcut));
        if (status == HotKeyBackend::grabbed) {
            ++entry;
            continue;
        }
        printRefusal(hotKey.shortcut, status);
        entry = hotKeys_.erase(entry);
    }
}

void GlobalHotKeys::setMenuFallback(bool on) {
    if (!on) {
        // A hot key's action that closes the menu gets here from inside the
        // monitor's own callback.
        LocalEventMonitor::end(menuKeyMonitor_);
        return;
    }
    if (menuKeyMonitor_) return;
    menuKeyMonitor_ = std::make_unique<LocalEventMonitor>(
        QSet{QEvent::KeyPress, QEvent::KeyRelease}, [this](QObject* receiver, QEvent* event) {
            // A key event goes to a window first, then on to its widgets:
            // the first delivery is the one to match.
            return receiver->isWindowType() && handleMenuKeyEvent(*static_cast<QKeyEvent*>(event));
        });
}

void GlobalHotKeys::handleBackendKey(KeyChord chord, bool pressed) {
    const std::optional<qint64> keyCode = carbonKeyCodeFromX11(chord.keyCode);
    if (!keyCode) return;
    handleKey(Shortcut(*keyCode, carbonModifiersFromX11(chord.modifiers)),
              pressed ? KeyAction::press : KeyAction::release);
}

bool GlobalHotKeys::handleMenuKeyEvent(const QKeyEvent& event) {
    const std::optional<Shortcut> keys = Shortcut::fromKeyEvent(event);
    if (!keys) return false;
    const KeyAction action = event.isAutoRepeat()               ? KeyAction::repeat
                             : event.type() == QEvent::KeyPress ? KeyAction::press
                                                                : KeyAction::release;
    return handleKey(*keys, action);
}

bool GlobalHotKeys::handleKey(const Shortcut& keys, KeyAction action) {
    if (mode_ == Mode::off) return false;
    // A held key repeats its press; only the first one counts.
    switch (action) {
    case KeyAction::press: return heldKeys_.contains(keys.carbonKeyCode()) || handlePress(keys);
    case KeyAction::repeat: return heldKeys_.contains(keys.carbonKeyCode());
    case KeyAction::release: return handleRelease(keys.carbonKeyCode());
    }
    return false;
}

// Callbacks may register and unregister hot keys, so each runs from a copy
// of its hot key.
bool GlobalHotKeys::handlePress(const Shortcut& keys) {
    const auto match = findByShortcut(keys);
    if (match == hotKeys_.cend()) return false;
    heldKeys_.insert(keys.carbonKeyCode(), match->first);
    const HotKey hotKey = match->second;
    if (hotKey.onKeyDown) hotKey.onKeyDown(hotKey.shortcut);
    return true;
}

// The release of a taken press, whatever the modifiers are by now.
bool GlobalHotKeys::handleRelease(qint64 carbonKeyCode) {
    const auto held = heldKeys_.constFind(carbonKeyCode);
    if (held == heldKeys_.cend()) return false;
    const qint64 id = *held;
    heldKeys_.erase(held);
    const auto match = hotKeys_.find(id);
    if (match == hotKeys_.end()) return true;
    const HotKey hotKey = match->second;
    if (hotKey.onKeyUp) hotKey.onKeyUp(hotKey.shortcut);
    return true;
}

}  // namespace tavlin::KeyBindings
