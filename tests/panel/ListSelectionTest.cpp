#include "panel/ListSelection.h"
#include "panel/PanelModel.h"

#include <gtest/gtest.h>

using namespace tavlin::panel;

namespace tavlin::panel {

// Found by the test framework beside the type: a failure shows the selection.
void PrintTo(const ListSelection& s, std::ostream* out) {
    *out << "cursor " << (s.cursor ? std::to_string(*s.cursor) : "-") << " {";
    for (int i : s.indexes) *out << i << ' ';
    *out << "} anchor " << (s.anchor ? std::to_string(*s.anchor) : "-");
}

}  // namespace tavlin::panel

namespace {

ListSelection sel(std::optional<int> cursor, std::set<int> indexes, std::optional<int> anchor) {
    return {cursor, std::move(indexes), anchor};
}

constexpr FlatRowCount fiveReminders{5, false};
constexpr FlatRowCount fiveAndCreate{5, true};

TEST(ListSelection, Clicks) {
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    struct Case {
        const char* what;
        ListSelection before;
        std::optional<int> index;
        FlatRowCount count;
        Qt::KeyboardModifiers modifiers;
        ListSelection after;
    };
    const std::vector<Case> table{
        {"a plain click selects the row alone", sel(1, {1, 2}, 1), 3, fiveReminders, none, ListSelection::only(3)},
        {"nothing clicked", sel(1, {1}, 1), std::nullopt, fiveReminders, ctrl, ListSelection::none()},
        {"ctrl adds an unselected row", sel(1, {1}, 1), 3, fiveReminders, ctrl, sel(3, {1, 3}, 3)},
        {"ctrl takes out a selected one", sel(3, {1, 3}, 1), 1, fiveReminders, ctrl, sel(3, {3}, 3)},
        {"ctrl on the only row clears all", sel(2, {2}, 2), 2, fiveReminders, ctrl, ListSelection::none()},
        {"ctrl+shift toggles", sel(1, {1}, 1), 3, fiveReminders, ctrl | shift, sel(3, {1, 3}, 3)},
        {"shift selects from the anchor", sel(2, {2}, 2), 4, fiveReminders, shift, sel(4, {2, 3, 4}, 2)},
        {"shift upward", sel(4, {4}, 4), 1, fiveReminders, shift, sel(1, {1, 2, 3, 4}, 4)},
        {"shift without an anchor selects the row", sel(std::nullopt, {}, std::nullopt), 3, fiveReminders, shift,
         ListSelection::only(3)},
        {"shift with a stale anchor", sel(7, {7}, 7), 3, fiveReminders, shift, ListSelection::only(3)},
        {"the create row is selected alone", sel(1, {1, 2}, 1), 5, fiveAndCreate, ctrl | shift, ListSelection::only(5)},
        {"stale indexes go first", sel(1, {1, 8}, 1), 2, fiveReminders, ctrl, sel(2, {1, 2}, 2)},
    };
    for (const Case& c : table) EXPECT_EQ(select(c.before, c.index, c.count, c.modifiers), c.after) << c.what;
}

TEST(ListSelection, TogglingTheCursorOutMovesItToTheNearestRow) {
    // From {2, 5, 9}: out goes 2, the cursor and anchor go to 5.
    EXPECT_EQ(toggleSelection(sel(2, {2, 5, 9}, 2), 2), sel(5, {5, 9}, 5));
    // The anchor elsewhere stays.
    EXPECT_EQ(toggleSelection(sel(5, {2, 5, 9}, 9), 5), sel(2, {2, 9}, 9));
    // A tie takes the lower index.
    EXPECT_EQ(toggleSelection(sel(5, {3, 5, 7}, 5), 5), sel(3, {3, 7}, 3));
    // A row that is not the cursor leaves the cursor where it was.
    EXPECT_EQ(toggleSelection(sel(5, {3, 5, 7}, 3), 7), sel(5, {3, 5}, 3));
}

TEST(ListSelection, ARangeCountsNoCreateRowAndKeepsTheAnchor) {
    EXPECT_EQ(selectRange(sel(7, {7}, 7), 7, 3, fiveReminders), sel(3, {3, 4}, 7));
    EXPECT_EQ(selectRange(sel(0, {0}, 2), 2, 5, fiveAndCreate), sel(5, {2, 3, 4}, 2));
}

TEST(ListSelection, Keys) {
    const auto move = [](ListSelection s, MoveDirection d, FlatRowCount c) { return moveSelection(s, d, c); };
    // Down with no cursor selects the first row; down on the last stays.
    EXPECT_EQ(move({}, MoveDirection::down, fiveReminders)->selection, ListSelection::only(0));
    EXPECT_EQ(move(ListSelection::only(4), MoveDirection::down, fiveReminders)->selection, ListSelection::only(4));
    EXPECT_EQ(move(ListSelection::only(4), MoveDirection::down, fiveAndCreate)->selection, ListSelection::only(5));
    // Up from the first row clears and goes back to the field.
    const auto up = move(sel(0, {0, 1}, 1), MoveDirection::up, fiveReminders);
    EXPECT_EQ(up->selection, ListSelection::none());
    EXPECT_TRUE(up->toField);
    EXPECT_FALSE(move(sel(2, {1, 2}, 1), MoveDirection::up, fiveReminders)->toField);
    EXPECT_EQ(move({}, MoveDirection::down, {0, false}), std::nullopt);

    // Shift+Down from 2 with no anchor, Shift+Up, Shift+Up.
    ListSelection s = *extendSelection(sel(2, {2}, std::nullopt), 1, fiveReminders);
    EXPECT_EQ(s, sel(3, {2, 3}, 2));
    s = *extendSelection(s, -1, fiveReminders);
    EXPECT_EQ(s, sel(2, {2}, 2));
    s = *extendSelection(s, -1, fiveReminders);
    EXPECT_EQ(s, sel(1, {1, 2}, 2));
    // Never onto the create row, never without a cursor; a stale anchor
    // falls back to the cursor.
    EXPECT_EQ(extendSelection(ListSelection::only(4), 1, fiveAndCreate), std::nullopt);
    EXPECT_EQ(extendSelection({}, 1, fiveReminders), std::nullopt);
    EXPECT_EQ(extendSelection(sel(1, {1}, 9), 1, fiveReminders), sel(2, {1, 2}, 1));

    // Ctrl+A: reminders only, a valid cursor, the anchor on it.
    EXPECT_EQ(selectAll(ListSelection::only(5), fiveAndCreate), sel(0, {0, 1, 2, 3, 4}, 0));
    EXPECT_EQ(selectAll(ListSelection::only(3), fiveAndCreate), sel(3, {0, 1, 2, 3, 4}, 3));
    EXPECT_EQ(selectAll({}, {0, true}), std::nullopt);

    // Return: the create row submits, one reminder edits, several nothing.
    EXPECT_EQ(returnKey(ListSelection::only(5), fiveAndCreate), ReturnAction::submit);
    EXPECT_EQ(returnKey(ListSelection::only(2), fiveAndCreate), ReturnAction::edit);
    EXPECT_EQ(returnKey(sel(2, {1, 2}, 1), fiveAndCreate), ReturnAction::nothing);
    EXPECT_EQ(returnKey({}, fiveAndCreate), ReturnAction::nothing);

    EXPECT_EQ(selectedCount(sel(5, {1, 2, 5, 9}, 1), fiveAndCreate), 2);
}

TEST(ListSelection, TheListsHeightIsCapped) {
    EXPECT_EQ(PanelList::listFrameHeight(2000, 50.0), 100);
    EXPECT_EQ(PanelList::listFrameHeight(2000, 1200.0), 900);
    EXPECT_EQ(PanelList::listFrameHeight(2000, 500.0), 500);
    EXPECT_EQ(PanelList::listFrameHeight(2000, std::nullopt), 380);
    EXPECT_EQ(PanelList::listFrameHeight(12, std::nullopt), 40);
    EXPECT_EQ(PanelList::listFrameHeight(142, std::nullopt), 142);
}

}  // namespace
