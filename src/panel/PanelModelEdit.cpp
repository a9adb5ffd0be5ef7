// The panel model's inline edit of a row.

#include "panel/PanelModel.h"

namespace tavlin::panel {

// The inline edit.

void PanelModel::startEdit(const platform::Reminder& reminder) {
    // One edit at a time, and one left for another is saved, not dropped.
    if (edit_.editingID() && *edit_.editingID() != reminder.identifier) commitPendingEdit();
    edit_.start(reminder, store().lists());
}

parsing::ParsedQuickAdd PanelModel::buildEditedReminder() const { return edit_.reading(line_.readingContext()); }

void PanelModel::editSave(const platform::Reminder& reminder) {
    if (!edit_.editListSuggestions().isEmpty()) return edit_.pickEditListSuggestion();
    saveEdit(reminder);
}

void PanelModel::saveEdit(const platform::Reminder& reminder) {
    // The edit closes whatever comes of it.
    const std::optional<parsing::ParsedQuickAdd> saved = edit_.finish(line_.readingContext());
    setFocus(FocusTarget::list);
    if (saved) platform::detach(saveEditTask(store(), *saved, reminder));
}

void PanelModel::commitPendingEdit() {
    if (!edit_.editingID()) return;
    for (const platform::Reminder& reminder : store().reminders())
        if (reminder.identifier == *edit_.editingID()) return saveEdit(reminder);
}

platform::Task<> PanelModel::saveEditTask(store::ReminderStore& store, parsing::ParsedQuickAdd parsed,
                                          platform::Reminder reminder) {
    co_await store.update(std::move(parsed), std::move(reminder));
}

}  // namespace tavlin::panel
