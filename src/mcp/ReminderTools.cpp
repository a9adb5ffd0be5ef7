#include "mcp/ReminderTools.h"

#include "mcp/MCPArguments.h"
#include "parsing/DateServices.h"
#include "parsing/TextHelpers.h"
#include "platform/CharacterSet.h"
#include "platform/Text.h"
#include "platform/XdgPaths.h"

#include <QStringList>

using namespace Qt::StringLiterals;
using nlohmann::json;
using tavlin::platform::Task;

namespace tavlin::mcp {

using platform::Reminder;
using platform::ReminderList;

ReminderTools::ReminderTools(store::ReminderStore& store, store::Settings& settings, store::WallClock wallClock)
    : store_(store), settings_(settings), wallClock_(std::move(wallClock)) {}

void ReminderTools::Overrides::apply(parsing::ParsedQuickAdd& reading) const {
    if (title) reading.title = *title;
    if (due) {
        reading.matchedDateText.reset();
        reading.dueDateIsBareCadenceDefault = false;
        if (const auto* value = std::get_if<DueInput::Value>(&*due)) {
            reading.dueDateComponents = value->components;
            reading.hasTime = value->hasTime;
        } else {
            reading.dueDateComponents.reset();
            reading.hasTime = false;
            reading.recurrenceFrequency.reset();
        }
    }
    if (listName) reading.listName = *listName;
    if (priority) reading.priority = *priority;
}

void ReminderTools::requireAccess() const {
    if (store_.authorization() == platform::AuthorizationStatus::fullAccess) return;
    throw MCPToolError(
        u"Tavlin doesn't have access to the reminders store. Make sure you may read and write its reminders "
        "folder (%1), then reopen Tavlin."_s.arg(platform::remindersRoots().join(u", "_s)));
}

// Calls that find the data stale while a refresh of theirs runs wait for
// that one: a burst of calls makes one fetch, not one each.
Task<> ReminderTools::refreshIfStale() {
    const double age = wallClock_.now().timeIntervalSince(store_.now());
    if (age <= 5) co_return;
    if (!staleRefresh_.isValid() || staleRefresh_.isDone()) staleRefresh_ = store_.refresh();
    // Each caller waits on a completion of its own, so that cancelling one
    // call does not cancel the refresh the others wait for. Only the refresh
    // keeps it: were it abandoned, this call would go with it.
    platform::TaskCompletion<> completion;
    const Task<> refreshed = completion.task();
    staleRefresh_.whenDone([completion = std::move(completion)] { completion.resolve(); });
    co_await refreshed;
}

ReminderList ReminderTools::list(const QString& name) const {
    const QString key = parsing::normalizedKey(name);
    const std::vector<ReminderList>& lists = store_.lists();
    // A name of only symbols folds to nothing and names no list.
    const auto found =
        key.isEmpty() ? lists.end() : std::find_if(lists.begin(), lists.end(), [&](const ReminderList& l) {
            return parsing::normalizedKey(l.title) == key;
        });
    if (found != lists.end()) return *found;
    QStringList titles;
    for (const ReminderList& l : lists) titles << u'"' + l.title + u'"';
    throw MCPToolError(u"No list called \"%1\". The lists are: %2."_s.arg(name, titles.join(u", "_s)));
}

std::optional<platform::Priority> ReminderTools::parsePriority(const QString& text) {
    static const platform::CharacterSet blanks = platform::CharacterSet::fromCharacters(u" \t"_s);
    const QString word = platform::lowercasedPosix(platform::trimmed(text, blanks));
    if (word.isEmpty() || word == u"none"_s) return platform::Priority::none;
    if (word == u"high"_s) return platform::Priority::high;
    if (word == u"medium"_s) return platform::Priority::medium;
    if (word == u"low"_s) return platform::Priority::low;
    return std::nullopt;
}

ReminderTools::Overrides ReminderTools::parseOverrides(const json& arguments) const {
    const MCPArguments given(arguments);
    Overrides overrides;
    if (const std::optional<QString> title = given.string("title")) {
        overrides.title = platform::trimmedWhitespaceAndNewlines(*title);
        if (overrides.title->isEmpty()) throw MCPToolError(u"title can't be empty"_s);
    }
    if (const std::optional<QString> due = given.string("due")) {
        overrides.due = DueInput::parse(*due, wallClock_.calendar);
        if (!overrides.due) {
            throw MCPToolError(
                u"due must be ISO 8601 — \"2026-09-19\" or \"2026-09-19T17:00\" — or \"none\" to clear "
                "it. Put natural-language dates in the text instead."_s);
        }
    }
    if (const std::optional<QString> name = given.string("list")) overrides.listName = list(*name).title;
    if (const std::optional<QString> priority = given.string("priority")) {
        overrides.priority = parsePriority(*priority);
        if (!overrides.priority) throw MCPToolError(u"priority must be none, low, medium or high"_s);
    }
    return overrides;
}

parsing::ParsedQuickAdd ReminderTools::instantParse(const QString& text, const QStringList& listNames,
                                                    const Overrides& overrides) const {
    parsing::ParsedQuickAdd reading =
        store::QuickAdd::committedReading(text, listNames, wallClock_.now(), wallClock_.calendar);
    overrides.apply(reading);
    return reading;
}

QStringList ReminderTools::listNames() const {
    QStringList names;
    for (const ReminderList& l : store_.lists()) names << l.title;
    return names;
}

SnapshotClock ReminderTools::snapshotClock() const { return SnapshotClock(wallClock_.now(), wallClock_.calendar); }

ReminderSnapshot ReminderTools::snapshot(const Reminder& reminder) const {
    return ReminderSnapshot::of(reminder, store_.listWithIdentifier(reminder.listIdentifier));
}

}  // namespace tavlin::mcp
