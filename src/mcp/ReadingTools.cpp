#include "mcp/ReminderTools.h"

#include "mcp/MCPArguments.h"
#include "parsing/SmartQuickAddParser.h"
#include "platform/DueDate.h"
#include "platform/Text.h"
#include "store/DoneToday.h"
#include "store/DueState.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <limits>
#include <tuple>

using namespace Qt::StringLiterals;
using nlohmann::json;
using tavlin::platform::Task;

// list_reminders, get_lists and get_summary.
namespace tavlin::mcp {

using platform::Reminder;
using platform::ReminderList;
using store::CountScope;

namespace {

constexpr std::int64_t defaultLimit = 50;
constexpr std::int64_t largestLimit = 200;

// High (1) first, then down to low (9); none last.
int priorityRank(int priority) { return priority == 0 ? 10 : priority; }

CountScope scopeNamed(const QString& name) {
    const auto& table = ReminderTools::scopeTable();
    const auto row = std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == name; });
    if (row != table.end()) return row->second;
    QStringList names;
    for (const auto& entry : table) names << entry.first;
    throw MCPToolError(u"scope must be one of "_s + names.join(u", "_s));
}

bool matchesSearch(const Reminder& reminder, const QString& search) {
    return platform::localizedStandardContains(reminder.title, search) ||
           platform::localizedStandardContains(reminder.notes, search);
}

}  // namespace

std::vector<const Reminder*> ReminderTools::remindersInScope(
    CountScope scope, const SnapshotClock& clock, const std::function<bool(const Reminder&)>& isWanted) const {
    if (scope == CountScope::completedToday) {
        std::vector<const Reminder*> done;
        for (const Reminder& reminder : store_.completedToday())
            if (isWanted(reminder)) done.push_back(&reminder);
        return store::DoneToday::filterIncludedLists(done, settings_.includedListIDs(),
                                                     [](const Reminder& r) { return r.completionDate; });
    }
    // The store keeps each visible reminder's due instant in its calendar;
    // the tools' own calendar is that one but in tests.
    const bool sameCalendar = store_.calendar() == clock.calendar();
    const store::DueReckoning reckoning(clock.now(), clock.calendar());
    constexpr double distantFuture = std::numeric_limits<double>::infinity();
    struct Keyed {
        std::tuple<double, int, double> key;  // due, priority rank, created
        const Reminder* reminder;
    };
    std::vector<Keyed> order;
    for (const store::ReminderStore::VisibleReminder& visible : store_.visibleReminders()) {
        const Reminder& r = *visible.reminder;
        const std::optional<platform::Date> due =
            sameCalendar ? visible.dueDate : platform::DueDate::date(r.dueDateComponents, clock.calendar());
        if (!store::includes(scope, reckoning.state(r.dueDateComponents, due), reckoning) || !isWanted(r)) continue;
        order.push_back({{due ? due->secondsSince1970() : distantFuture, priorityRank(r.priority),
                          r.creationDate ? r.creationDate->secondsSince1970() : distantFuture},
                         &r});
    }
    // Earliest due first (none last), then by priority, then the oldest; the
    // title breaks the last ties.
    std::stable_sort(order.begin(), order.end(), [&](const Keyed& a, const Keyed& b) {
        if (a.key != b.key) return a.key < b.key;
        return platform::localizedStandardCompare(a.reminder->title, b.reminder->title) < 0;
    });
    std::vector<const Reminder*> sorted;
    sorted.reserve(order.size());
    for (const Keyed& keyed : order) sorted.push_back(keyed.reminder);
    return sorted;
}

