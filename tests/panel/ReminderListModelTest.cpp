#include "panel/ReminderListModel.h"

#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;

namespace {

ListRow row(const QString& id, const QString& title = {}) {
    return {.kind = ListRow::Kind::reminder,
            .id = id,
            .reminder = tavlin::platform::Reminder{.identifier = id, .title = title}};
}

std::vector<ListRow> rows(const QStringList& ids) {
    std::vector<ListRow> result;
    for (const QString& id : ids) result.push_back(row(id));
    return result;
}

QStringList shownIds(const ReminderListModel& model) {
    QStringList ids;
    for (int i = 0; i < model.rowCount(); ++i) ids << model.row(i).id;
    return ids;
}

class ReminderListModelTest : public ::testing::Test {
protected:
    ReminderListModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QSignalSpy resets{&model, &QAbstractItemModel::modelReset};
    QSignalSpy layouts{&model, &QAbstractItemModel::layoutChanged};
    QSignalSpy changes{&model, &QAbstractItemModel::dataChanged};
    QSignalSpy moves{&model, &QAbstractItemModel::rowsMoved};
    QSignalSpy inserts{&model, &QAbstractItemModel::rowsInserted};
    QSignalSpy removes{&model, &QAbstractItemModel::rowsRemoved};
};

TEST_F(ReminderListModelTest, OneChangedReminderIsOneChangeAndNoReset) {
    model.setRows(rows({u"a"_s, u"b"_s, u"c"_s}));
    const quint64 untouched = model.revision(0), before = model.revision(1);
    std::vector<ListRow> next = rows({u"a"_s, u"b"_s, u"c"_s});
    next[1].reminder->title = u"changed"_s;
    model.setRows(next);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changes[0][1].toModelIndex().row(), 1);
    EXPECT_NE(model.revision(1), before);
    EXPECT_EQ(model.revision(0), untouched);
    EXPECT_EQ(model.data(model.index(1)), u"changed"_s);
    // The same rows again change nothing.
    model.setRows(next);
    EXPECT_EQ(changes.size(), 1);
    EXPECT_EQ(resets.size(), 0);
}

TEST_F(ReminderListModelTest, RowsAreReconciledByTheirIdentifiers) {
    model.setRows(rows({u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s}));
    inserts.clear();
    const std::vector<QStringList> steps{
        {u"a"_s, u"c"_s, u"e"_s},                          // removals
        {u"x"_s, u"a"_s, u"c"_s, u"y"_s, u"e"_s, u"z"_s},  // insertions
        {u"e"_s, u"x"_s, u"a"_s, u"c"_s, u"y"_s, u"z"_s},  // one row to the top
        {u"x"_s, u"a"_s, u"c"_s, u"y"_s, u"z"_s, u"e"_s},  // and to the end
        {u"z"_s, u"y"_s, u"e"_s, u"c"_s, u"a"_s, u"x"_s},  // all reversed
        {u"q"_s, u"c"_s, u"z"_s},                          // everything at once
        {},
    };
    for (const QStringList& ids : steps) {
        model.setRows(rows(ids));
        EXPECT_EQ(shownIds(model), ids);
    }
    EXPECT_EQ(resets.size(), 0);
    EXPECT_GE(removes.size(), 1);
    EXPECT_GE(inserts.size(), 1);
    EXPECT_GE(moves.size(), 2);
}

TEST_F(ReminderListModelTest, AMovedRowIsOneMoveAndManyAreOneLayoutChange) {
    QStringList ids;
    for (int i = 0; i < 40; ++i) ids << QString::number(i);
    model.setRows(rows(ids));
    QStringList moved = ids;
    moved.move(2, 30);
    model.setRows(rows(moved));
    EXPECT_EQ(moves.size(), 1);
    EXPECT_EQ(layouts.size(), 0);
    QStringList reversed(moved.rbegin(), moved.rend());
    model.setRows(rows(reversed));
    EXPECT_EQ(shownIds(model), reversed);
    EXPECT_EQ(layouts.size(), 1);
    EXPECT_EQ(resets.size(), 0);
}

}  // namespace
