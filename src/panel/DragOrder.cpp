#include "panel/DragOrder.h"

#include <algorithm>

namespace tavlin::panel {

QStringList movedIdentifiers(const QStringList& identifiers, const std::set<int>& source, int destination) {
    QStringList moving, staying;
    int before = 0;  // moved rows that stood before the destination
    for (qsizetype i = 0; i < identifiers.size(); ++i) {
        if (source.contains(int(i))) {
            moving.append(identifiers[i]);
            if (i < destination) ++before;
        } else {
            staying.append(identifiers[i]);
        }
    }
    const qsizetype at = std::clamp<qsizetype>(destination - before, 0, staying.size());
    for (qsizetype i = 0; i < moving.size(); ++i) staying.insert(at + i, moving[i]);
    return staying;
}

std::optional<store::ManualOrder::Ranks> ranksAfterMove(const QStringList& identifiers, const std::set<int>& source,
                                                        int destination, store::ManualOrder::Ranks ranks,
                                                        QSet<QString> known) {
    const QStringList moved = movedIdentifiers(identifiers, source, destination);
    if (moved == identifiers) return std::nullopt;
    store::ManualOrder::renumber(moved, ranks);
    if (!known.isEmpty()) {
        for (const QString& identifier : moved) known.insert(identifier);
        store::ManualOrder::pruneRanks(known, ranks);
    }
    return ranks;
}

}  // namespace tavlin::panel
