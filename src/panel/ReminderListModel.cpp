#include "panel/ReminderListModel.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace tavlin::panel {

namespace {

// Past this many rows out of place, one layout change is cheaper than a
// move for each.
constexpr std::size_t maximumMoves = 16;

// The positions of a longest increasing run in `values` (not necessarily
// contiguous).
std::vector<bool> longestIncreasing(const std::vector<int>& values) {
    std::vector<int> tails;  // index into values of the smallest tail per length
    std::vector<int> before(values.size(), -1);
    for (int i = 0; i < int(values.size()); ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), values[std::size_t(i)],
                                         [&](int tail, int value) { return values[std::size_t(tail)] < value; });
        if (at != tails.begin()) before[std::size_t(i)] = *(at - 1);
        if (at == tails.end()) tails.push_back(i);
        else *at = i;
    }
    std::vector<bool> kept(values.size(), false);
    for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[std::size_t(i)]) kept[std::size_t(i)] = true;
    return kept;
}

}  // namespace

ReminderListModel::ReminderListModel(QObject* parent) : QAbstractListModel(parent) {}

int ReminderListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

QVariant ReminderListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const Entry& entry = rows_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return entry.row.reminder ? entry.row.reminder->title : entry.row.title;
    case RevisionRole: return entry.revision;
    case IdRole: return entry.row.id;
    default: return {};
    }
}

int ReminderListModel::indexOf(const QString& id) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].row.id == id) return int(i);
    return -1;
}

int ReminderListModel::indexOfFlatRow(int flatIndex) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].row.kind == ListRow::Kind::reminder && rows_[i].row.flatIndex == flatIndex) return int(i);
    return -1;
}

// Only the rows inserted or changed are copied: at each refresh most are neither.
void ReminderListModel::setRows(const std::vector<ListRow>& rows) {
    QSet<QString> wanted;
    wanted.reserve(qsizetype(rows.size()));
    for (const ListRow& row : rows) wanted.insert(row.id);
    removeGone(wanted);
    reorderKept(rows);
    updateChanged(rows);
    insertNew(rows);
}

void ReminderListModel::removeGone(const QSet<QString>& wanted) {
    // From the end, a run of gone rows at a time.
    for (int last = int(rows_.size()) - 1; last >= 0;) {
        if (wanted.contains(rows_[std::size_t(last)].row.id)) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !wanted.contains(rows_[std::size_t(first - 1)].row.id)) --first;
        beginRemoveRows({}, first, last);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
        last = first - 1;
    }
}

void ReminderListModel::reorderKept(const std::vector<ListRow>& rows) {
    QHash<QString, int> target;  // the new place of each row
    target.reserve(qsizetype(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) target.insert(rows[std::size_t(i)].id, i);
    std::vector<int> places;
    places.reserve(rows_.size());
    for (const Entry& entry : rows_) places.push_back(target.value(entry.row.id));
    if (std::is_sorted(places.begin(), places.end())) return;

    // The rows that keep their order stay; the others move.
    const std::vector<bool> staying = longestIncreasing(places);
    const std::size_t moving = std::size_t(std::count(staying.begin(), staying.end(), false));
    if (moving > maximumMoves) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        QStringList ids;
        for (const QModelIndex& index : before) ids.append(rows_[std::size_t(index.row())].row.id);
        std::stable_sort(rows_.begin(), rows_.end(), [&](const Entry& a, const Entry& b) {
            return target.value(a.row.id) < target.value(b.row.id);
        });
        QModelIndexList after;
        for (const QString& id : ids) after.append(index(indexOf(id), 0));
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
        return;
    }

    std::vector<QString> movers;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (!staying[i]) movers.push_back(rows_[i].row.id);
    std::sort(movers.begin(), movers.end(), [&](const QString& a, const QString& b) { return target[a] < target[b]; });
    for (const QString& id : movers) {
        const int from = indexOf(id);
        // Right after the kept row that comes before it in the new order.
        int after = -1;
        for (int i = 0; i < int(rows_.size()); ++i)
            if (target.value(rows_[std::size_t(i)].row.id) < target[id] && i != from) after = std::max(after, i);
        const int to = after + 1;
        if (to == from || to == from + 1) continue;
        beginMoveRows({}, from, from, {}, to);
        Entry moved = std::move(rows_[std::size_t(from)]);
        rows_.erase(rows_.begin() + from);
        rows_.insert(rows_.begin() + (to > from ? to - 1 : to), std::move(moved));
        endMoveRows();
    }
}

void ReminderListModel::updateChanged(const std::vector<ListRow>& rows) {
    QHash<QString, std::size_t> target;
    target.reserve(qsizetype(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) target.insert(rows[i].id, i);
    const auto changed = [&](int i) {
        const Entry& shown = rows_[std::size_t(i)];
        return !(shown.row == rows[target.value(shown.row.id)]);
    };
    for (int i = 0; i < int(rows_.size());) {
        if (!changed(i)) {
            ++i;
            continue;
        }
        int end = i;
        for (; end < int(rows_.size()) && changed(end); ++end)
            rows_[std::size_t(end)] = entry(rows[target.value(rows_[std::size_t(end)].row.id)]);
        emit dataChanged(index(i, 0), index(end - 1, 0));
        i = end;
    }
}

void ReminderListModel::insertNew(const std::vector<ListRow>& rows) {
    // The shown rows are now those of `rows` that were kept, in its order.
    for (int i = 0; i < int(rows.size());) {
        const QString* next = i < int(rows_.size()) ? &rows_[std::size_t(i)].row.id : nullptr;
        if (next && *next == rows[std::size_t(i)].id) {
            ++i;
            continue;
        }
        int end = i + 1;
        while (end < int(rows.size()) && (!next || rows[std::size_t(end)].id != *next)) ++end;
        beginInsertRows({}, i, end - 1);
        std::vector<Entry> added;
        added.reserve(std::size_t(end - i));
        for (int j = i; j < end; ++j) added.push_back(entry(rows[std::size_t(j)]));
        rows_.insert(rows_.begin() + i, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
        endInsertRows();
        i = end;
    }
}

}  // namespace tavlin::panel
