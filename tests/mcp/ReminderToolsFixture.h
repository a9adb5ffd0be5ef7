#pragma once

#include "mcp/JSONRPCCodec.h"
#include "mcp/MCPService.h"
#include "mcp/ReminderTools.h"
#include "store/ReminderStoreFixture.h"

#include <chrono>
#include <memory>

// The reminder tools over the store's test fixture (a store in memory, in
// Amsterdam on Wednesday 4 March 2026 at 10:00, every timer on a manual
// clock). Tools are called through the service, as a client calls them.
class ReminderToolsFixture : public ReminderStoreFixture {
protected:
    // A reminder whose id is its title in lower case, blanks made dashes.
    static Reminder reminder(const char* title, const char* listIdentifier = "work",
                             std::optional<DateComponents> due = std::nullopt) {
        return {.identifier = QString::fromUtf8(title).toLower().replace(u' ', u'-'),
                .title = QString::fromUtf8(title),
                .listIdentifier = QString::fromUtf8(listIdentifier),
                .dueDateComponents = std::move(due)};
    }

    // A store holding `contents`, started, with its first refresh done.
    void open(tavlin::platform::MemoryEventStore::Contents contents,
              tavlin::platform::AuthorizationStatus access = tavlin::platform::AuthorizationStatus::fullAccess) {
        backend.changeByAnotherProcess([&](auto& held) { held = std::move(contents); });
        backend.setAuthorizationStatus(access);
        backend.setAccessRequestOutcome(access);
        makeStore();
        tools = std::make_unique<tavlin::mcp::ReminderTools>(
            *store, settings, tavlin::store::WallClock{[this] { return wallNow(); }, calendar});
        service = std::make_unique<tavlin::mcp::MCPService>(
            QStringLiteral("1"), tavlin::mcp::ReminderTools::serverInstructions(), tools->makeTools());
        store->start();
        clock.runDueActions();
    }

    // The result of one tools/call once everything it waits for is done.
    nlohmann::json call(const std::string& tool, const nlohmann::json& arguments = nlohmann::json::object()) {
        const auto task = send(tool, arguments);
        clock.runDueActions();
        return resultOf(task);
    }
    // The same for a call that waits on the clock (for the on-device model):
    // time moves on 100 ms at a time until it is answered, for at most 20 s.
    nlohmann::json callAsTimePasses(const std::string& tool, const nlohmann::json& arguments) {
        const auto task = send(tool, arguments);
        for (int step = 0; step < 200 && !task.isDone(); ++step) clock.advance(std::chrono::milliseconds(100));
        return resultOf(task);
    }
    static std::string textOf(const nlohmann::json& result) { return result.at("content").at(0).at("text"); }

    std::unique_ptr<tavlin::mcp::ReminderTools> tools;
    std::unique_ptr<tavlin::mcp::MCPService> service;

private:
    tavlin::platform::Task<std::optional<QByteArray>> send(const std::string& tool, const nlohmann::json& arguments) {
        const nlohmann::json request = {{"jsonrpc", "2.0"},
                                        {"id", 1},
                                        {"method", "tools/call"},
                                        {"params", {{"name", tool}, {"arguments", arguments}}}};
        return service->handle(tavlin::mcp::JSONRPCCodec::serialize(request));
    }
    // Null while the call is unanswered.
    static nlohmann::json resultOf(const tavlin::platform::Task<std::optional<QByteArray>>& task) {
        if (!task.isDone() || !task.result()) return nullptr;
        return nlohmann::json::parse(task.result()->toStdString()).at("result");
    }
};
