#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

// The manual drag order of the panel: a rank per reminder identifier, lower
// first, applied within one section at a time.
namespace tavlin::store::ManualOrder {

using Ranks = QHash<QString, double>;

// One rank per identifier of a section given in its default order. Without
// any stored rank that is the position; otherwise an unranked reminder sits
// just after the ranked one before it (or just before the first ranked one).
QList<double> effectiveRanks(const QStringList& identifiers, const Ranks& ranks);

// Ranks 0, 1, 2, … for `identifiers` in their new order; others stay.
void renumber(const QStringList& identifiers, Ranks& ranks);

// Drops the ranks of identifiers not in `keep`, leaving `ranks` untouched
// when there are none to drop.
void pruneRanks(const QSet<QString>& keep, Ranks& ranks);

// The stored form: an object of numbers. Anything else gives no ranks;
// entries that are not numbers are dropped.
Ranks decodeRanks(const nlohmann::json& stored);

}  // namespace tavlin::store::ManualOrder
