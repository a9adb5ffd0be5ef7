#include "mcp/ReminderTools.h"

#include "mcp/MCPArguments.h"
#include "parsing/DateServices.h"
#include "parsing/ReminderEditing.h"
#include "parsing/SmartQuickAddParser.h"
#include "parsing/TaskSplitter.h"
#include "platform/Text.h"
#include "store/QuickAdd.h"

using namespace Qt::StringLiterals;
using nlohmann::json;
using tavlin::parsing::ParsedQuickAdd;
using tavlin::platform::Reminder;
using tavlin::platform::Task;
using UpdateOutcome = tavlin::store::ReminderStore::UpdateOutcome;

// create_reminder and its refinement by the model, update_reminder,
// complete_reminder and delete_reminder.
namespace tavlin::mcp {

namespace {

QString bulleted(const QStringList& lines) { return lines.isEmpty() ? QString() : u"- "_s + lines.join(u"\n- "_s); }

const QString completedRefusal =
    u"That reminder is completed. Use complete_reminder with completed=false to reopen it first."_s;

QString notFound(const QString& id) {
    return u"No reminder with id "_s + id + u". Ids come from list_reminders; it may have been deleted."_s;
}

store::QuickAdd::FixedFields fixedFields(ReminderTools::Overrides overrides) {
    return [overrides = std::move(overrides)](ParsedQuickAdd& reading) { overrides.apply(reading); };
}

// The model's reading that came after the tool's reply.
Task<> refineLater(Task<std::optional<ParsedQuickAdd>> model, std::shared_ptr<store::QuickAdd::Store> adds,
                   store::QuickAdd::Entry entry, ReminderTools::Overrides overrides, Reminder reminder) {
    std::optional<ParsedQuickAdd> reading = co_await model;
    if (!reading) co_return;
    store::QuickAdd::FixedFields fixed = fixedFields(std::move(overrides));
    [[maybe_unused]] const std::optional<UpdateOutcome> outcome = co_await store::QuickAdd::applyLaterReading(
        std::move(adds), std::move(entry), std::move(reminder), std::move(*reading), std::move(fixed));
}

}  // namespace

Reminder ReminderTools::saved(const Reminder& reminder) const {
    return store_.eventStore().reminder(reminder.identifier).value_or(reminder);
}

QString ReminderTools::lastErrorDescription() const {
    const auto& error = store_.lastError();
    return error ? store::ReminderStore::description(*error) : u"unknown error"_s;
}

Reminder ReminderTools::reminder(const QString& id) const {
    for (const std::vector<Reminder>* held : {&store_.reminders(), &store_.completedToday()}) {
        const auto found =
            std::find_if(held->begin(), held->end(), [&](const Reminder& r) { return r.identifier == id; });
        if (found != held->end()) return *found;
    }
    if (std::optional<Reminder> stored = store_.eventStore().reminder(id)) return *stored;
    throw MCPToolError(notFound(id));
}

ParsedQuickAdd ReminderTools::currentParse(const Reminder& reminder) const {
    ParsedQuickAdd reading{.title = reminder.title,
                           .dueDateComponents = reminder.dueDateComponents,
                           .hasTime = reminder.dueDateComponents && reminder.dueDateComponents->hasTime(),
                           .priority = platform::priorityLevel(reminder.priority)};
    const ReminderSnapshot snapshot = this->snapshot(reminder);
    if (snapshot.recurrence) {
        reading.recurrenceFrequency = snapshot.recurrence->frequency;
        reading.recurrenceInterval = snapshot.recurrence->interval;
    }
    if (snapshot.place) {
        reading.locationName = snapshot.place->name;
        if (snapshot.place->radius > 0) reading.locationRadius = snapshot.place->radius;
        if (snapshot.place->onDeparture) reading.locationTrigger = parsing::LocationTrigger::leave;
    }
    reading.listName = snapshot.listName;
    return reading;
}

// ---- create_reminder

Task<MCPToolResult> ReminderTools::createReminder(json arguments) {
    requireAccess();
    const MCPArguments given(arguments);
    const QString text = given.requiredString("text");
    const std::optional<QString> notes = given.string("notes");
    const Overrides overrides = parseOverrides(arguments);
    const QStringList names = listNames();
    const QStringList pieces = parsing::TaskSplitter::splitPieces(text);
    if (pieces.size() >= 2) co_return co_await createBatch(pieces, notes, overrides, names);

    const store::QuickAdd::Entry entry{.text = text, .parsed = instantParse(text, names, overrides)};
    const std::shared_ptr<store::QuickAdd::Store> adds = store::QuickAdd::over(store_, notes);
    const std::optional<Reminder> created = co_await adds->add(entry.parsed, entry.resolved);
    if (!created) throw MCPToolError(u"The reminders store refused the save: "_s + lastErrorDescription() + u'.');
    const std::optional<QString> note = co_await refineFirst(adds, entry, names, overrides, *created);
    const SnapshotClock clock = snapshotClock();
    const ReminderSnapshot snapshot = this->snapshot(saved(*created));
    QString reply = u"Created: "_s + snapshot.line(clock);
    if (note) reply += u'\n' + *note;
    co_return MCPToolResult{reply, false, json{{"reminder", snapshot.json(clock)}}};
}

Task<MCPToolResult> ReminderTools::createBatch(QStringList pieces, std::optional<QString> notes, Overrides overrides,
                                               QStringList listNames) {
    const qsizetype count = pieces.size();
    if (count > batchMaximum) {
        throw MCPToolError(
            u"That's %1 reminders; Tavlin creates at most %2 per call. Split them over several calls."_s.arg(count).arg(
                batchMaximum));
    }
    if (overrides.title) {
        throw MCPToolError(
            u"title names one reminder, but the text holds %1. Drop title, or create them one at a time."_s.arg(count));
    }
    const bool refines = parsing::SmartQuickAddParser::isModelAvailable();
    const std::shared_ptr<store::QuickAdd::Store> adds = store::QuickAdd::over(store_, notes);
    QStringList lines;
    json snapshots = json::array();
    for (const QString& piece : pieces) {
        const store::QuickAdd::Entry entry{.text = piece, .parsed = instantParse(piece, listNames, overrides)};
        const std::optional<Reminder> created = co_await adds->add(entry.parsed, entry.resolved);
        if (!created) {
            QString failure =
                u"The reminders store refused to save \""_s + piece + u"\": "_s + lastErrorDescription() + u'.';
            if (!lines.isEmpty()) failure += u" These were created before it:\n"_s + bulleted(lines);
            throw MCPToolError(failure);
        }
        const SnapshotClock clock = snapshotClock();
        const ReminderSnapshot snapshot = this->snapshot(*created);
        lines << snapshot.line(clock);
        snapshots.push_back(snapshot.json(clock));
        if (refines)
            platform::detach(store::QuickAdd::refine(adds, entry, *created, listNames, fixedFields(overrides)));
    }
    QString reply = u"Created %1 reminders:\n"_s.arg(count) + bulleted(lines);
    if (refines) reply += u"\nThe on-device model is still reading each one and may refine their dates."_s;
    co_return MCPToolResult{reply, false, json{{"reminders", std::move(snapshots)}}};
}

// ---- Refinement by the on-device model

Task<std::optional<QString>> ReminderTools::refineFirst(std::shared_ptr<store::QuickAdd::Store> adds,
                                                        store::QuickAdd::Entry entry, QStringList listNames,
                                                        Overrides overrides, Reminder reminder) {
    ModelVerdict verdict = co_await awaitModel(entry.text, listNames);
    if (auto* parsed = std::get_if<ModelVerdict::Parsed>(&verdict.outcome)) {
        store::QuickAdd::FixedFields fixed = fixedFields(overrides);
        const std::optional<UpdateOutcome> outcome = co_await store::QuickAdd::applyLaterReading(
            adds, entry, reminder, std::move(parsed->reading), std::move(fixed));
        if (outcome == UpdateOutcome::failed || outcome == UpdateOutcome::listMoveRefused) {
            co_return u"The on-device model read the text differently, but the update was refused: "_s +
                lastErrorDescription();
        }
        co_return std::nullopt;
    }
    if (auto* timedOut = std::get_if<ModelVerdict::TimedOut>(&verdict.outcome)) {
        platform::detach(refineLater(std::move(timedOut->model), adds, entry, overrides, reminder));
        co_return u"Created from the instant parse; the on-device model is still reading the text and may refine "
                  "the date."_s;
    }
    co_return std::nullopt;
}

// ---- update_reminder

Task<MCPToolResult> ReminderTools::updateReminder(json arguments) {
    requireAccess();
    const MCPArguments given(arguments);
    const QString id = given.requiredString("id");
    Reminder target = reminder(id);
    if (target.completed) throw MCPToolError(completedRefusal);
    std::optional<QString> text = given.string("text");
    if (text) text = platform::trimmedWhitespaceAndNewlines(*text);
    const std::optional<QString> notes = given.string("notes");
    const Overrides overrides = parseOverrides(arguments);
    if (!text && !notes && overrides.isEmpty())
        throw MCPToolError(u"Nothing to change: pass text or at least one of title, notes, due, list, priority."_s);

    ParsedQuickAdd edit = currentParse(target);
    if (text && !text->isEmpty()) {
        edit = store::QuickAdd::committedReading(*text, listNames(), wallClock_.now(), wallClock_.calendar, true,
                                                 parsing::ReminderEditing::dueDateText(target));
    }
    overrides.apply(edit);

    const UpdateOutcome outcome = co_await store_.update(edit, target);
    if (outcome == UpdateOutcome::skippedBecauseMissing) throw MCPToolError(notFound(id));
    if (outcome == UpdateOutcome::skippedBecauseCompleted) throw MCPToolError(completedRefusal);
    if (outcome == UpdateOutcome::failed)
        throw MCPToolError(u"The reminders store refused the save: "_s + lastErrorDescription() + u'.');
    const QString moveRefusal = outcome == UpdateOutcome::listMoveRefused ? lastErrorDescription() : QString();

    Reminder updated = saved(target);
    if (notes && *notes != updated.notes) {
        // The store's edit carries no notes; they are written on the saved reminder.
        updated.notes = *notes;
        if (const std::optional<platform::StoreError> error = store_.eventStore().save(updated))
            throw MCPToolError(u"The reminders store refused the save: "_s + error->description + u'.');
        store_.requestRefresh();
    }
    const SnapshotClock clock = snapshotClock();
    const ReminderSnapshot snapshot = this->snapshot(updated);
    const json structured = {{"reminder", snapshot.json(clock)}};
    if (!moveRefusal.isEmpty()) {
        co_return MCPToolResult{
            u"Updated, but the reminders store refused to move it: "_s + moveRefusal + u'\n' + snapshot.line(clock),
            true, structured};
    }
    co_return MCPToolResult{u"Updated: "_s + snapshot.line(clock), false, structured};
}

// ---- complete_reminder and delete_reminder

Task<MCPToolResult> ReminderTools::completeReminder(json arguments) {
    requireAccess();
    const MCPArguments given(arguments);
    const Reminder target = reminder(given.requiredString("id"));
    const bool done = given.boolean("completed").value_or(true);
    store_.setCompleted(target, done);
    if (store_.lastError())
        throw MCPToolError(u"The reminders store refused the change: "_s + lastErrorDescription() + u'.');
    const SnapshotClock clock = snapshotClock();
    const ReminderSnapshot snapshot = this->snapshot(saved(target));
    co_return MCPToolResult{(done ? u"Completed: "_s : u"Reopened: "_s) + snapshot.line(clock), false,
                            json{{"reminder", snapshot.json(clock)}}};
}

Task<MCPToolResult> ReminderTools::deleteReminder(json arguments) {
    requireAccess();
    const Reminder target = reminder(MCPArguments(arguments).requiredString("id"));
    if (!store_.deleteReminder(target))
        throw MCPToolError(u"The reminders store refused the delete: "_s + lastErrorDescription() + u'.');
    co_return MCPToolResult{u"Deleted \"%1\" [%2]."_s.arg(target.title, target.identifier), false,
                            json{{"id", target.identifier.toStdString()}, {"title", target.title.toStdString()}}};
}

}  // namespace tavlin::mcp
