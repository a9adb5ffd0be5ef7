#pragma once

#include <Qt>

#include <optional>
#include <set>

// The selection of the panel's list as plain values: the cursor, the
// selected rows and the anchor of a Shift range, all indexes of the flat
// rows (the reminders of every shown section in order, then the create row
// while it shows). Each operation gives the selection that follows; the
// panel's model stores it.
namespace tavlin::panel {

struct ListSelection {
    std::optional<int> cursor;
    std::set<int> indexes;
    std::optional<int> anchor;

    // Nothing selected.
    static ListSelection none() { return {}; }
    // `index` alone, and the anchor on it.
    static ListSelection only(int index) { return {index, {index}, index}; }

    friend bool operator==(const ListSelection&, const ListSelection&) = default;
};

// How many of the flat rows are reminders and whether the create row follows
// them.
struct FlatRowCount {
    int reminders = 0;
    bool createRow = false;

    int rows() const { return reminders + (createRow ? 1 : 0); }
};

inline bool isValidRowIndex(int index, int count) { return index >= 0 && index < count; }

// A click on flat row `index` (none: a click that selects nothing). Ctrl
// toggles the row and is tested first; Shift selects from the anchor; else
// the row alone. The create row, or any row past the reminders, is always
// selected alone. Stale indexes are dropped first.
ListSelection select(const ListSelection& selection, std::optional<int> index, FlatRowCount count,
                     Qt::KeyboardModifiers modifiers);

// Ctrl+click: adds `index` (it becomes the cursor and the anchor) or takes it
// out; a cursor taken out moves to the nearest remaining row (on a tie the
// lower one), and the anchor follows it when it was there.
ListSelection toggleSelection(const ListSelection& selection, int index);

// Every reminder row from `anchor` to `index`, the cursor on `index`; the
// anchor stays as it was.
ListSelection selectRange(const ListSelection& selection, int anchor, int index, FlatRowCount count);

// Up and Down. Up from the first row (or with no cursor) clears the
// selection: `toField` says the keyboard goes back to the field.
struct SelectionMove {
    ListSelection selection;
    bool toField = false;
};
enum class MoveDirection { up, down };
std::optional<SelectionMove> moveSelection(const ListSelection& selection, MoveDirection direction, FlatRowCount count);

// Shift+Up (-1) and Shift+Down (+1): the range from the anchor (the cursor
// when the anchor is not on a reminder) to the moved cursor. Never onto the
// create row; nothing without a cursor.
std::optional<ListSelection> extendSelection(const ListSelection& selection, int step, FlatRowCount count);

// Ctrl+A: every reminder row; a cursor off them goes to the first, and the
// anchor to the cursor. Nothing without reminders.
std::optional<ListSelection> selectAll(const ListSelection& selection, FlatRowCount count);

// The selected reminder rows, the create row and stale indexes not counted.
int selectedCount(const ListSelection& selection, FlatRowCount count);

// What Return on the list does.
enum class ReturnAction { nothing, submit, edit };
ReturnAction returnKey(const ListSelection& selection, FlatRowCount count);

}  // namespace tavlin::panel
