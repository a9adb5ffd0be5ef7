#include "keybindings/KeyBindings.h"

#include "keybindings/GlobalHotKeys.h"
#include "keybindings/LocalEventMonitor.h"

#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <QWindow>

using tavlin::platform::UserDefaults;
using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

constexpr char kKeyPrefix[] = "KeyBindings_";

Module* current = nullptr;

using HandlerTable = QHash<Name, QList<Action>>;

bool isPopup(QObject* object) {
    const auto* window = qobject_cast<QWindow*>(object);
    return window && window->type() == Qt::Popup;
}

bool anyPopupVisible() {
    const QWindowList windows = QGuiApplication::allWindows();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [](const QWindow* window) { return window->type() == Qt::Popup && window->isVisible(); });
}

}  // namespace

struct Module::State {
    State(Module& module, UserDefaults& defaults, std::unique_ptr<platform::HotKeyBackend> backend)
        : module(module), defaults(defaults), hotKeys(std::move(backend)) {}

    std::optional<Shortcut> read(const Name& name) const {
        return Shortcut::fromJson(defaults.object(name.userDefaultsKey()));
    }

    void registerShortcut(const Shortcut& shortcut) {
        if (registeredShortcuts.contains(shortcut)) return;
        hotKeys.registerHotKey(
            shortcut, [this](const Shortcut& fired) { runHandlers(fired, keyDownHandlers); },
            [this](const Shortcut& fired) { runHandlers(fired, keyUpHandlers); });
        // Kept also when refused: it is not tried again until released.
        registeredShortcuts.insert(shortcut);
    }

    void unregisterShortcut(const Shortcut& shortcut) {
        hotKeys.unregisterHotKey(shortcut);
        registeredShortcuts.remove(shortcut);
    }

    void registerStored(const Name& name) {
        if (const std::optional<Shortcut> stored = read(name)) registerShortcut(*stored);
    }

    void unregisterStored(const Name& name) {
        if (const std::optional<Shortcut> stored = read(name)) unregisterShortcut(*stored);
    }

    void storeShortcut(const Shortcut& shortcut, const Name& name) {
        unregisterStored(name);
        registerShortcut(shortcut);
        defaults.set(name.userDefaultsKey(), shortcut.toJson());
        emit module.shortcutByNameDidChange(name);
    }

    void clearShortcut(const Name& name) {
        const std::optional<Shortcut> stored = read(name);
        if (!stored) return;
        if (name.defaultShortcut()) defaults.set(name.userDefaultsKey(), false);
        else defaults.removeObject(name.userDefaultsKey());
        unregisterShortcut(*stored);
        emit module.shortcutByNameDidChange(name);
    }

    void reset(const Name& name) {
        // Clearing a Name without default removes its key.
        if (name.defaultShortcut()) storeShortcut(*name.defaultShortcut(), name);
        else clearShortcut(name);
    }

    QList<Name> allStoredNames() const {
        QList<Name> names;
        for (const QString& key : defaults.keys())
            if (key.startsWith(QLatin1StringView(kKeyPrefix))) names.append(Name(key.sliced(qstrlen(kKeyPrefix))));
        return names;
    }

    void attach(HandlerTable& table, const Name& name, Action action) {
        table[name].append(std::move(action));
        registerStored(name);
    }

    QSet<Shortcut> handledShortcuts() const {
        QSet<Shortcut> shortcuts;
        for (const HandlerTable* table : {&keyDownHandlers, &keyUpHandlers})
            for (auto entry = table->cbegin(); entry != table->cend(); ++entry)
                if (const std::optional<Shortcut> stored = read(entry.key())) shortcuts.insert(*stored);
        return shortcuts;
    }

    // Each Name's shortcut is read afresh, so a Name whose stored shortcut
    // changed behind the module's back no longer runs. Actions may change
    // the tables, so they run from a copy.
    void runHandlers(const Shortcut& fired, const HandlerTable& table) const {
        if (isPaused) return;
        const HandlerTable handlers = table;
        for (auto entry = handlers.cbegin(); entry != handlers.cend(); ++entry) {
            if (read(entry.key()) != fired) continue;
            for (const Action& action : entry.value()) action();
        }
    }

