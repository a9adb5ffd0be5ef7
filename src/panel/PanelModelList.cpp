// The panel model's list: clicks on its rows, its keys and the drag order.

#include "panel/DragOrder.h"
#include "panel/PanelModel.h"
#include "store/Settings.h"

#include <algorithm>

namespace tavlin::panel {

// Clicks.

void PanelModel::rowSelected(std::optional<int> index, Qt::KeyboardModifiers modifiers) {
    commitPendingEdit();
    selection_.setSelection(panel::select(selection_.selection(), index, list_.flatRowCount(), modifiers));
    setFocus(FocusTarget::list);
}

void PanelModel::doneRowSelected() {
    commitPendingEdit();
    selection_.clear();
}

// Keys.

void PanelModel::listKeyReceived(PanelListKey key) { handleCommand(key); }

void PanelModel::handleCommand(PanelListKey key) {
    if (edit_.editingID()) return;
    // The capture stands in the list's place: Return is its Add, and no key
    // reaches the hidden list.
    if (showsCapture()) {
        if (key == PanelListKey::return_) createCapturedReminders();
        return;
    }
    switch (key) {
    case PanelListKey::up: return moveSelection(MoveDirection::up);
    case PanelListKey::down: return moveSelection(MoveDirection::down);
    case PanelListKey::extendUp: return extendSelection(-1);
    case PanelListKey::extendDown: return extendSelection(1);
    case PanelListKey::space: return actions_.completeReminders(list_.selectedReminders());
    case PanelListKey::return_: return returnKey();
    }
}

void PanelModel::moveSelection(MoveDirection direction) {
    if (edit_.editingID()) return;
    const std::optional<SelectionMove> move =
        panel::moveSelection(selection_.selection(), direction, list_.flatRowCount());
    if (!move) return;
    selection_.setSelection(move->selection);
    // Up from the first row goes back to the field.
    if (move->toField) setFocus(FocusTarget::field);
}

void PanelModel::extendSelection(int step) {
    if (edit_.editingID()) return;
    if (const std::optional<ListSelection> extended =
            panel::extendSelection(selection_.selection(), step, list_.flatRowCount()))
        selection_.setSelection(*extended);
}

void PanelModel::selectAll() {
    if (edit_.editingID() || showsCapture()) return;
    if (const std::optional<ListSelection> all = panel::selectAll(selection_.selection(), list_.flatRowCount()))
        selection_.setSelection(*all);
}

void PanelModel::returnKey() {
    switch (panel::returnKey(selection_.selection(), list_.flatRowCount())) {
    case ReturnAction::nothing: return;
    case ReturnAction::submit: return submit();
    case ReturnAction::edit: {
        const std::vector<RowItem> rows = list_.flatRows();
        if (const platform::Reminder* reminder = rows[std::size_t(*selection_.selectedIndex())].reminder())
            startEdit(*reminder);
        return;
    }
    }
}

void PanelModel::deleteSelectionRequested() {
    if (edit_.editingID() || showsCapture()) return;
    const std::vector<platform::Reminder> selected = list_.selectedReminders();
    if (!selected.empty()) actions_.deleteReminders(selected);
}

// Drag order.

void PanelModel::moveReminders(store::PanelSection section, const std::set<int>& source, int destination) {
    if (edit_.editingID()) return;
    const std::vector<SectionRows>& sections = list_.sectionedRows();
    const auto shown = std::find_if(sections.begin(), sections.end(),
                                    [&](const SectionRows& rows) { return rows.section == section; });
    if (shown == sections.end()) return;
    QStringList identifiers;
    for (const platform::Reminder& reminder : shown->reminders) identifiers.append(reminder.identifier);
    // Reminders that may come back keep their places: those pending deletion
    // (an undo brings them back) and those done today (unticking them).
    QSet<QString> known;
    for (const auto* reminders : {&store().reminders(), &store().pendingDeletions(), &store().completedToday()})
        for (const platform::Reminder& reminder : *reminders) known.insert(reminder.identifier);
    const std::optional<store::ManualOrder::Ranks> ranks =
        ranksAfterMove(identifiers, source, destination, settings().manualOrderRanks(), std::move(known));
    if (!ranks) return;
    settings().setManualOrderRanks(*ranks);
    if (source.empty() || *source.begin() >= identifiers.size()) return;
    const QString moved = identifiers[*source.begin()];
    const std::vector<RowItem> rows = list_.flatRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id() == moved) return selection_.setSelection(ListSelection::only(int(i)));
}

}  // namespace tavlin::panel
