#include "panel/ListSelection.h"

#include <algorithm>
#include <cstdlib>

namespace tavlin::panel {

namespace {

std::set<int> range(int from, int to, int count) {
    std::set<int> indexes;
    for (int i = std::max(0, std::min(from, to)); i <= std::max(from, to) && i < count; ++i) indexes.insert(i);
    return indexes;
}

}  // namespace

ListSelection select(const ListSelection& selection, std::optional<int> index, FlatRowCount count,
                     Qt::KeyboardModifiers modifiers) {
    if (!index) return ListSelection::none();
    const int reminders = count.reminders;
    if (!isValidRowIndex(*index, reminders)) return ListSelection::only(*index);
    ListSelection kept = selection;
    std::erase_if(kept.indexes, [&](int i) { return !isValidRowIndex(i, reminders); });
    if (modifiers & Qt::ControlModifier) return toggleSelection(kept, *index);
    if ((modifiers & Qt::ShiftModifier) && kept.anchor && isValidRowIndex(*kept.anchor, reminders))
        return selectRange(kept, *kept.anchor, *index, count);
    return ListSelection::only(*index);
}

ListSelection toggleSelection(const ListSelection& selection, int index) {
    ListSelection next = selection;
    if (!next.indexes.contains(index)) {
        next.indexes.insert(index);
        next.cursor = index;
        next.anchor = index;
        return next;
    }
    next.indexes.erase(index);
    if (next.indexes.empty()) return ListSelection::none();
    if (next.cursor == index) {
        // Ascending, so the first of two at the same distance is the lower.
        next.cursor = *std::min_element(next.indexes.begin(), next.indexes.end(),
                                        [index](int a, int b) { return std::abs(a - index) < std::abs(b - index); });
    }
    if (next.anchor == index) next.anchor = next.cursor;
    return next;
}

ListSelection selectRange(const ListSelection& selection, int anchor, int index, FlatRowCount count) {
    return {index, range(anchor, index, count.reminders), selection.anchor};
}

std::optional<SelectionMove> moveSelection(const ListSelection& selection, MoveDirection direction,
                                           FlatRowCount count) {
    if (count.rows() == 0) return std::nullopt;
    if (direction == MoveDirection::up) {
        if (selection.cursor && *selection.cursor >= 1)
            return SelectionMove{ListSelection::only(*selection.cursor - 1)};
        return SelectionMove{ListSelection::none(), true};
    }
    return SelectionMove{ListSelection::only(std::min(count.rows() - 1, selection.cursor.value_or(-1) + 1))};
}

std::optional<ListSelection> extendSelection(const ListSelection& selection, int step, FlatRowCount count) {
    if (!selection.cursor) return std::nullopt;
    const int n = count.reminders;
    const int cursor = *selection.cursor;
    if (!isValidRowIndex(cursor, n) || !isValidRowIndex(cursor + step, n)) return std::nullopt;
    const int anchor = selection.anchor && isValidRowIndex(*selection.anchor, n) ? *selection.anchor : cursor;
    return ListSelection{cursor + step, range(anchor, cursor + step, n), anchor};
}

std::optional<ListSelection> selectAll(const ListSelection& selection, FlatRowCount count) {
    const int n = count.reminders;
    if (n < 1) return std::nullopt;
    const int cursor = selection.cursor && isValidRowIndex(*selection.cursor, n) ? *selection.cursor : 0;
    return ListSelection{cursor, range(0, n - 1, n), cursor};
}

int selectedCount(const ListSelection& selection, FlatRowCount count) {
    return int(std::count_if(selection.indexes.begin(), selection.indexes.end(),
                             [&](int i) { return isValidRowIndex(i, count.reminders); }));
}

ReturnAction returnKey(const ListSelection& selection, FlatRowCount count) {
    if (!selection.cursor || !isValidRowIndex(*selection.cursor, count.rows())) return ReturnAction::nothing;
    if (*selection.cursor >= count.reminders) return ReturnAction::submit;
    return selection.indexes.size() < 2 ? ReturnAction::edit : ReturnAction::nothing;
}

}  // namespace tavlin::panel
