// The panel model's row actions: completion with its short delay, deletion
// with an undo window, undo, rescheduling, opening a reminder's folder, and
// the inline edit.

#include "panel/ListCompletion.h"
#include "panel/PanelModel.h"
#include "parsing/ReminderEditing.h"
#include "store/Settings.h"

#include <QPointer>

#include <algorithm>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace tavlin::panel {

namespace {

constexpr auto completionPause = 200ms;

// The completion goes on when the panel closes meanwhile: it holds the
// store, and writes to the panel only while the panel is there.
platform::Task<> finishCompletion(QPointer<store::ReminderStore> store, QPointer<PanelModel> panel,
                                  std::vector<platform::Reminder> reminders, std::chrono::milliseconds delay,
                                  platform::Clock& clock) {
    if (delay > 0ms) {
        // Cut short, it completes all the same: nothing holds this task to cancel it.
        [[maybe_unused]] const bool slept = co_await platform::sleep(delay, clock);
    }
    if (!store) co_return;
    std::vector<platform::Reminder> saved;
    for (const platform::Reminder& reminder : reminders)
        if (store->setCompleted(reminder, true)) saved.push_back(reminder);
    if (panel) panel->completionFinished(reminders, saved);
}

platform::Task<> whenFolderOpened(QPointer<PanelModel> panel, QString folder, platform::Task<bool> opening,
                                  std::function<void(PanelModel&, const QString&, bool)> done) {
    const bool opened = co_await opening;
    if (panel) done(*panel, folder, opened);
}

}  // namespace

// Completion.

std::chrono::milliseconds PanelModel::completionDelay() const {
    return reduceMotion() ? 0ms : std::chrono::milliseconds(completionPause);
}

void PanelModel::completeReminders(const std::vector<platform::Reminder>& reminders) {
    QSet<QString> completing = completingIDs();
    std::vector<platform::Reminder> kept;
    for (const platform::Reminder& reminder : reminders) {
        if (completing.contains(reminder.identifier)) continue;
        completing.insert(reminder.identifier);
        kept.push_back(reminder);
    }
    if (kept.empty()) return;
    setCompletingIDs(std::move(completing));
    platform::detach(finishCompletion(&store(), this, std::move(kept), completionDelay(), clock()));
}

void PanelModel::completionFinished(const std::vector<platform::Reminder>& asked,
                                    const std::vector<platform::Reminder>& saved) {
    // Each completion takes out only its own marks: others may be waiting.
    QSet<QString> completing = completingIDs();
    for (const platform::Reminder& reminder : asked) completing.remove(reminder.identifier);
    setCompletingIDs(std::move(completing));
    // A refusal is the store's last error, which the footer shows: nothing
    // refused is offered for undo, and a pending deletion keeps its window.
    if (saved.empty()) return;
    if (saved.size() >= 2) selection_.clear();
    undo_.present(saved, UndoItem::Kind::completed);
}

void PanelModel::doneRowToggled(const platform::Reminder& reminder) { store().setCompleted(reminder, false); }

// Deletion and undo.

void PanelModel::deleteReminders(const std::vector<platform::Reminder>& reminders) {
    if (reminders.empty()) return;
    // A copy: the caller may hand in the store's own list, which this changes.
    const std::vector<platform::Reminder> batch = reminders;
    markPendingDeletion(batch);
    selection_.clear();
    undo_.present(batch, UndoItem::Kind::deleted);
}

void PanelModel::markPendingDeletion(const std::vector<platform::Reminder>& reminders) {
    // The earlier batch is carried out, and this one pends whole.
    store().queueDeletions(reminders);
}

void PanelModel::performUndo() {
    undo_.undo();
    // The keyboard goes back to the field: left to the list, the next space
    // typed would complete the selected reminder again.
    if (!edit_.editingID() && !showsCapture()) setFocus(FocusTarget::field);
}

int PanelModel::completedTodayCount() const { return store().count(store::CountScope::completedToday); }

// The selection or the row.

void PanelModel::actOnSelectionOrRow(const platform::Reminder& reminder, bool rowIsSelected,
                                     const std::function<void(const std::vector<platform::Reminder>&)>& action) {
    std::vector<platform::Reminder> selected = rowIsSelected ? selectedReminders() : std::vector<platform::Reminder>{};
    action(selected.empty() ? std::vector{reminder} : selected);
}

void PanelModel::rescheduleSelectionOrRow(store::RescheduleTarget target, const platform::Reminder& reminder,
                                          bool rowIsSelected) {
    actOnSelectionOrRow(reminder, rowIsSelected, [this, target](const std::vector<platform::Reminder>& reminders) {
        store().reschedule(reminders, target);
    });
}

// Opening.

void PanelModel::openInReminders(const platform::Reminder& reminder) {
    const std::optional<QString> folder = store().folderOf(reminder);
    if (!folder) {
        // The panel goes with this call: nothing of the model after it.
        if (inputs_.onClose) inputs_.onClose();
        return;
    }
    store::publish(this, unopenedFolder_, std::nullopt, &PanelModel::unopenedFolderChanged);
    folderTask_.cancel();
    folderTask_ = whenFolderOpened(
        this, *folder, environment_.openFolder(QUrl::fromLocalFile(*folder)),
        [](PanelModel& panel, const QString& shown, bool opened) { panel.folderOpened(shown, opened); });
}

void PanelModel::folderOpened(const QString& folder, bool opened) {
    folderTask_ = {};
    if (!opened) {
        store::publish(this, unopenedFolder_, folder, &PanelModel::unopenedFolderChanged);
        return;
    }
    // The panel goes with this call: nothing of the model after it.
    if (inputs_.onClose) inputs_.onClose();
}

// The inline edit.

void PanelModel::startEdit(const platform::Reminder& reminder) {
    // One edit at a time, and one left for another is saved, not dropped.
    if (edit_.editingID() && *edit_.editingID() != reminder.identifier) commitPendingEdit();
    const QStringList titles = listTitles();
    std::optional<QString> listTitle;
    for (const platform::ReminderList& list : store().lists())
        if (list.identifier == reminder.listIdentifier) listTitle = list.title;
    edit_.open(reminder.identifier, parsing::ReminderEditing::quickAddText(reminder, listTitle, titles),
               parsing::ReminderEditing::dueDateText(reminder));
}

parsing::ParsedQuickAdd PanelModel::buildEditedReminder() const {
    return line_.readingContext().editReading(edit_.editingText(), edit_.editingPreviousDateText());
}

void PanelModel::editSave(const platform::Reminder& reminder) {
    if (!edit_.editListSuggestions().isEmpty()) return edit_.pickEditListSuggestion();
    saveEdit(reminder);
}

void PanelModel::saveEdit(const platform::Reminder& reminder) {
    const parsing::ParsedQuickAdd parsed = buildEditedReminder();
    // The edit closes whatever comes of it.
    edit_.close();
    setFocus(FocusTarget::list);
    if (!edit_.isChanged()) return;
    if (parsed.title.isEmpty()) return;
    platform::detach(saveEditTask(store(), parsed, reminder));
}

}  // namespace tavlin::panel
