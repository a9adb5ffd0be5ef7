#pragma once

#include "store/ManualOrder.h"

#include <QSet>
#include <QStringList>

#include <optional>
#include <set>

// A drag inside one section of the panel's list, as stored manual ranks.
namespace tavlin::panel {

// `identifiers` with those at the offsets `source` moved before the one at
// `destination`, both counted before the move (`destination` may be the
// count: the end). Offsets outside the list are ignored.
QStringList movedIdentifiers(const QStringList& identifiers, const std::set<int>& source, int destination);

// The ranks after a section's rows `identifiers` (in their shown order) were
// moved: the section's ranks become 0, 1, 2, … in the new order and other
// sections keep theirs. Ranks of reminders not in `known` go, unless `known`
// is empty. Nothing when the rows stay in place.
std::optional<store::ManualOrder::Ranks> ranksAfterMove(const QStringList& identifiers, const std::set<int>& source,
                                                        int destination, store::ManualOrder::Ranks ranks,
                                                        QSet<QString> known);

}  // namespace tavlin::panel
