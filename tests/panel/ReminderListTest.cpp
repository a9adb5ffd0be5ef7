// The panel's list: the model's list operations over a store, and the
// list's view with real mouse events, offscreen.

#include "panel/Derived.h"
#include "panel/PanelNotifications.h"
#include "panel/ReminderListModel.h"
#include "panel/widgets/ReminderList.h"
#include "panel/widgets/ReminderRowDelegate.h"

#include "PanelModelFixture.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using ListView = tavlin::panel::widgets::ReminderList;
using tavlin::panel::widgets::ReminderRowDelegate;
using tavlin::store::PanelSection;

namespace {

class ReminderListTest : public PanelModelFixture {
protected:
    // Three due today, two without a date (in this order in the store),
    // one done today.
    PanelModel& open() {
        storeWith({reminder("t1", "L1", day(2026, 3, 4)), reminder("t2", "L1", day(2026, 3, 4)),
                   reminder("t3", "L1", day(2026, 3, 4)), reminder("n1"), reminder("n2"), reminder("done")});
        store->setCompleted(store->reminders().back(), true);
        clock.runDueActions();
        return makeModel();
    }
    QStringList flatIds() const {
        QStringList ids;
        for (const RowItem& row : model->list().flatRows()) ids << row.id();
        return ids;
    }
    void key(PanelListKey key) { emit PanelNotifications::instance().tavlinListKey(key); }
};

TEST_F(ReminderListTest, TheRowsAreTheSectionsThenTheDoneGroup) {
    PanelModel& panel = open();
    EXPECT_EQ(flatIds(), (QStringList{u"t1"_s, u"t2"_s, u"t3"_s, u"n1"_s, u"n2"_s}));
    QStringList rows;
    for (const ListRow& row : panel.list().listRows()) rows << row.id;
    EXPECT_EQ(rows, (QStringList{u"header:today"_s, u"t1"_s, u"t2"_s, u"t3"_s, u"header:noDueDate"_s, u"n1"_s, u"n2"_s,
                                 u"header:done"_s, u"done:done"_s}));
    const std::vector<ListRow>& listed = panel.list().listRows();
    EXPECT_EQ(listed.front().topPadding, 8);
    EXPECT_EQ(listed[4].topPadding, 0);
    EXPECT_EQ(listed.back().bottomPadding, 8);
    EXPECT_TRUE(listed.back().isDone);
    EXPECT_FALSE(listed.back().movable);
    EXPECT_FALSE(listed.back().flatIndex);
    EXPECT_EQ(listed[5].flatIndex, 3);

    // A line that finds nothing: no list, the create row.
    panel.typedLine().setQuery(u"zzz"_s);
    EXPECT_FALSE(panel.list().hasListRows());
    EXPECT_TRUE(panel.list().showsCreateRow());
    EXPECT_EQ(flatIds(), QStringList{u"create-row"_s});
    // A line that finds some: no done rows while searching.
    panel.typedLine().setQuery(u"t2"_s);
    EXPECT_EQ(flatIds(), QStringList{u"t2"_s});
    EXPECT_TRUE(panel.list().doneTodayRows().empty());
    panel.typedLine().setQuery({});

    // Only done rows: "Nothing to do" above them.
    settings.setSectionVisibility({.hidden = {PanelSection::today, PanelSection::noDueDate}});
    EXPECT_EQ(panel.list().listRows().front().kind, ListRow::Kind::placeholder);
    EXPECT_EQ(panel.list().listRows().front().title, u"Nothing to do"_s);
}

TEST_F(ReminderListTest, TheListKeysMoveAndExtendTheSelection) {
    PanelModel& panel = open();
    key(PanelListKey::down);
    key(PanelListKey::down);
    key(PanelListKey::extendDown);
    EXPECT_EQ(panel.rowSelection().selectedIndex(), 2);
    EXPECT_EQ(panel.rowSelection().selectedIndexes(), (std::set{1, 2}));
    EXPECT_EQ(panel.list().selectedReminders().size(), 2u);
    EXPECT_EQ(panel.list().listRows()[2].selectedCount, 2);
    EXPECT_EQ(panel.list().listRows()[1].selectedCount, 1);

    panel.listActions().selectAll();
    EXPECT_EQ(panel.rowSelection().selectedIndexes(), (std::set{0, 1, 2, 3, 4}));

    // Nothing moves during an edit, or while a capture is still searching.
    panel.inlineEdit().setEditingID(u"t1"_s);
    key(PanelListKey::up);
    panel.listActions().selectAll();
    EXPECT_EQ(panel.rowSelection().selectedIndex(), 2);
    panel.inlineEdit().setEditingID(std::nullopt);

    panel.setFocus(FocusTarget::list);
    panel.rowSelection().setSelection(ListSelection::only(0));
    key(PanelListKey::up);
    EXPECT_EQ(panel.rowSelection().selection(), ListSelection::none());
    EXPECT_EQ(panel.focus(), FocusTarget::field);
}

TEST_F(ReminderListTest, ADragStoresTheSectionsOrderAndSelectsTheMovedReminder) {
    PanelModel& panel = open();
    // Onto its own place: nothing.
    panel.listActions().moveReminders(PanelSection::today, {2}, 3);
    EXPECT_TRUE(settings.manualOrderRanks().isEmpty());
    panel.listActions().moveReminders(PanelSection::today, {2}, 0);
    EXPECT_EQ(settings.manualOrderRanks(),
              (tavlin::store::ManualOrder::Ranks{{u"t3"_s, 0}, {u"t1"_s, 1}, {u"t2"_s, 2}}));
    EXPECT_EQ(flatIds(), (QStringList{u"t3"_s, u"t1"_s, u"t2"_s, u"n1"_s, u"n2"_s}));
    EXPECT_EQ(panel.rowSelection().selection(), ListSelection::only(0));
    // Never during an edit.
    panel.inlineEdit().setEditingID(u"n1"_s);
    panel.listActions().moveReminders(PanelSection::noDueDate, {1}, 0);
    EXPECT_EQ(settings.manualOrderRanks().size(), 3);
}

TEST_F(ReminderListTest, ADragKeepsThePlacesOfRemindersPendingDeletionOrDoneToday) {
    PanelModel& panel = open();
    panel.listActions().moveReminders(PanelSection::today, {0}, 3);  // t2 t3 t1
    store->queueDeletion(store->reminders().front());                // t1, with an undo
    clock.runDueActions();
    ASSERT_EQ(flatIds().first(2), (QStringList{u"t2"_s, u"t3"_s}));
    panel.listActions().moveReminders(PanelSection::today, {1}, 0);  // t3 t2
    panel.listActions().moveReminders(PanelSection::noDueDate, {1}, 0);
    const auto ranks = settings.manualOrderRanks();
    EXPECT_TRUE(ranks.contains(u"t1"_s));
    EXPECT_EQ(ranks.value(u"t3"_s), 0);
    EXPECT_EQ(ranks.value(u"n2"_s), 0);

    // Undo: it comes back in its place.
    store->cancelDeletion();
    clock.runDueActions();
    EXPECT_EQ(flatIds().first(3), (QStringList{u"t3"_s, u"t2"_s, u"t1"_s}));
}

TEST(Derived, IsWorkedOutOncePerChangeOfWhatItRead) {
    QTemporaryDir folder;
    tavlin::platform::UserDefaults defaults(folder.filePath(u"settings.json"_s));
    tavlin::store::Settings settings(defaults);
    int runs = 0;
    Derived<int> hidden([&] {
        ++runs;
        return int(settings.sectionVisibility().hidden.size());
    });
    EXPECT_EQ(hidden.get(), 0);
    EXPECT_EQ(hidden.get(), 0);
    EXPECT_EQ(runs, 1);
    QSignalSpy stale(&hidden, &DerivedBase::changed);
    settings.setSectionVisibility({.hidden = {PanelSection::later}});
    settings.setSectionVisibility({.hidden = {PanelSection::later, PanelSection::today}});
    EXPECT_EQ(stale.size(), 1);
    EXPECT_EQ(hidden.get(), 2);
    EXPECT_EQ(runs, 2);
}

// The view.

class ReminderListViewTest : public ReminderListTest {
protected:
    ListView& show() {
        open();
        list = std::make_unique<ListView>(*model);
        list->setFixedWidth(440);
        list->show();
        settle();
        return *list;
    }
    // The views render at the next turn of the main loop.
    void settle() {
        for (int turn = 0; turn < 3; ++turn) {
            clock.runDueActions();
            QCoreApplication::processEvents();
        }
    }
    QRect rect(const QString& id) const { return list->visualRect(list->indexOfRow(id)); }
    // A point on the row's text, and one on its checkbox.
    QPoint onText(const QString& id) const { return rect(id).center(); }
    QPoint onCheckbox(const QString& id) const {
        const QModelIndex index = list->indexOfRow(id);
        const ListRow& row = list->listModel()->row(index.row());
        const tavlin::rows::ReminderRowPainter painter(list->font());
        return painter
            .checkboxRect(tavlin::rows::reminderRowText(*row.reminder, {.calendar = &calendar}),
                          ReminderRowDelegate::rowRect(row, rect(id)))
            .center()
            .toPoint();
    }
    void drag(QPoint from, QPoint to) {
        QWidget* viewport = list->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        const QPoint halfway = (from + to) / 2;
        QMouseEvent first(QEvent::MouseMove, halfway, viewport->mapToGlobal(halfway), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &first);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<ListView> list;
};

TEST_F(ReminderListViewTest, ClicksSelectOpenToggleAndAskForTheMenu) {
    ListView& view = show();
    QStringList heard;
    ReminderRowDelegate* delegate = view.delegate();
    QObject::connect(delegate, &ReminderRowDelegate::selectRequested, [&](int index, Qt::KeyboardModifiers mods) {
        heard << u"select %1 %2"_s.arg(index).arg(mods.toInt());
    });
    QObject::connect(delegate, &ReminderRowDelegate::openRequested,
                     [&](const tavlin::platform::Reminder& r) { heard << u"open "_s + r.identifier; });
    QObject::connect(delegate, &ReminderRowDelegate::toggleCompletionRequested,
                     [&](const tavlin::platform::Reminder& r, bool done) {
                         heard << u"toggle %1 %2"_s.arg(r.identifier).arg(done);
                     });
    QObject::connect(delegate, &ReminderRowDelegate::menuRequested,
                     [&](const ListRow& row, QPoint) { heard << u"menu "_s + row.id; });
    // The list's own menu shows a turn later: it closes at once here.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    closer.start(5);
    QObject::connect(delegate, &ReminderRowDelegate::doneRowSelectRequested, [&] { heard << u"done row"_s; });

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onText(u"t2"_s));
    EXPECT_EQ(heard, QStringList{u"select 1 0"_s});
    EXPECT_EQ(model->rowSelection().selection(), ListSelection::only(1));
    EXPECT_EQ(model->focus(), FocusTarget::list);

