#include "panel/RowActions.h"

#include "panel/PanelList.h"
#include "panel/RowSelection.h"
#include "panel/UndoWindow.h"
#include "store/ReminderStore.h"

#include <QPointer>

using namespace std::chrono_literals;

namespace tavlin::panel {

namespace {

constexpr auto completionPause = 200ms;

// The completion goes on when the panel closes meanwhile: it holds the
// store, and writes to the panel only while the panel is there.
platform::Task<> finishCompletion(QPointer<store::ReminderStore> store, QPointer<RowActions> panel,
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

platform::Task<> whenFolderOpened(QPointer<RowActions> actions, QString folder, platform::Task<bool> opening,
                                  std::function<void(RowActions&, const QString&, bool)> done) {
    const bool opened = co_await opening;
    if (actions) done(*actions, folder, opened);
}

}  // namespace

RowActions::RowActions(Sources sources, QObject* parent) : QObject(parent), sources_(std::move(sources)) {}

RowActions::~RowActions() { stop(); }

void RowActions::stop() { folderTask_.cancel(); }

void RowActions::close() {
    if (sources_.close) sources_.close();
}

// Completion.

std::chrono::milliseconds RowActions::completionDelay() const {
    return sources_.reduceMotion() ? 0ms : std::chrono::milliseconds(completionPause);
}

void RowActions::completeReminders(const std::vector<platform::Reminder>& reminders) {
    QSet<QString> completing = sources_.list->completingIDs();
    std::vector<platform::Reminder> kept;
    for (const platform::Reminder& reminder : reminders) {
        if (completing.contains(reminder.identifier)) continue;
        completing.insert(reminder.identifier);
        kept.push_back(reminder);
    }
    if (kept.empty()) return;
    sources_.list->setCompletingIDs(std::move(completing));
    platform::detach(finishCompletion(sources_.store, this, std::move(kept), completionDelay(), *sources_.clock));
}

void RowActions::completionFinished(const std::vector<platform::Reminder>& asked,
                                    const std::vector<platform::Reminder>& saved) {
    // Each completion takes out only its own marks: others may be waiting.
    QSet<QString> completing = sources_.list->completingIDs();
    for (const platform::Reminder& reminder : asked) completing.remove(reminder.identifier);
    sources_.list->setCompletingIDs(std::move(completing));
    // A refusal is the store's last error, which the footer shows: nothing
    // refused is offered for undo, and a pending deletion keeps its window.
    if (saved.empty()) return;
    if (saved.size() >= 2) sources_.selection->clear();
    sources_.undo->present(saved, UndoItem::Kind::completed);
}

void RowActions::doneRowToggled(const platform::Reminder& reminder) { sources_.store->setCompleted(reminder, false); }

int RowActions::completedTodayCount() const { return sources_.store->count(store::CountScope::completedToday); }

// Deletion.

void RowActions::deleteReminders(const std::vector<platform::Reminder>& reminders) {
    if (reminders.empty()) return;
    // A copy: the caller may hand in the store's own list, which this changes.
    const std::vector<platform::Reminder> batch = reminders;
    // The earlier batch is carried out, and this one pends whole.
    sources_.store->queueDeletions(batch);
    sources_.selection->clear();
    sources_.undo->present(batch, UndoItem::Kind::deleted);
}

// The selection or the row.

void RowActions::actOnSelectionOrRow(const platform::Reminder& reminder, bool rowIsSelected,
                                     const std::function<void(const std::vector<platform::Reminder>&)>& action) {
    std::vector<platform::Reminder> selected =
        rowIsSelected ? sources_.list->selectedReminders() : std::vector<platform::Reminder>{};
    action(selected.empty() ? std::vector{reminder} : selected);
}

void RowActions::rescheduleSelectionOrRow(store::RescheduleTarget target, const platform::Reminder& reminder,
                                          bool rowIsSelected) {
    actOnSelectionOrRow(reminder, rowIsSelected, [this, target](const std::vector<platform::Reminder>& reminders) {
        sources_.store->reschedule(reminders, target);
    });
}

// Opening.

void RowActions::openInReminders(const platform::Reminder& reminder) {
    const std::optional<QString> folder = sources_.store->folderOf(reminder);
    // The panel goes with this call: nothing of it after.
    if (!folder) return close();
    store::publish(this, unopenedFolder_, std::nullopt, &RowActions::unopenedFolderChanged);
    folderTask_.cancel();
    folderTask_ = whenFolderOpened(
        this, *folder, sources_.openFolder(QUrl::fromLocalFile(*folder)),
        [](RowActions& actions, const QString& shown, bool opened) { actions.folderOpened(shown, opened); });
}

void RowActions::folderOpened(const QString& folder, bool opened) {
    folderTask_ = {};
    if (!opened) {
        store::publish(this, unopenedFolder_, folder, &RowActions::unopenedFolderChanged);
        return;
    }
    // The panel goes with this call: nothing of it after.
    close();
}

}  // namespace tavlin::panel
