#pragma once

#include "mcp/JSONRPCCodec.h"
#include "mcp/MCPService.h"
#include "mcp/ReminderTools.h"
#include "platform/Clock.h"
#include "platform/MemoryRemindersStore.h"
#include "platform/PowerEvents.h"
#include "platform/Geocoder.h"
#include "platform/MapSearch.h"
#include "platform/UserDefaults.h"
#include "platform/VCardContacts.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

// The reminder tools over a store in memory, in Amsterdam on Wednesday
// 4 March 2026 at 10:00, with every timer on a manual clock and the wall
// clock following it. Tools are called through the service, as a client
// calls them.
class ReminderToolsFixture : public ::testing::Test {
protected:
    using Date = tavlin::platform::Date;
    using DateComponents = tavlin::platform::DateComponents;
    using Reminder = tavlin::platform::Reminder;
    using ReminderList = tavlin::platform::ReminderList;

    class SilentPowerEvents final : public tavlin::platform::PowerEvents {};

    static constexpr Date wednesdayMorning = Date::fromSecondsSince1970(1772614800);

    Date wallNow() const {
        return start.addingTimeInterval(std::chrono::duration<double>(clock.now().time_since_epoch()).count());
    }
    tavlin::store::WallClock wallClock() {
        return {[this] { return wallNow(); }, calendar};
    }

    static ReminderList list(const char* identifier, const char* title) {
        return {.identifier = QString::fromUtf8(identifier),
                .title = QString::fromUtf8(title),
                .source = tavlin::platform::ReminderSource{QStringLiteral("local"), QStringLiteral("On this computer")}};
    }
    static Reminder reminder(const char* title, const char* listIdentifier = "work",
                             std::optional<DateComponents> due = std::nullopt) {
        return {.identifier = QString::fromUtf8(title).toLower().replace(u' ', u'-'),
                .title = QString::fromUtf8(title),
                .listIdentifier = QString::fromUtf8(listIdentifier),
                .dueDateComponents = std::move(due)};
    }
    static DateComponents day(int year, int month, int dayOfMonth) {
        return {.year = year, .month = month, .day = dayOfMonth};
    }
    static DateComponents at(int year, int month, int dayOfMonth, int hour, int minute = 0) {
        return {.year = year, .month = month, .day = dayOfMonth, .hour = hour, .minute = minute};
    }

    // Builds the store over `contents` and lets its first refresh finish.
    void open(tavlin::platform::MemoryRemindersStore::Contents contents,
              tavlin::platform::AuthorizationStatus access = tavlin::platform::AuthorizationStatus::fullAccess) {
        backend = std::make_unique<tavlin::platform::MemoryRemindersStore>(std::move(contents));
        backend->setAuthorizationStatus(access);
        backend->setAccessRequestOutcome(access);
        store = std::make_unique<tavlin::store::ReminderStore>(*backend, settings, power, places, wallClock());
        tools = std::make_unique<tavlin::mcp::ReminderTools>(*store, settings, wallClock());
        service = std::make_unique<tavlin::mcp::MCPService>(QStringLiteral("1"), tavlin::mcp::ReminderTools::serverInstructions(),
                                                            tools->makeTools());
        store->start();
        clock.runDueActions();
    }

    // The result of one tools/call once everything it waits for is done.
    nlohmann::json call(const std::string& tool, const nlohmann::json& arguments = nlohmann::json::object()) {
        const nlohmann::json request = {{"jsonrpc", "2.0"}, {"id", 1}, {"method", "tools/call"},
                                        {"params", {{"name", tool}, {"arguments", arguments}}}};
        const auto task = service->handle(tavlin::mcp::JSONRPCCodec::serialize(request));
        clock.runDueActions();
        if (!task.isDone() || !task.result()) return nullptr;
        return nlohmann::json::parse(task.result()->toStdString()).at("result");
    }
    static std::string textOf(const nlohmann::json& result) { return result.at("content").at(0).at("text"); }

    tavlin::platform::Calendar calendar =
        tavlin::platform::Calendar::gregorian(tavlin::platform::TimeZone::fromIdentifier(QStringLiteral("Europe/Amsterdam")).value());
    tavlin::platform::ManualClock clock;
    tavlin::platform::ScopedMainClock useClock{clock};
    Date start = wednesdayMorning;
    QTemporaryDir folder;
    tavlin::platform::UserDefaults defaults{folder.filePath(QStringLiteral("settings.json"))};
    tavlin::store::Settings settings{defaults};
    SilentPowerEvents power;
    tavlin::platform::VCardContacts contacts{folder.filePath(QStringLiteral("contacts"))};
    tavlin::platform::UnavailableMapSearch mapSearch;
    tavlin::platform::UnavailableGeocoder geocoder;
    tavlin::store::PlaceResolver places{contacts, mapSearch, geocoder};
    std::unique_ptr<tavlin::platform::MemoryRemindersStore> backend;
    std::unique_ptr<tavlin::store::ReminderStore> store;
    std::unique_ptr<tavlin::mcp::ReminderTools> tools;
    std::unique_ptr<tavlin::mcp::MCPService> service;
};