    heard.clear();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, onText(u"n1"_s));
    EXPECT_EQ(model->rowSelection().selectedIndexes(), (std::set{1, 3}));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, onText(u"t1"_s));
    EXPECT_EQ(model->rowSelection().selectedIndexes(), (std::set{0, 1, 2, 3}));
    EXPECT_EQ(model->rowSelection().selectedIndex(), 0);

    // A double click: a click, then a press that is a double click.
    heard.clear();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onText(u"t3"_s));
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, onText(u"t3"_s));
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, onText(u"t3"_s));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, onText(u"t3"_s));
    EXPECT_EQ(heard, (QStringList{u"select 2 0"_s, u"select 2 0"_s, u"open t3"_s}));

    heard.clear();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onCheckbox(u"n2"_s));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onCheckbox(u"done:done"_s));
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, onText(u"t1"_s));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onText(u"done:done"_s));
    EXPECT_EQ(heard, (QStringList{u"toggle n2 0"_s, u"toggle done 1"_s, u"menu t1"_s, u"done row"_s}));
    EXPECT_EQ(model->rowSelection().selection(), ListSelection::none());
}

TEST_F(ReminderListViewTest, RowsAreDraggedWithinTheirSectionOnly) {
    ListView& view = show();
    // The third of today's to the top.
    drag(onText(u"t3"_s), rect(u"t1"_s).topLeft() + QPoint(100, 3));
    EXPECT_EQ(settings.manualOrderRanks(),
              (tavlin::store::ManualOrder::Ranks{{u"t3"_s, 0}, {u"t1"_s, 1}, {u"t2"_s, 2}}));
    EXPECT_EQ(model->rowSelection().selection(), ListSelection::only(0));
    settle();
    EXPECT_EQ(view.listModel()->row(1).id, u"t3"_s);

    // Into another section: refused.
    drag(onText(u"t1"_s), onText(u"n2"_s));
    EXPECT_EQ(settings.manualOrderRanks().size(), 3);
    EXPECT_FALSE(settings.manualOrderRanks().contains(u"n2"_s));
    // A done row does not move.
    drag(onText(u"done:done"_s), rect(u"t1"_s).topLeft() + QPoint(100, 3));
    EXPECT_EQ(settings.manualOrderRanks().size(), 3);
}

