#include "panel/RowSelection.h"

#include "store/ObservationTracking.h"

namespace tavlin::panel {

void RowSelection::setSelectedIndex(std::optional<int> index) {
    store::publish(this, selectedIndex_, index, &RowSelection::selectedIndexChanged);
}

void RowSelection::setSelectedIndexes(std::set<int> indexes) {
    store::publish(this, selectedIndexes_, std::move(indexes), &RowSelection::selectedIndexesChanged);
}

void RowSelection::setSelectionAnchor(std::optional<int> anchor) {
    store::publish(this, selectionAnchor_, anchor, &RowSelection::selectionAnchorChanged);
}

void RowSelection::setSelection(const ListSelection& selection) {
    setSelectedIndex(selection.cursor);
    setSelectedIndexes(selection.indexes);
    setSelectionAnchor(selection.anchor);
}

}  // namespace tavlin::panel
