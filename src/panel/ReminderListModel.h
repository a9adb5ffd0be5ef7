#pragma once

#include "panel/ListRow.h"

#include <QAbstractListModel>

#include <vector>

namespace tavlin::panel {

// The rows of the panel's list as an item model, for a view that paints
// them. A new set of rows is reconciled with the shown one by the rows'
// identifiers: rows that went are removed, new ones inserted, moved ones
// moved and changed ones reported as changed; the model is never reset, so
// that the view keeps its scroll position, its sizes and its place.
class ReminderListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        // A count that changes whenever the row's content changes: what a
        // view keys a cached size by.
        RevisionRole = Qt::UserRole + 1,
        IdRole,
    };

    explicit ReminderListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const ListRow& row(int index) const { return rows_[std::size_t(index)].row; }
    quint64 revision(int index) const { return rows_[std::size_t(index)].revision; }
    // The row with `id`, or -1.
    int indexOf(const QString& id) const;
    // The row that shows flat row `flatIndex`, or -1.
    int indexOfFlatRow(int flatIndex) const;

    void setRows(const std::vector<ListRow>& rows);

private:
    struct Entry {
        ListRow row;
        quint64 revision = 0;
    };

    void removeGone(const QSet<QString>& wanted);
    void reorderKept(const std::vector<ListRow>& rows);
    void updateChanged(const std::vector<ListRow>& rows);
    void insertNew(const std::vector<ListRow>& rows);
    Entry entry(ListRow row) { return {std::move(row), ++lastRevision_}; }

    std::vector<Entry> rows_;
    quint64 lastRevision_ = 0;
};

}  // namespace tavlin::panel
