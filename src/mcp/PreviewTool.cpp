#include "mcp/ReminderTools.h"

#include "mcp/MCPArguments.h"

using namespace Qt::StringLiterals;
using nlohmann::json;
using tavlin::parsing::LocationTrigger;
using tavlin::parsing::ParsedQuickAdd;
using tavlin::platform::Task;

// preview_quick_add: what a text would become, creating nothing.
namespace tavlin::mcp {

namespace {

// A reading shown as if it were a stored reminder without an id.
ReminderSnapshot snapshotOf(const ParsedQuickAdd& reading) {
    ReminderSnapshot snapshot{.title = reading.title,
                              .listName = reading.listName,
                              .dueDateComponents = reading.dueDateComponents,
                              .priority = platform::icalendarPriority(reading.priority)};
    if (reading.recurrenceFrequency)
        snapshot.recurrence = ReminderSnapshot::Recurrence{*reading.recurrenceFrequency, reading.recurrenceInterval};
    if (reading.locationName) {
        snapshot.place = ReminderSnapshot::Place{.name = *reading.locationName,
                                                 .radius = reading.locationRadius.value_or(0),
                                                 .onDeparture = reading.locationTrigger == LocationTrigger::leave};
    }
    return snapshot;
}

}  // namespace

json ReminderTools::previewJSON(const ParsedQuickAdd& reading, const SnapshotClock& clock) const {
    json object = {
        {"title", reading.title.toStdString()},
        {"priority", ReminderSnapshot::priorityWord(platform::icalendarPriority(reading.priority)).toStdString()}};
    if (const std::optional<QString> due = clock.dueText(reading.dueDateComponents, reading.hasTime)) {
        object["due"] = due->toStdString();
        object["dueHasTime"] = reading.hasTime;
    }
    if (reading.listName) object["list"] = reading.listName->toStdString();
    if (reading.recurrenceFrequency) {
        object["repeats"] =
            ReminderSnapshot::repeatText(*reading.recurrenceFrequency, reading.recurrenceInterval).toStdString();
    }
    if (reading.locationName) {
        json location = {{"name", reading.locationName->toStdString()},
                         {"trigger", reading.locationTrigger == LocationTrigger::leave ? "leave" : "arrive"}};
        if (reading.locationRadius) location["radius"] = *reading.locationRadius;
        object["location"] = std::move(location);
    }
    return object;
}

Task<MCPToolResult> ReminderTools::previewQuickAdd(json arguments) {
    requireAccess();
    const QString text = MCPArguments(arguments).requiredString("text");
    const QStringList names = listNames();
    const ParsedQuickAdd deterministic = instantParse(text, names, {});
    ModelVerdict verdict = co_await awaitModel(text, names);

    ParsedQuickAdd reading = deterministic;
    QString reader = u"deterministic"_s;
    if (auto* parsed = std::get_if<ModelVerdict::Parsed>(&verdict.outcome)) {
        reading = parsed->reading;
        reader = u"model"_s;
    } else if (auto* timedOut = std::get_if<ModelVerdict::TimedOut>(&verdict.outcome)) {
        timedOut->model.cancel();
        reader = u"deterministic (model timed out)"_s;
    } else if (std::holds_alternative<ModelVerdict::Declined>(verdict.outcome)) {
        reader = u"deterministic (model agreed)"_s;
    }

    const SnapshotClock clock = snapshotClock();
    json structured = previewJSON(reading, clock);
    structured["parser"] = reader.toStdString();
    co_return MCPToolResult{u"Would create: "_s + snapshotOf(reading).line(clock) + u" ("_s + reader + u')', false,
                            std::move(structured)};
}

}  // namespace tavlin::mcp
