#pragma once

// Everything the settings view and window are made of, in memory: settings
// in a temporary folder that is also XDG_CONFIG_HOME (so the login item is
// written there), reminder lists in a memory store, a location service the
// test answers, contacts in memory, an AI tools server that is not started,
// hot keys on a fake backend, the tray's renderer faked, and a notification
// permission the test answers.

#include "keybindings/KeyBindings.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPServer.h"
#include "mcp/MCPService.h"
#include "platform/UserDefaults.h"
#include "platform/eventstore/MemoryEventStore.h"
#include "preferences/PreferencesViewModel.h"
#include "store/LocationFake.h"
#include "store/LocationProvider.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"
#include "store/StoreFakes.h"
#include "support/FakeHotKeyBackend.h"
#include "support/FakeSegmentRenderer.h"
#include "support/ScopedVariable.h"

#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace tavlin::testing {

// The daily summary's permission to notify, as the test decides it: an
// answer given at once, or (with none) one the test gives later.
class FakeNotificationPermission {
public:
    std::optional<bool> answer = true;

    std::function<platform::Task<bool>()> function() {
        return [this]() -> platform::Task<bool> {
            ++asked_;
            if (answer) return immediately(*answer);
            pending_.emplace_back();
            return pending_.back().task();
        };
    }
    // Answers every question still open.
    void answerPending(bool allowed) {
        for (const auto& question : std::exchange(pending_, {})) question.resolve(allowed);
    }
    int asked() const { return asked_; }

private:
    static platform::Task<bool> immediately(bool allowed) { co_return allowed; }

    int asked_ = 0;
    std::vector<platform::TaskCompletion<bool>> pending_;
};

class PreferencesWorld {
public:
    using ReminderList = platform::ReminderList;

    static ReminderList list(const QString& identifier, const QString& title) {
        return {.identifier = identifier, .title = title};
    }
    // "L1" "List 1" … up to `count`.
    static std::vector<ReminderList> numberedLists(int count) {
        std::vector<ReminderList> lists;
        for (int i = 1; i <= count; ++i)
            lists.push_back(list(QStringLiteral("L%1").arg(i), QStringLiteral("List %1").arg(i)));
        return lists;
    }

    explicit PreferencesWorld(std::vector<ReminderList> lists = {}) { setLists(std::move(lists)); }

    // What another program leaves in the reminders store, as the store
    // reads it at its next refresh (started here; the lists are read at once).
    void setLists(std::vector<ReminderList> lists) {
        backend.changeByAnotherProcess(
            [&](platform::MemoryEventStore::Contents& held) { held.lists = std::move(lists); });
        platform::detach(store.refresh());
    }

    preferences::PreferencesServices services() {
        return {.store = store,
                .settings = settings,
                .ensureNotificationAuthorization = notifications.function(),
                .locationProvider = location,
                .mcpServer = server,
                .contacts = contacts,
                .renderSegments = renderer.renderer(),
                .checkForUpdates = checkForUpdates};
    }

    QTemporaryDir folder;
    ScopedVariable configHome{"XDG_CONFIG_HOME", folder.path().toUtf8()};
    platform::UserDefaults defaults{folder.filePath(QStringLiteral("Tavlin/settings.json"))};
    store::Settings settings{defaults};
    platform::MemoryEventStore backend;
    ScriptedPowerEvents power;
    MemoryContacts contacts;
    ScriptedPlaces geography;
    store::PlaceResolver places{contacts, geography, geography};
    store::ReminderStore store{backend, settings, power, places};
    platform::FakeLocationManager* locationManager = new platform::FakeLocationManager;
    store::LocationProvider location{std::unique_ptr<platform::LocationManager>(locationManager)};
    mcp::MCPService service{QStringLiteral("1"), QString(), {}};
    mcp::MCPServer server{service, folder.filePath(QStringLiteral("data/Tavlin/mcp.json")),
                          mcp::MCPConfiguration::makeToken()};
    std::unique_ptr<FakeHotKeyBackend> ownedHotKeyBackend = std::make_unique<FakeHotKeyBackend>();
    FakeHotKeyBackend& hotKeyBackend = *ownedHotKeyBackend;
    KeyBindings::Module hotKeys{defaults, std::move(ownedHotKeyBackend)};
    FakeSegmentRenderer renderer;
    FakeNotificationPermission notifications;
    std::function<void()> checkForUpdates;
};

}  // namespace tavlin::testing