Task<MCPToolResult> ReminderTools::listReminders(json arguments) {
    requireAccess();
    co_await refreshIfStale();
    const MCPArguments given(arguments);
    const QString scopeName = given.string("scope").value_or(u"all"_s);
    const CountScope scope = scopeNamed(scopeName);
    const std::int64_t limit = std::clamp<std::int64_t>(given.number("limit").value_or(defaultLimit), 1, largestLimit);
    std::optional<QString> listIdentifier;
    if (const std::optional<QString> listName = given.string("list")) listIdentifier = list(*listName).identifier;
    QString search;
    if (const std::optional<QString> text = given.string("search"))
        search = platform::trimmedWhitespaceAndNewlines(*text);
    const SnapshotClock clock = snapshotClock();
    const std::vector<const Reminder*> selected = remindersInScope(scope, clock, [&](const Reminder& r) {
        return (!listIdentifier || r.listIdentifier == *listIdentifier) &&
               (search.isEmpty() || matchesSearch(r, search));
    });

    const auto total = static_cast<std::int64_t>(selected.size());
    const std::int64_t shown = std::min(limit, total);
    QString text = u"%1 reminder%2 (%3)"_s.arg(total).arg(total == 1 ? u""_s : u"s"_s, scopeName);
    if (shown < total) text += u", showing the first %1"_s.arg(shown);
    QStringList lines;
    json snapshots = json::array();
    for (std::int64_t i = 0; i < shown; ++i) {
        const ReminderSnapshot snapshot = this->snapshot(*selected[static_cast<std::size_t>(i)]);
        lines << u"- "_s + snapshot.line(clock);
        snapshots.push_back(snapshot.json(clock));
    }
    text += shown == 0 ? u"."_s : u":\n"_s + lines.join(u'\n');
    co_return MCPToolResult{text, false, json{{"reminders", std::move(snapshots)}, {"count", shown}, {"total", total}}};
}

Task<MCPToolResult> ReminderTools::getLists(json) {
    requireAccess();
    co_await refreshIfStale();
    QHash<QString, int> openCounts;
    for (const Reminder& reminder : store_.reminders()) ++openCounts[reminder.listIdentifier];
    const std::optional<ReminderList> defaultList = store_.quickAddList();
    const QSet<QString> included = settings_.includedListIDs();

    QStringList lines;
    json objects = json::array();
    for (const ReminderList& list : store_.lists()) {
        const bool isDefault = defaultList && defaultList->identifier == list.identifier;
        const bool isShown = included.isEmpty() || included.contains(list.identifier);
        const int open = openCounts.value(list.identifier);
        objects.push_back({
            {"id", list.identifier.toStdString()},
            {"name", list.title.toStdString()},
            {"account", list.source ? list.source->title.toStdString() : std::string()},
            {"isDefault", isDefault},
            {"isShownInTavlin", isShown},
            {"openCount", open},
        });
        lines << u"- %1 (%2 open%3%4)"_s.arg(list.title)
                     .arg(open)
                     .arg(isDefault ? u", default"_s : QString(), isShown ? QString() : u", hidden in Tavlin"_s);
    }
    const QString text = lines.isEmpty() ? u"No lists."_s : lines.join(u'\n');
    co_return MCPToolResult{text, false, json{{"lists", std::move(objects)}}};
}

Task<MCPToolResult> ReminderTools::getSummary(json) {
    requireAccess();
    co_await refreshIfStale();
    const SnapshotClock clock = snapshotClock();
    json counts = json::object();
    QStringList parts;
    for (const auto& [name, scope] : scopeTable()) {
        const int count = store_.count(scope);
        counts[name.toStdString()] = count;
        parts << store::label(scope, count).value_or(QString());
    }
    json menuBar = json::array();
    for (const CountScope scope : {settings_.primaryScope(), settings_.secondaryScope()})
        if (scope != CountScope::none) menuBar.push_back(store::rawValue(scope).toStdString());
    co_return MCPToolResult{parts.join(u", "_s) + u'.', false,
                            json{
                                {"counts", std::move(counts)},
                                {"menuBar", std::move(menuBar)},
                                {"now", clock.dateTime(clock.now()).toStdString()},
                                {"timeZone", clock.calendar().timeZone().identifier().toStdString()},
                                {"onDeviceModelAvailable", parsing::SmartQuickAddParser::isModelAvailable()},
                            }};
}

}  // namespace tavlin::mcp
