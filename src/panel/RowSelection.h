#pragma once

#include "panel/ListSelection.h"

#include "store/ObservationTracking.h"

#include <QObject>

#include <optional>
#include <set>

namespace tavlin::panel {

// The selection of the panel's list as it stands: the cursor, the selected
// rows and the anchor of a Shift range (ListSelection works out the next
// one). Each property signals only a change; the panel model publishes
// them. Main thread only.
class RowSelection : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    const std::optional<int>& selectedIndex() const {
        return store::observed(this, selectedIndex_, &RowSelection::selectedIndexChanged);
    }
    void setSelectedIndex(std::optional<int> index);
    const std::set<int>& selectedIndexes() const {
        return store::observed(this, selectedIndexes_, &RowSelection::selectedIndexesChanged);
    }
    void setSelectedIndexes(std::set<int> indexes);
    const std::optional<int>& selectionAnchor() const {
        return store::observed(this, selectionAnchor_, &RowSelection::selectionAnchorChanged);
    }
    void setSelectionAnchor(std::optional<int> anchor);

    ListSelection selection() const { return {selectedIndex(), selectedIndexes(), selectionAnchor()}; }
    // The three properties in turn: cursor, rows, anchor.
    void setSelection(const ListSelection& selection);
    // No row selected.
    void clear() { setSelection(ListSelection::none()); }

signals:
    void selectedIndexChanged();
    void selectedIndexesChanged();
    void selectionAnchorChanged();

private:
    std::optional<int> selectedIndex_;
    std::set<int> selectedIndexes_;
    std::optional<int> selectionAnchor_;
};

}  // namespace tavlin::panel