    void setMenuOpen(bool open) {
        if (open == isMenuOpen) return;
        isMenuOpen = open;
        hotKeys.updateEventHandler(isEnabled, isMenuOpen);
    }

    Module& module;
    UserDefaults& defaults;
    GlobalHotKeys hotKeys;
    bool isEnabled = true;
    bool isPaused = false;
    bool isMenuOpen = false;
    QSet<Shortcut> registeredShortcuts;
    HandlerTable keyDownHandlers;
    HandlerTable keyUpHandlers;
    // Popup menus, combo box lists and the like: shown and hidden as windows.
    LocalEventMonitor menuTracking{{QEvent::Show, QEvent::Hide}, [this](QObject* receiver, QEvent*) {
                                       if (isPopup(receiver)) setMenuOpen(anyPopupVisible());
                                       return false;
                                   }};
};

Module::State& currentState() {
    if (!current) qFatal("KeyBindings used while no KeyBindings::Module exists");
    return *current->state_;
}

Module::Module(UserDefaults& defaults, std::unique_ptr<platform::HotKeyBackend> backend, QObject* parent)
    : QObject(parent) {
    Q_ASSERT_X(!current, "KeyBindings::Module", "only one may exist at a time");
    state_ = std::make_unique<State>(*this, defaults, std::move(backend));
    current = this;
}

Module::~Module() {
    current = nullptr;
    state_.reset();
}

Module& Module::instance() {
    currentState();
    return *current;
}

Name::Name(QString rawValue, std::optional<Shortcut> defaultShortcut)
    : rawValue_(std::move(rawValue)), defaultShortcut_(defaultShortcut) {
    if (!defaultShortcut_) return;
    auto& state = currentState();
    if (state.defaults.object(userDefaultsKey()).is_null()) state.storeShortcut(*defaultShortcut_, *this);
}

const Name Name::togglePanel{u"togglePanel"_s};

std::string Name::userDefaultsKey() const { return kKeyPrefix + rawValue_.toStdString(); }

std::optional<Shortcut> Name::shortcut() const { return getShortcut(*this); }

void Name::setShortcut(const std::optional<Shortcut>& shortcut) const { KeyBindings::setShortcut(shortcut, *this); }

std::optional<Shortcut> getShortcut(const Name& name) { return currentState().read(name); }

void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    if (shortcut) currentState().storeShortcut(*shortcut, name);
    else currentState().clearShortcut(name);
}

void reset(const QList<Name>& names) {
    for (const Name& name : names) currentState().reset(name);
}

void resetAll() { reset(currentState().allStoredNames()); }

void onKeyDown(const Name& name, Action action) {
    auto& state = currentState();
    state.attach(state.keyDownHandlers, name, std::move(action));
}

void onKeyUp(const Name& name, Action action) {
    auto& state = currentState();
    state.attach(state.keyUpHandlers, name, std::move(action));
}

void removeHandler(const Name& name) {
    auto& state = currentState();
    state.keyDownHandlers.remove(name);
    state.keyUpHandlers.remove(name);
    state.unregisterStored(name);
}

void removeAllHandlers() {
    auto& state = currentState();
    for (const Shortcut& shortcut : state.handledShortcuts()) state.unregisterShortcut(shortcut);
    state.keyDownHandlers.clear();
    state.keyUpHandlers.clear();
}

void enable(const QList<Name>& names) {
    for (const Name& name : names) currentState().registerStored(name);
}

void disable(const QList<Name>& names) {
    for (const Name& name : names) currentState().unregisterStored(name);
}

bool isEnabled(const Name& name) {
    const auto& state = currentState();
    const std::optional<Shortcut> stored = state.read(name);
    // Not when the grab was refused: nothing would fire.
    return state.isEnabled && stored && state.hotKeys.hotKeyId(*stored).has_value();
}

bool isEnabled() { return currentState().isEnabled; }

void setEnabled(bool enabled) {
    auto& state = currentState();
    if (enabled == state.isEnabled) return;
    state.isEnabled = enabled;
    state.hotKeys.updateEventHandler(state.isEnabled, state.isMenuOpen);
}

bool isPaused() { return currentState().isPaused; }

void setPaused(bool paused) { currentState().isPaused = paused; }

bool isMenuOpen() { return currentState().isMenuOpen; }

}  // namespace tavlin::KeyBindings
