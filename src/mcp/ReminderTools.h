#pragma once

#include "mcp/DueInput.h"
#include "mcp/MCPTool.h"
#include "mcp/ReminderSnapshot.h"
#include "parsing/ParsedQuickAdd.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"
#include "store/CountScope.h"
#include "store/QuickAdd.h"
#include "store/ReminderStore.h"

#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace tavlin::mcp {

// The reminder side of the AI tools server: the catalogue of the eight
// tools (names, descriptions, input schemas and handlers), the instructions
// text, and what the handlers share. Every handler first checks the access
// to reminders, before it reads any argument. Main thread only.
class ReminderTools {
public:
    // The most reminders one create_reminder call makes.
    static constexpr int batchMaximum = 10;

    // The explicit fields of a create or update call, validated.
    struct Overrides {
        std::optional<QString> title;  // trimmed, never empty
        std::optional<DueInput::Outcome> due;
        std::optional<QString> listName;  // the list's own title
        std::optional<platform::Priority> priority;

        bool isEmpty() const { return !title && !due && !listName && !priority; }
        // Lays the fields over a reading; a cleared due date takes the repeat with it.
        void apply(parsing::ParsedQuickAdd& reading) const;
    };

    // How the on-device model's reading of a text came out within the wait.
    struct ModelVerdict {
        struct Parsed {
            parsing::ParsedQuickAdd reading;
        };
        // The wait ran out; the model still reads, and its task says what it made of the text.
        struct TimedOut {
            platform::Task<std::optional<parsing::ParsedQuickAdd>> model;
        };
        struct Unavailable {};
        struct Declined {};  // the model answered without a reading
        std::variant<Parsed, TimedOut, Unavailable, Declined> outcome;
    };
    static constexpr std::chrono::seconds modelWaitLimit{8};

    // `wallClock` gives the tools their present moment and calendar.
    ReminderTools(store::ReminderStore& store, store::Settings& settings, store::WallClock wallClock = {});

    // The eight tools, in the order tools/list gives them.
    std::vector<MCPTool> makeTools();
    static const QString& serverInstructions();
    // The scope names assistants write, in their order, with their scopes.
    static const std::vector<std::pair<QString, store::CountScope>>& scopeTable();

    // Throws MCPToolError without full access to the reminders.
    void requireAccess() const;
    // Fetches again when the store's data is more than 5 s old.
    platform::Task<> refreshIfStale();
    // The list whose title folds to the same key as `name`; throws
    // MCPToolError naming every list when none does.
    platform::ReminderList list(const QString& name) const;
    // Reads title, due, list and priority, in that order; throws MCPToolError.
    Overrides parseOverrides(const nlohmann::json& arguments) const;
    // "none" (or nothing), "low", "medium" or "high"; any case, blanks around.
    static std::optional<platform::Priority> parsePriority(const QString& text);

    // Starts the model's reading of `text` and waits for it at most
    // modelWaitLimit (on Clock::main()); at once when there is no model.
    static platform::Task<ModelVerdict> awaitModel(QString text, QStringList listNames);
    // The rule reading of one task as a tool makes it: a text of nothing but
    // markers becomes its own title, a bare cadence is due today, and the
    // explicit fields are laid over it.
    parsing::ParsedQuickAdd instantParse(const QString& text, const QStringList& listNames,
                                         const Overrides& overrides) const;
    // The open reminder, else the one completed today, else the store's own
    // with that id; throws MCPToolError when there is none.
    platform::Reminder reminder(const QString& id) const;
    platform::Task<MCPToolResult> listReminders(nlohmann::json arguments);
    platform::Task<MCPToolResult> getLists(nlohmann::json arguments);
    platform::Task<MCPToolResult> getSummary(nlohmann::json arguments);
    platform::Task<MCPToolResult> previewQuickAdd(nlohmann::json arguments);
    platform::Task<MCPToolResult> createReminder(nlohmann::json arguments);
    platform::Task<MCPToolResult> updateReminder(nlohmann::json arguments);
    platform::Task<MCPToolResult> completeReminder(nlohmann::json arguments);
    platform::Task<MCPToolResult> deleteReminder(nlohmann::json arguments);

private:
    // The reminder's present state as a reading, so that an edit of single
    // fields keeps the others.
    parsing::ParsedQuickAdd currentParse(const platform::Reminder& reminder) const;
    // What preview_quick_add shows of a reading.
    nlohmann::json previewJSON(const parsing::ParsedQuickAdd& reading, const SnapshotClock& clock) const;

    platform::Task<MCPToolResult> createBatch(QStringList pieces, std::optional<QString> notes, Overrides overrides,
                                              QStringList listNames);
    // The model's reading of a new reminder's text, within the wait: the
    // note for the reply, if any.
    platform::Task<std::optional<QString>> refineFirst(std::shared_ptr<store::QuickAdd::Store> adds,
                                                       store::QuickAdd::Entry entry, QStringList listNames,
                                                       Overrides overrides, platform::Reminder reminder);
    // The reminder as the store holds it now.
    platform::Reminder saved(const platform::Reminder& reminder) const;
    QString lastErrorDescription() const;
    SnapshotClock snapshotClock() const;
    QStringList listNames() const;
    ReminderSnapshot snapshot(const platform::Reminder& reminder) const;
    // The reminders of `scope` that `isWanted` keeps, as the store holds
    // them: those completed today newest first, the others in the order the
    // tools list them.
    std::vector<const platform::Reminder*> remindersInScope(
        store::CountScope scope, const SnapshotClock& clock,
        const std::function<bool(const platform::Reminder&)>& isWanted) const;

    store::ReminderStore& store_;
    store::Settings& settings_;
    store::WallClock wallClock_;
    platform::Task<> staleRefresh_;  // the refresh of stale data in flight, if any
};

}  // namespace tavlin::mcp
