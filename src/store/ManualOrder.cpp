#include "store/ManualOrder.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace tavlin::store::ManualOrder {

namespace {

using StoredRanks = std::vector<std::optional<double>>;

// For each position, the nearest stored rank before it (forward) or after it.
StoredRanks nearestStored(const StoredRanks& stored, bool forward) {
    StoredRanks nearest(stored.size());
    std::optional<double> last;
    const qsizetype count = qsizetype(stored.size());
    for (qsizetype step = 0; step < count; ++step) {
        const qsizetype i = forward ? step : count - 1 - step;
        nearest[i] = last;
        if (stored[i]) last = stored[i];
    }
    return nearest;
}

double rankBetween(std::optional<double> previous, std::optional<double> next) {
    if (previous && next) return *previous < *next ? (*previous + *next) / 2 : *previous + 0.5;
    if (previous) return *previous + 0.5;
    return *next - 0.5;
}

}  // namespace

QList<double> effectiveRanks(const QStringList& identifiers, const Ranks& ranks) {
    StoredRanks stored;
    bool anyStored = false;
    for (const QString& identifier : identifiers) {
        const auto found = ranks.constFind(identifier);
        stored.push_back(found == ranks.cend() ? std::nullopt : std::optional(*found));
        anyStored = anyStored || stored.back();
    }
    QList<double> effective;
    if (!anyStored) {
        for (qsizetype i = 0; i < identifiers.size(); ++i) effective.append(double(i));
        return effective;
    }
    const StoredRanks previous = nearestStored(stored, true);
    const StoredRanks next = nearestStored(stored, false);
    for (std::size_t i = 0; i < stored.size(); ++i)
        effective.append(stored[i] ? *stored[i] : rankBetween(previous[i], next[i]));
    return effective;
}

void renumber(const QStringList& identifiers, Ranks& ranks) {
    for (qsizetype i = 0; i < identifiers.size(); ++i) ranks.insert(identifiers[i], double(i));
}

void pruneRanks(const QSet<QString>& keep, Ranks& ranks) {
    const auto isKept = [&keep](const QString& identifier) { return keep.contains(identifier); };
    if (std::all_of(ranks.keyBegin(), ranks.keyEnd(), isKept)) return;
    Ranks kept;
    for (auto entry = ranks.cbegin(); entry != ranks.cend(); ++entry)
        if (isKept(entry.key())) kept.insert(entry.key(), entry.value());
    ranks = std::move(kept);
}

Ranks decodeRanks(const nlohmann::json& stored) {
    Ranks ranks;
    if (!stored.is_object()) return ranks;
    for (const auto& [identifier, rank] : stored.items())
        if (rank.is_number()) ranks.insert(QString::fromStdString(identifier), rank.get<double>());
    return ranks;
}

}  // namespace tavlin::store::ManualOrder
