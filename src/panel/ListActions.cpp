#include "panel/ListActions.h"

#include "panel/DragOrder.h"
#include "panel/FieldActions.h"
#include "panel/InlineEdit.h"
#include "panel/PanelList.h"
#include "panel/RowActions.h"
#include "panel/RowSelection.h"
#include "panel/TypedLine.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <algorithm>

namespace tavlin::panel {

ListActions::ListActions(Sources sources) : sources_(std::move(sources)) {
    Q_ASSERT(sources_.store && sources_.settings && sources_.line && sources_.selection && sources_.edit &&
             sources_.list && sources_.rowActions && sources_.field && sources_.showsCapture && sources_.focus);
}

bool ListActions::editing() const { return sources_.edit->editingID().has_value(); }

// Clicks.

void ListActions::rowSelected(std::optional<int> index, Qt::KeyboardModifiers modifiers) {
    commitPendingEdit();
    RowSelection& selection = *sources_.selection;
    selection.setSelection(panel::select(selection.selection(), index, sources_.list->flatRowCount(), modifiers));
    sources_.focus(FocusTarget::list);
}

void ListActions::doneRowSelected() {
    commitPendingEdit();
    sources_.selection->clear();
}

// Keys.

void ListActions::handleKey(PanelListKey key) {
    if (editing()) return;
    // The capture stands in the list's place: Return is its Add, and no key
    // reaches the hidden list.
    if (sources_.showsCapture()) {
        if (key == PanelListKey::return_) sources_.field->createCapturedReminders();
        return;
    }
    switch (key) {
    case PanelListKey::up: return moveSelection(MoveDirection::up);
    case PanelListKey::down: return moveSelection(MoveDirection::down);
    case PanelListKey::extendUp: return extendSelection(-1);
    case PanelListKey::extendDown: return extendSelection(1);
    case PanelListKey::space: return sources_.rowActions->completeReminders(sources_.list->selectedReminders());
    case PanelListKey::return_: return returnKey();
    }
}

void ListActions::moveSelection(MoveDirection direction) {
    if (editing()) return;
    RowSelection& selection = *sources_.selection;
    const std::optional<SelectionMove> move =
        panel::moveSelection(selection.selection(), direction, sources_.list->flatRowCount());
    if (!move) return;
    selection.setSelection(move->selection);
    // Up from the first row goes back to the field.
    if (move->toField) sources_.focus(FocusTarget::field);
}

void ListActions::extendSelection(int step) {
    if (editing()) return;
    RowSelection& selection = *sources_.selection;
    if (const std::optional<ListSelection> extended =
            panel::extendSelection(selection.selection(), step, sources_.list->flatRowCount()))
        selection.setSelection(*extended);
}

void ListActions::selectAll() {
    if (editing() || sources_.showsCapture()) return;
    RowSelection& selection = *sources_.selection;
    if (const std::optional<ListSelection> all = panel::selectAll(selection.selection(), sources_.list->flatRowCount()))
        selection.setSelection(*all);
}

void ListActions::returnKey() {
    const RowSelection& selection = *sources_.selection;
    switch (panel::returnKey(selection.selection(), sources_.list->flatRowCount())) {
    case ReturnAction::nothing: return;
    case ReturnAction::submit: return sources_.field->submit();
    case ReturnAction::edit: {
        const std::vector<RowItem> rows = sources_.list->flatRows();
        if (const platform::Reminder* reminder = rows[std::size_t(*selection.selectedIndex())].reminder())
            startEdit(*reminder);
        return;
    }
    }
}

void ListActions::deleteSelection() {
    if (editing() || sources_.showsCapture()) return;
    const std::vector<platform::Reminder> selected = sources_.list->selectedReminders();
    if (!selected.empty()) sources_.rowActions->deleteReminders(selected);
}

// Drag order.

void ListActions::moveReminders(store::PanelSection section, const std::set<int>& source, int destination) {
    if (editing()) return;
    const std::vector<SectionRows>& sections = sources_.list->sectionedRows();
    const auto shown = std::find_if(sections.begin(), sections.end(),
                                    [&](const SectionRows& rows) { return rows.section == section; });
    if (shown == sections.end()) return;
    QStringList identifiers;
    for (const platform::Reminder& reminder : shown->reminders) identifiers.append(reminder.identifier);
    // Reminders that may come back keep their places: those pending deletion
    // (an undo brings them back) and those done today (unticking them).
    const store::ReminderStore& store = *sources_.store;
    QSet<QString> known;
    for (const auto* reminders : {&store.reminders(), &store.pendingDeletions(), &store.completedToday()})
        for (const platform::Reminder& reminder : *reminders) known.insert(reminder.identifier);
    store::Settings& settings = *sources_.settings;
    const std::optional<store::ManualOrder::Ranks> ranks =
        ranksAfterMove(identifiers, source, destination, settings.manualOrderRanks(), std::move(known));
    if (!ranks) return;
    settings.setManualOrderRanks(*ranks);
    if (source.empty() || *source.begin() >= identifiers.size()) return;
    const QString moved = identifiers[*source.begin()];
    const std::vector<RowItem> rows = sources_.list->flatRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id() == moved) return sources_.selection->setSelection(ListSelection::only(int(i)));
}

// The inline edit.

void ListActions::startEdit(const platform::Reminder& reminder) {
    // One edit at a time, and one left for another is saved, not dropped.
    const std::optional<QString>& open = sources_.edit->editingID();
    if (open && *open != reminder.identifier) commitPendingEdit();
    sources_.edit->start(reminder, sources_.store->lists());
}

parsing::ParsedQuickAdd ListActions::buildEditedReminder() const {
    return sources_.edit->reading(sources_.line->readingContext());
}

void ListActions::editSave(const platform::Reminder& reminder) {
    if (!sources_.edit->editListSuggestions().isEmpty()) return sources_.edit->pickEditListSuggestion();
    saveEdit(reminder);
}

void ListActions::saveEdit(const platform::Reminder& reminder) {
    // The edit closes whatever comes of it.
    const std::optional<parsing::ParsedQuickAdd> saved = sources_.edit->finish(sources_.line->readingContext());
    sources_.focus(FocusTarget::list);
    if (saved) platform::detach(saveEditTask(*sources_.store, *saved, reminder));
}

void ListActions::commitPendingEdit() {
    const std::optional<QString> open = sources_.edit->editingID();
    if (!open) return;
    for (const platform::Reminder& reminder : sources_.store->reminders())
        if (reminder.identifier == *open) return saveEdit(reminder);
}

platform::Task<> ListActions::saveEditTask(store::ReminderStore& store, parsing::ParsedQuickAdd parsed,
                                           platform::Reminder reminder) {
    co_await store.update(std::move(parsed), std::move(reminder));
}

}  // namespace tavlin::panel
