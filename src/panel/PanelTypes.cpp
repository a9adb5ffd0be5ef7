#include "panel/PanelTypes.h"

namespace tavlin::panel {

bool operator==(const LocationPreviewEntry& a, const LocationPreviewEntry& b) {
    if (a.resolved != b.resolved || a.failed != b.failed) return false;
    if (a.snapshot.has_value() != b.snapshot.has_value()) return false;
    if (!a.snapshot) return true;
    return a.snapshot->image == b.snapshot->image && a.snapshot->center == b.snapshot->center &&
           a.snapshot->pointsPerMeter == b.snapshot->pointsPerMeter;
}

QString RowItem::id() const {
    if (const platform::Reminder* shown = reminder()) return shown->identifier;
    return createRowID;
}

}  // namespace tavlin::panel
