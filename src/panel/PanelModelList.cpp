// The panel model's list: its sections and rows, the selection, the list's
// keys and the drag order.

#include "panel/DragOrder.h"
#include "panel/PanelModel.h"
#include "panel/RowOrder.h"
#include "panel/SectionedRows.h"
#include "store/Settings.h"

#include <algorithm>

namespace tavlin::panel {

namespace {

constexpr double minimumListHeight = 40;
constexpr double defaultListCap = 380;
constexpr double minimumListCap = 100;
constexpr double maximumListCap = 900;

bool isBlank(const QString& query) { return query.trimmed().isEmpty(); }

}  // namespace

struct PanelModel::ListDerived {
    explicit ListDerived(const PanelModel& model)
        : sections([&model] {
              const std::vector<platform::Reminder> rows = model.filteredRows();
              const platform::Calendar& calendar = model.wallClock().calendar;
              return panel::sectionedRows({
                  .rows = &rows,
                  // Filtering the rows again only when they may be near.
                  .nearbyIDs = model.settings().groupNearbyEnabled() ? model.nearbyReminderIDs() : QSet<QString>(),
                  .storeNow = model.store().now(),
                  .wallNow = model.wallClock().now(),
                  .calendar = &model.wallClock().calendar,
                  .visibility = model.settings().sectionVisibility(),
                  .queryBlank = isBlank(model.typedLine().query()),
                  .ranks = model.settings().manualOrderRanks(),
                  .sortKey =
                      [&calendar](const platform::Reminder& reminder) {
                          return rowOrderDue(reminder, calendar).secondsSince1970();
                      },
                  .rowOrder =
                      [](const platform::Reminder& a, double dueA, const platform::Reminder& b, double dueB) {
                          return rowOrder(a, platform::Date::fromSecondsSince1970(dueA), b,
                                          platform::Date::fromSecondsSince1970(dueB));
                      },
              });
          }),
          doneRows([&model] {
              return panel::doneTodayRows(model.store().completedToday(), model.settings().includedListIDs(),
                                          isBlank(model.typedLine().query()));
          }),
          rows([&model] {
              return panel::listRows({
                  .sections = &model.sectionedRows(),
                  .doneRows = &model.doneTodayRows(),
                  .selection = model.rowSelection().selection(),
                  .count = model.flatRowCount(),
                  .completingIDs = model.completingIDs(),
                  .editingID = model.inlineEdit().editingID(),
              });
          }) {}

