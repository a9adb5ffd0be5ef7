#include "keybindings/KeyBindings.h"

#include "keybindings/GlobalHotKeys.h"
#include "keybindings/LocalEventMonitor.h"

#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <QWindow>

#include <map>

using tavlin::platform::UserDefaults;
using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

constexpr char kKeyPrefix[] = "KeyBindings_";

Module* current = nullptr;

using HandlerTable = QHash<Name, QList<Action>>;
// Name → stream id → what yields to the stream, in the order streams opened.
using StreamTable = QHash<Name, std::map<quint64, Action>>;

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
            shortcut, [this](const Shortcut& fired) { runHandlers(fired, keyDownHandlers, streamKeyDownHandlers); },
            [this](const Shortcut& fired) { runHandlers(fired, keyUpHandlers, streamKeyUpHandlers); });
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

    // The stored shortcuts of the Names that are keys of the tables.
    template <typename Table>
    QSet<Shortcut> storedShortcuts(const Table& down, const Table& up) const {
        QSet<Shortcut> shortcuts;
        for (const Table* table : {&down, &up})
            for (auto entry = table->cbegin(); entry != table->cend(); ++entry)
                if (const std::optional<Shortcut> stored = read(entry.key())) shortcuts.insert(*stored);
        return shortcuts;
    }
    QSet<Shortcut> handledShortcuts() const { return storedShortcuts(keyDownHandlers, keyUpHandlers); }
    QSet<Shortcut> streamedShortcuts() const { return storedShortcuts(streamKeyDownHandlers, streamKeyUpHandlers); }

    void addStream(const Name& name, quint64 id, Action onKeyDown, Action onKeyUp) {
        streamKeyDownHandlers[name].emplace(id, std::move(onKeyDown));
        streamKeyUpHandlers[name].emplace(id, std::move(onKeyUp));
        registerStored(name);
    }

    void removeStream(const Name& name, quint64 id) {
        for (StreamTable* table : {&streamKeyDownHandlers, &streamKeyUpHandlers}) {
            const auto entry = table->find(name);
            if (entry == table->end()) continue;
            entry->erase(id);
            // A Name left as a key with no streams would count as streamed
            // for good, and its hot key would never be released.
            if (entry->empty()) table->erase(entry);
        }
        const std::optional<Shortcut> stored = read(name);
        if (stored && !handledShortcuts().contains(*stored) && !streamedShortcuts().contains(*stored))
            unregisterShortcut(*stored);
    }

    // Each Name's shortcut is read afresh, so a Name whose stored shortcut
    // changed behind the module's back no longer runs. Actions may change
    // the tables, so they run from a copy.
    void runHandlers(const Shortcut& fired, const HandlerTable& handlerTable, const StreamTable& streamTable) const {
        if (isPaused) return;
        const HandlerTable handlers = handlerTable;
        for (auto entry = handlers.cbegin(); entry != handlers.cend(); ++entry) {
            if (read(entry.key()) != fired) continue;
            for (const Action& action : entry.value()) action();
        }
        const StreamTable streams = streamTable;
        for (auto entry = streams.cbegin(); entry != streams.cend(); ++entry) {
            if (read(entry.key()) != fired) continue;
            for (const auto& [id, yield] : entry.value()) yield();
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
    StreamTable streamKeyDownHandlers;
    StreamTable streamKeyUpHandlers;
    quint64 streamIdCounter = 0;
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
    state_->hotKeys.setChangeHandler([this] { emit globalShortcutsDidChange(); });
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
    const std::optional<Shortcut> stored = state.read(name);
    if (stored && !state.streamedShortcuts().contains(*stored)) state.unregisterShortcut(*stored);
}

void removeAllHandlers() {
    auto& state = currentState();
    for (const Shortcut& shortcut : state.handledShortcuts() - state.streamedShortcuts())
        state.unregisterShortcut(shortcut);
    state.keyDownHandlers.clear();
    state.keyUpHandlers.clear();
}

EventStream events(const Name& name, EventStream::Handler handler) {
    auto& state = currentState();
    const quint64 id = ++state.streamIdCounter;
    auto channel = std::make_shared<EventStream::Channel>(EventStream::Channel{std::move(handler)});
    const auto yielding = [weak = std::weak_ptr(channel)](EventType type) {
        return [weak, type] {
            // Kept alive while it runs: the handler may end its own stream.
            if (const auto channel = weak.lock(); channel && channel->isOpen) channel->handler(type);
        };
    };
    QMetaObject::invokeMethod(
        &Module::instance(),
        [name, id, down = yielding(EventType::keyDown), up = yielding(EventType::keyUp)] {
            currentState().addStream(name, id, down, up);
        },
        Qt::QueuedConnection);
    return EventStream(name, id, std::move(channel));
}

EventStream events(EventType type, const Name& name, EventStream::Handler handler) {
    return events(name, [type, handler = std::move(handler)](EventType event) {
        if (event == type) handler(event);
    });
}

EventStream::EventStream(EventStream&& other) noexcept
    : name_(std::move(other.name_)), id_(other.id_), channel_(std::move(other.channel_)) {}

EventStream& EventStream::operator=(EventStream&& other) noexcept {
    if (this == &other) return *this;
    end();
    name_ = std::move(other.name_);
    id_ = other.id_;
    channel_ = std::move(other.channel_);
    return *this;
}

EventStream::~EventStream() { end(); }

void EventStream::end() {
    if (!channel_) return;
    channel_->isOpen = false;
    channel_.reset();
    // Nothing to leave once the module is gone.
    if (!current) return;
    QMetaObject::invokeMethod(
        current, [name = name_, id = id_] { currentState().removeStream(name, id); }, Qt::QueuedConnection);
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

bool isHeldByAnotherProgram(const Shortcut& shortcut) { return currentState().hotKeys.isHeldElsewhere(shortcut); }

bool hasGlobalShortcuts() { return currentState().hotKeys.hasGlobalShortcuts(); }

std::optional<QString> desktopTrigger(const Name& name) {
    const auto& state = currentState();
    const std::optional<Shortcut> stored = state.read(name);
    return stored ? state.hotKeys.triggerDescription(*stored) : std::nullopt;
}

bool askDesktopToChangeTrigger(const Name& name) {
    auto& state = currentState();
    const std::optional<Shortcut> stored = state.read(name);
    return stored && state.hotKeys.askToChangeTrigger(*stored);
}

}  // namespace tavlin::KeyBindings
