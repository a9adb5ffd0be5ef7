// The panel model's inline edit of a row.

#include "panel/PanelModel.h"
#include "parsing/ReminderEditing.h"
#include "store/Settings.h"

#include <algorithm>

namespace tavlin::panel {

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