    Derived<std::vector<SectionRows>> sections;
    Derived<std::vector<platform::Reminder>> doneRows;
    Derived<std::vector<ListRow>> rows;
};

PanelModel::ListDerived& PanelModel::listDerived() const {
    if (!listDerived_) listDerived_ = std::make_shared<ListDerived>(*this);
    return *listDerived_;
}

const std::vector<SectionRows>& PanelModel::sectionedRows() const { return listDerived().sections.get(); }

const std::vector<platform::Reminder>& PanelModel::doneTodayRows() const { return listDerived().doneRows.get(); }

double PanelModel::estimatedListHeight() const { return panel::estimatedListHeight(sectionedRows(), doneTodayRows()); }

bool PanelModel::hasListRows() const { return !sectionedRows().empty() || !doneTodayRows().empty(); }

// Without a section or a done row the create area takes the list's place.
bool PanelModel::showsCreateArea() const { return !hasListRows(); }

double PanelModel::listContentHeightForFrame() const {
    return hasListRows() ? estimatedListHeight() : listContentHeight();
}

double PanelModel::listFrameHeight(double content, std::optional<double> storedHeight) {
    const double cap = storedHeight ? std::clamp(*storedHeight, minimumListCap, maximumListCap) : defaultListCap;
    return std::min(std::max(minimumListHeight, content), cap);
}

double PanelModel::tallestListFrame() { return maximumListCap; }

double PanelModel::listFrameHeight() const {
    return listFrameHeight(listContentHeightForFrame(), settings().pinnedPanelListHeight());
}

const std::vector<ListRow>& PanelModel::listRows() const { return listDerived().rows.get(); }

FlatRowCount PanelModel::flatRowCount() const {
    int reminders = 0;
    for (const SectionRows& section : sectionedRows()) reminders += int(section.reminders.size());
    return {reminders, showsCreateRow()};
}

// While a line is typed every section shows: no section is no fitting row.
bool PanelModel::showsCreateRow() const { return !line_.trimmedQuery().isEmpty() && sectionedRows().empty(); }

std::vector<RowItem> PanelModel::flatRows() const {
    std::vector<RowItem> rows;
    for (const SectionRows& section : sectionedRows())
        for (const platform::Reminder& reminder : section.reminders) rows.push_back({reminder});
    if (showsCreateRow()) rows.push_back({RowItem::Create{}});
    return rows;
}

std::vector<platform::Reminder> PanelModel::selectedReminders() const {
    std::vector<const platform::Reminder*> flat;
    for (const SectionRows& section : sectionedRows())
        for (const platform::Reminder& reminder : section.reminders) flat.push_back(&reminder);
    std::vector<platform::Reminder> selected;
    for (const int index : selection_.selectedIndexes())
        if (isValidRowIndex(index, int(flat.size()))) selected.push_back(*flat[std::size_t(index)]);
    return selected;
}

// Clicks.

void PanelModel::rowSelected(std::optional<int> index, Qt::KeyboardModifiers modifiers) {
    commitPendingEdit();
    selection_.setSelection(panel::select(selection_.selection(), index, flatRowCount(), modifiers));
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
    case PanelListKey::space: return completeReminders(selectedReminders());
    case PanelListKey::return_: return returnKey();
    }
}

void PanelModel::moveSelection(MoveDirection direction) {
    if (edit_.editingID()) return;
    const std::optional<SelectionMove> move = panel::moveSelection(selection_.selection(), direction, flatRowCount());
    if (!move) return;
    selection_.setSelection(move->selection);
    // Up from the first row goes back to the field.
    if (move->toField) setFocus(FocusTarget::field);
}

void PanelModel::extendSelection(int step) {
    if (edit_.editingID()) return;
    if (const std::optional<ListSelection> extended =
            panel::extendSelection(selection_.selection(), step, flatRowCount()))
        selection_.setSelection(*extended);
}

void PanelModel::selectAll() {
    if (edit_.editingID() || showsCapture()) return;
    if (const std::optional<ListSelection> all = panel::selectAll(selection_.selection(), flatRowCount()))
        selection_.setSelection(*all);
}

void PanelModel::returnKey() {
    switch (panel::returnKey(selection_.selection(), flatRowCount())) {
    case ReturnAction::nothing: return;
    case ReturnAction::submit: return submit();
    case ReturnAction::edit: {
        const std::vector<RowItem> rows = flatRows();
        if (const platform::Reminder* reminder = rows[std::size_t(*selection_.selectedIndex())].reminder())
            startEdit(*reminder);
        return;
    }
    }
}

void PanelModel::deleteSelectionRequested() {
    if (edit_.editingID() || showsCapture()) return;
    const std::vector<platform::Reminder> selected = selectedReminders();
    if (!selected.empty()) deleteReminders(selected);
}

// Drag order.

void PanelModel::moveReminders(store::PanelSection section, const std::set<int>& source, int destination) {
    if (edit_.editingID()) return;
    const auto shown = std::find_if(sectionedRows().begin(), sectionedRows().end(),
                                    [&](const SectionRows& rows) { return rows.section == section; });
    if (shown == sectionedRows().end()) return;
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
    const std::vector<RowItem> rows = flatRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id() == moved) return selection_.setSelection(ListSelection::only(int(i)));
}

}  // namespace tavlin::panel