TEST_F(ReminderListViewTest, TheListIsAsHighAsItsRowsWithinItsCapAndTellsItsHeights) {
    std::vector<ListMetrics> metrics;
    open();
    model.reset();
    PanelViewInputs inputs;
    inputs.onListMetricsChange = [&](ListMetrics m) { metrics.push_back(m); };
    makeModel(std::move(inputs));
    list = std::make_unique<ListView>(*model);
    list->setFixedWidth(440);
    list->show();
    settle();
    ASSERT_FALSE(metrics.empty());
    EXPECT_EQ(metrics.back().frame, list->height());
    EXPECT_GT(metrics.back().content, 200);
    EXPECT_EQ(list->height(), std::min(380, int(std::lround(metrics.back().content))));

    settings.setPinnedPanelListHeight(150.0);
    settle();
    EXPECT_EQ(list->height(), 150);
    EXPECT_EQ(metrics.back().frame, 150);

    // Ctrl+A and Delete while the list has the keyboard.
    QSignalSpy deletes(&PanelNotifications::instance(), &PanelNotifications::tavlinDeleteSelection);
    QTest::keyClick(list.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(model->rowSelection().selectedIndexes().size(), 5u);
    QTest::keyClick(list.get(), Qt::Key_Backspace);
    QTest::keyClick(list.get(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(deletes.size(), 1);
}

// Only the rows in sight are measured and laid out before the list shows;
// the rest follow, and a cursor set at once still reaches its row.
TEST_F(ReminderListViewTest, ALongListTakesItsCapAndScrollsToARowLaidOutLater) {
    std::vector<tavlin::platform::Reminder> reminders;
    std::vector<std::string> ids;
    for (int i = 0; i < 400; ++i) ids.push_back("r" + std::to_string(i));
    for (const std::string& id : ids) reminders.push_back(reminder(id.c_str()));
    storeWith(std::move(reminders));
    makeModel();
    list = std::make_unique<ListView>(*model);
    list->setFixedWidth(440);
    list->show();
    const QString last = model->list().flatRows().back().id();
    model->listActions().rowSelected(int(model->list().flatRows().size()) - 1, {});
    settle();
    EXPECT_EQ(list->height(), 380);
    EXPECT_TRUE(runMainLoopUntil([&] { return list->viewport()->rect().contains(rect(last)); }));
}

}  // namespace

// The swipe: sideways scrolls on a row.

TEST(RowSwipeTest, WhereTheFingersLeaveDecidesTheSwipe) {
    const struct {
        std::vector<double> scrolls;
        RowSwipe::Release release;
        double offsetAfter;
    } cases[] = {
        {{30}, RowSwipe::Release::closed, 0},          {{40, 40}, RowSwipe::Release::revealed, RowSwipe::revealedWidth},
        {{200, 100}, RowSwipe::Release::deleteRow, 0}, {{200, -150}, RowSwipe::Release::closed, 0},
        {{-50}, RowSwipe::Release::closed, 0},         {{900}, RowSwipe::Release::deleteRow, 0},
    };
    for (const auto& c : cases) {
        RowSwipe swipe;
        for (const double delta : c.scrolls) swipe.scroll(u"a"_s, delta, 440);
        EXPECT_LE(swipe.offset(), 440);
        EXPECT_EQ(swipe.release(440), c.release);
        EXPECT_EQ(swipe.offset(u"a"_s), c.offsetAfter);
    }
    RowSwipe swipe;
    swipe.reveal(u"a"_s);
    swipe.scroll(u"b"_s, 10, 440);
    EXPECT_EQ(swipe.offset(u"a"_s), 0) << "another row's swipe closes the first";
    EXPECT_EQ(swipe.offset(u"b"_s), 10);
}

TEST_F(ReminderListViewTest, ASidewaysScrollShowsARowsActionsAndAFullOneDeletesThatRowAlone) {
    ListView& view = show();
    model->rowSelection().setSelection({0, {0, 1}, 0});
    const auto scroll = [&](const QString& id, int pixels) {
        const QPointF at = onText(id);
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(-pixels, 0), QPoint(-pixels * 3, 0),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
    };
    scroll(u"t1"_s, 50);
    scroll(u"t1"_s, 50);
    EXPECT_EQ(view.swipe().offset(u"t1"_s), 100);
    EXPECT_TRUE(runMainLoopUntil([&] { return view.swipe().offset(u"t1"_s) == RowSwipe::revealedWidth; }));

    // Edit, on the row's trailing edge beside Delete.
    const QRectF row =
        ReminderRowDelegate::rowRect(view.listModel()->row(view.indexOfRow(u"t1"_s).row()), rect(u"t1"_s));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, ReminderRowDelegate::swipeEditRect(row).center().toPoint());
    EXPECT_EQ(model->inlineEdit().editingID(), u"t1"_s);
    model->handleExitCommand();
    settle();

    // A full swipe of a selected row deletes it, not the selection.
    model->rowSelection().setSelection({0, {0, 1}, 0});
    scroll(u"t2"_s, 400);
    EXPECT_TRUE(runMainLoopUntil([&] { return store->pendingDeletions().size() == 1; }));
    EXPECT_EQ(identifiers(store->pendingDeletions()), QStringList{u"t2"_s});
    EXPECT_EQ(view.swipe().row(), std::nullopt);
}
