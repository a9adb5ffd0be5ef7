#include "panel/PanelNotifications.h"
#include "panel/widgets/CaptureViews.h"
#include "panel/widgets/CreateAreaView.h"
#include "panel/widgets/FocusBinder.h"
#include "panel/widgets/KeyPanel.h"
#include "panel/widgets/PanelFooter.h"
#include "panel/widgets/PanelWidget.h"
#include "panel/widgets/ReminderList.h"
#include "panel/widgets/ReminderRowDelegate.h"
#include "panel/widgets/UndoBar.h"
#include "parsing/SmartParsedReminder.h"
#include "rows/CaptureCandidateRow.h"
#include "rows/CreateLegend.h"
#include "rows/CreateRow.h"
#include "rows/CreateStack.h"
#include "rows/EditReminderRow.h"
#include "rows/ElidedLabel.h"
#include "rows/ListSuggestions.h"
#include "rows/ParseChips.h"
#include "rows/PermissionDeniedView.h"
#include "rows/PermissionPromptView.h"
#include "rows/SearchField.h"
#include "rows/SymbolButton.h"

#include "FakeCommitStore.h"
#include "PanelModelFixture.h"
#include "support/MainLoop.h"
#include "support/ScriptedLanguageModel.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::panel::widgets::KeyPanel;
using tavlin::panel::widgets::PanelWidget;
namespace rows = tavlin::rows;
using tavlin::platform::AuthorizationStatus;
using tavlin::platform::StoreError;

namespace {

// The panel's window with its view over a model, as the controller opens
// it; the window's Escape, when the view leaves it, is heard as "cancel".
class PanelWidgetTest : public PanelModelFixture {
protected:
    PanelWidget& open(PanelViewInputs inputs = {}) {
        window = std::make_unique<KeyPanel>(PanelWidget::factory(), false);
        PanelModel& panel = makeModel(std::move(inputs));
        tavlin::panel::PanelWindow::Callbacks callbacks;
        callbacks.onCancel = [this] { heard << u"cancel"_s; };
        window->setCallbacks(std::move(callbacks));
        window->setRootView(panel);
        window->installContent(panel.inputs().cornerRadius);
        window->layoutContent();
        window->setFrame(QRectF(100, 100, panel.contentWidth(), window->contentHeight()));
        return *view();
    }
    void show() {
        window->makeKeyAndOrderFront();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        settle();
    }
    PanelWidget* view() const { return static_cast<PanelWidget*>(window->rootView()); }
    QLineEdit* field() const { return view()->searchField()->lineEdit(); }
    // What waits for the next turn: the views' renders, the deferred focus.
    void settle() {
        for (int turn = 0; turn < 3; ++turn) {
            clock.runDueActions();
            QCoreApplication::processEvents();
        }
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), Qt::Key(key), modifiers);
        settle();
    }

    std::unique_ptr<KeyPanel> window;
};

}  // namespace

TEST_F(PanelWidgetTest, ThePageFollowsTheAuthorization) {
    struct Case {
        AuthorizationStatus status;
        QWidget* (*page)(const PanelWidget&);
    };
    const Case cases[] = {
        {AuthorizationStatus::notDetermined, [](const PanelWidget& v) -> QWidget* { return v.promptView(); }},
        {AuthorizationStatus::fullAccess, [](const PanelWidget& v) { return v.contentView(); }},
        {AuthorizationStatus::denied, [](const PanelWidget& v) -> QWidget* { return v.deniedView(); }},
        {AuthorizationStatus::restricted, [](const PanelWidget& v) -> QWidget* { return v.deniedView(); }},
        {AuthorizationStatus::writeOnly, [](const PanelWidget& v) -> QWidget* { return v.deniedView(); }},
    };
    for (const Case& c : cases) {
        backend.setAuthorizationStatus(c.status);
        makeStore();
        const PanelWidget& shown = open();
        EXPECT_EQ(shown.currentPage(), c.page(shown)) << int(c.status);
    }
}

TEST_F(PanelWidgetTest, ReturnOnThePromptAsksForAccessAndTheContentFollows) {
    backend.setAuthorizationStatus(AuthorizationStatus::notDetermined);
    backend.setAccessRequestOutcome(AuthorizationStatus::fullAccess);
    makeStore();
    open();
    show();
    EXPECT_EQ(QApplication::focusWidget(), view()->promptView()->button());
    key(Qt::Key_Return);
    EXPECT_EQ(store->authorization(), AuthorizationStatus::fullAccess);
    EXPECT_EQ(view()->currentPage(), view()->contentView());
    // The content's first step: the field takes the keyboard.
    EXPECT_EQ(QApplication::focusWidget(), field());
}

TEST_F(PanelWidgetTest, EscapeEmptiesTheTypedFieldThenClosesThePanel) {
    open();
    show();
    ASSERT_EQ(QApplication::focusWidget(), field());
    QTest::keyClicks(field(), u"abc"_s);
    EXPECT_EQ(model->typedLine().query(), u"abc"_s);
    key(Qt::Key_Escape);
    EXPECT_EQ(field()->text(), u""_s);
    EXPECT_EQ(model->typedLine().query(), u""_s);
    EXPECT_TRUE(take().isEmpty());
    key(Qt::Key_Escape);
    // The model closes the panel: the window's own cancel is not needed.
    EXPECT_EQ(take(), QStringList{u"close"_s});
}

TEST_F(PanelWidgetTest, TheFocusOfTheModelAndOfTheWidgetsFollowEachOther) {
    open();
    auto* list = new QWidget(view()->listArea());
    list->setFocusPolicy(Qt::StrongFocus);
    view()->listArea()->layout()->addWidget(list);
    view()->focusBinder()->setList(list);
    show();
    EXPECT_EQ(model->focus(), FocusTarget::field);
    EXPECT_TRUE(field()->hasFocus());

    model->setFocus(FocusTarget::list);
    EXPECT_TRUE(list->hasFocus());
    model->setFocus(std::nullopt);
    EXPECT_EQ(QApplication::focusWidget(), nullptr);

    field()->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(model->focus(), FocusTarget::field);
    view()->footer()->gearButton()->setFocus();  // no part of the model's focus
    EXPECT_EQ(model->focus(), std::nullopt);
    list->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(model->focus(), FocusTarget::list);

    // Typing moves the keyboard back to the field.
    model->typedLine().setQuery(u"x"_s);
    EXPECT_TRUE(field()->hasFocus());
    EXPECT_EQ(field()->text(), u"x"_s);
}

TEST_F(PanelWidgetTest, TheHeightIsReportedAsItChanges) {
    PanelWidget& shown = open();
    show();
    const double height = shown.contentHeight();
    EXPECT_GT(height, 40);
    EXPECT_EQ(heights, std::vector{height});

    model->undoWindow().setUndoItem(UndoItem{.title = u"Buy milk"_s});
    settle();
    EXPECT_TRUE(shown.undoSlot()->isVisible());
    const double taller = shown.contentHeight();
    EXPECT_GT(taller, height);
    EXPECT_EQ(heights, (std::vector{height, taller}));

    // The content is at the top, at its own width, whatever the window's.
    window->setFrame(QRectF(100, 100, 600, 400));
    settle();
    EXPECT_EQ(shown.contentView()->parentWidget()->geometry(), QRect(80, 0, 440, int(taller)));
}

TEST_F(PanelWidgetTest, TheContentFollowsTheStoredWidth) {
    settings.setPinnedPanelWidth(300);
    PanelWidget& shown = open({.panelWidth = 520, .followsStoredWidth = true});
    show();
    EXPECT_EQ(shown.contentView()->width(), 360);
    settings.setPinnedPanelWidth(640);
    settle();
    EXPECT_EQ(shown.contentView()->width(), 640);
}

TEST_F(PanelWidgetTest, ACaptureShowsItsOwnContentWithAListOfBoundedHeight) {
    PanelWidget& shown = open({.captureText = u"buy milk\ncall Ann"_s});
    show();
    EXPECT_TRUE(shown.captureContent()->isVisible());
    EXPECT_FALSE(shown.ordinaryContent()->isVisible());
    // As high as its two rows, within 56…380.
    const double measured = model->capture().captureContentHeight();
    EXPECT_GT(measured, 56);
    EXPECT_LT(measured, 380);
    EXPECT_EQ(shown.captureList()->height(), int(measured));
    key(Qt::Key_Escape);
    EXPECT_EQ(take(), QStringList{u"close"_s});

    model->capture().setCaptureDone(true);
    settle();
    EXPECT_FALSE(shown.captureContent()->isVisible());
    EXPECT_TRUE(shown.ordinaryContent()->isVisible());
}

TEST_F(PanelWidgetTest, TheUndoBarFadesUnlessMotionIsReduced) {
    reduceMotion = false;
    PanelWidget& shown = open();
    show();
    model->undoWindow().setUndoItem(UndoItem{.title = u"Buy milk"_s});
    settle();
    EXPECT_TRUE(shown.undoSlot()->isVisible());
    EXPECT_TRUE(shown.undoSlot()->graphicsEffect());
    EXPECT_TRUE(runMainLoopUntil([&] { return !shown.undoSlot()->graphicsEffect(); }));
    model->undoWindow().setUndoItem(std::nullopt);
    settle();
    EXPECT_TRUE(shown.undoSlot()->isVisible());
    EXPECT_TRUE(runMainLoopUntil([&] { return !shown.undoSlot()->isVisible(); }));
}

TEST_F(PanelWidgetTest, TheListNamesTakeThePlaceOfTheListAndTheUndoBarWhileATagIsTyped) {
    storeWith({}, {list("L1", "Groceries"), list("L2", "Work")});
    PanelWidget& shown = open();
    show();
    model->undoWindow().setUndoItem(UndoItem{.title = u"Buy milk"_s});
    QTest::keyClicks(field(), u"eggs #"_s);
    settle();
    tavlin::rows::ListSuggestions* names = shown.listSuggestions();
    ASSERT_TRUE(names && names->isVisible());
    EXPECT_EQ(names->names(), (QStringList{u"Groceries"_s, u"Work"_s}));
    EXPECT_FALSE(shown.listArea()->isVisible());
    EXPECT_FALSE(shown.undoSlot()->isVisible());
    key(Qt::Key_Down);
    EXPECT_EQ(names->selectedIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), field());

    // A click picks a name; the line takes its tag and the names go.
    QTest::mouseClick(names->rowsView(), Qt::LeftButton, {}, names->rowRect(0).center());
    settle();
    EXPECT_EQ(field()->text(), u"eggs #groceries "_s);
    EXPECT_EQ(shown.listSuggestions(), nullptr);
    EXPECT_TRUE(shown.listArea()->isVisible());
    EXPECT_TRUE(shown.undoSlot()->isVisible());

    // Tab and Return take the highlighted one; then Return adds the line.
    QTest::keyClicks(field(), u"#w"_s);
    settle();
    key(Qt::Key_Tab);
    EXPECT_EQ(field()->text(), u"eggs #groceries #work "_s);
    field()->clear();
    QTest::keyClicks(field(), u"milk #g"_s);
    settle();
    key(Qt::Key_Return);
    EXPECT_EQ(field()->text(), u"milk #groceries "_s);
    key(Qt::Key_Return);
    EXPECT_EQ(field()->text(), u""_s);
    ASSERT_EQ(store->reminders().size(), 1u);
    EXPECT_EQ(store->reminders().back().title, u"milk"_s);
    EXPECT_EQ(store->reminders().back().listIdentifier, u"L1"_s);
}

TEST_F(PanelWidgetTest, TheFooterShowsAFailureBeforeTheDoneTodayCountAndCutsIt) {
    const auto done = [this](int count) {
        std::vector<Reminder> reminders;
        for (int i = 0; i < count; ++i) {
            Reminder finished = reminder(qPrintable(u"done%1"_s.arg(i)));
            finished.completed = true;
            finished.completionDate = wallNow();
            reminders.push_back(finished);
        }
        return reminders;
    };
    storeWith(done(2));
    PanelWidget& shown = open();
    show();
    const widgets::PanelFooter& footer = *shown.footer();
    EXPECT_FALSE(footer.errorLabel()->isVisible());
    EXPECT_TRUE(footer.doneCountLabel()->isVisible());
    EXPECT_EQ(footer.doneCountLabel()->text(), u"✓ 2 done today"_s);
    EXPECT_EQ(footer.encouragementLabel()->text(), u"· great job!"_s);

    const QString description = u"Couldn’t write “%1”: No space left on device."_s.arg(QString(200, u'x'));
    backend.setSaveFailure(StoreError{.code = StoreError::writeFailed, .description = description});
    tavlin::platform::detach(store->add({.title = u"Buy milk"_s}));
    settle();
    ASSERT_TRUE(store->lastError());
    EXPECT_TRUE(footer.errorLabel()->isVisible());
    EXPECT_FALSE(footer.doneCountLabel()->isVisible());
    const QString message = u"Couldn’t talk to the reminders store — "_s + description;
    EXPECT_EQ(footer.errorLabel()->fullText(), message);
    EXPECT_EQ(footer.errorLabel()->toolTip(), description + u"\ncom.quorvandell.tavlin.reminders 5"_s);
    const QString cut = footer.errorLabel()->text();
    EXPECT_TRUE(cut.endsWith(u'…')) << cut.toStdString();
    EXPECT_TRUE(message.startsWith(cut.chopped(1)));
    EXPECT_LE(footer.errorLabel()->fontMetrics().horizontalAdvance(cut), footer.errorLabel()->width());
    // The gear stays at the right edge, and a wider panel shows more.
    EXPECT_EQ(footer.gearButton()->geometry().right(), footer.width() - 1 - 12);
    PanelWidget& wide = open({.panelWidth = 800});
    show();
    EXPECT_GT(wide.footer()->errorLabel()->text().size(), cut.size());
}

TEST_F(PanelWidgetTest, TheGearMenuIsBuiltAsItOpens) {
    std::optional<QString> pending;
    PanelWidget& shown =
        open({.onCheckForUpdates = [this] { heard << u"update"_s; }, .pendingUpdateVersion = [&] { return pending; }});
    show();
    QMenu& menu = *shown.footer()->gearMenu();
    const auto titles = [&] {
        emit menu.aboutToShow();
        QStringList all;
        for (const QAction* action : menu.actions()) {
            all << (action->isSeparator() ? u"—"_s : action->text());
            EXPECT_TRUE(action->shortcut().isEmpty());
        }
        return all;
    };
    EXPECT_EQ(titles(), (QStringList{u"Settings…"_s, u"Check for Updates…"_s, u"—"_s, u"Visit Tavlin Website"_s, u"—"_s,
                                     u"Quit Tavlin"_s}));
    pending = u"2.4"_s;
    EXPECT_EQ(titles().at(1), u"Update to 2.4…"_s);
    menu.actions().at(1)->trigger();
    menu.actions().at(5)->trigger();
    EXPECT_EQ(take(), (QStringList{u"update"_s, u"quit"_s}));
    EXPECT_EQ(shown.footer()->gearButton()->popupMode(), QToolButton::InstantPopup);
}

TEST_F(PanelWidgetTest, TheRefusalsButtonOpensTheRemindersFolder) {
    backend.setAuthorizationStatus(AuthorizationStatus::denied);
    makeStore();
    qputenv("TAVLIN_REMINDERS_DIR", "/srv/reminders");
    PanelWidget& shown = open();
    qunsetenv("TAVLIN_REMINDERS_DIR");
    EXPECT_EQ(shown.deniedView()->text()->text(),
              u"Tavlin can’t read your reminders. Make sure you may read and write /srv/reminders, then relaunch."_s);
    qputenv("TAVLIN_REMINDERS_DIR", "/srv/reminders");
    shown.deniedView()->button()->click();
    qunsetenv("TAVLIN_REMINDERS_DIR");
    EXPECT_EQ(take(), QStringList{u"open file:///srv/reminders"_s});
}

TEST_F(PanelWidgetTest, AClosedPanelsViewReadsNothingMore) {
    open({.followsStoredWidth = true});
    show();
    // A render is due when the panel closes, and the store goes first.
    settings.setPinnedPanelWidth(600);
    model->closing();
    store.reset();
    settle();
    EXPECT_EQ(view()->contentHeight(), 0);
    EXPECT_FALSE(view()->handleExitCommand());
}

TEST_F(PanelWidgetTest, ACaptureShowsItsCandidatesOnceFoundAndAddsThemWithReturn) {
    ScriptedLanguageModel languageModel;
    tavlin::platform::ScopedLanguageModel useModel(languageModel);
    languageModel.holdAnswers = true;
    auto fake = std::make_shared<FakeCommitStore>();
    commits = fake;

    // One line: the model is asked to split it, and the panel waits.
    PanelWidget& shown = open({.captureText = u"milk"_s});
    show();
    const widgets::CaptureViews& capture = *shown.captureViews();
    EXPECT_EQ(capture.title()->text(), u"New reminders from selection"_s);
    EXPECT_TRUE(capture.findingRow()->isVisible());
    EXPECT_FALSE(capture.count()->isVisible());
    EXPECT_FALSE(capture.emptyText()->isVisible());
    EXPECT_EQ(capture.addButton()->text(), u"Add 0"_s);
    EXPECT_FALSE(capture.addButton()->isEnabled());
    EXPECT_EQ(capture.hint()->text(), u"Edit as needed · ⊕ adds one · Esc cancels"_s);
    languageModel.answers.push_back(ScriptedLanguageModel::Failure{});
    languageModel.release();
    settle();
    EXPECT_FALSE(capture.findingRow()->isVisible());
    ASSERT_EQ(capture.rows().size(), 1u);

    // Three lines: a row each, the first with the keyboard.
    open({.captureText = u"milk\neggs\ncall the dentist"_s});
    show();
    const widgets::CaptureViews& three = *view()->captureViews();
    EXPECT_EQ(three.count()->text(), u"3"_s);
    EXPECT_FALSE(three.leftOut()->isVisible());
    EXPECT_EQ(three.addButton()->text(), u"Add 3"_s);
    EXPECT_TRUE(three.addButton()->isEnabled());
    const std::vector<tavlin::rows::CaptureCandidateRow*> rows = three.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2]->field()->text(), u"call the dentist"_s);
    EXPECT_EQ(rows[0]->field()->placeholderText(), u"Reminder"_s);
    EXPECT_EQ(rows[0]->addButton()->toolTip(), u"Add just this one"_s);
    EXPECT_EQ(rows[0]->removeButton()->toolTip(), u""_s);
    EXPECT_EQ(rows[0]->removeButton()->accessibleName(), u"Remove this candidate"_s);
    EXPECT_EQ(QApplication::focusWidget(), rows[0]->field());
    EXPECT_GT(model->capture().captureContentHeight(), 3 * rows[0]->sizeHint().height());

    // Typing in a row edits its candidate; the row and its keyboard stay.
    rows[1]->field()->setFocus();
    QTest::keyClicks(rows[1]->field(), u" tomorrow"_s);
    settle();
    EXPECT_EQ(three.rows(), rows);
    EXPECT_EQ(QApplication::focusWidget(), rows[1]->field());
    EXPECT_EQ(model->capture().captureCandidates()->at(1).text, u"eggs tomorrow"_s);
    EXPECT_EQ(model->capture().captureCandidates()->at(1).parsed.title, u"eggs"_s);

    // Return in a row adds them all, in order; the field comes back.
    key(Qt::Key_Return);
    EXPECT_EQ(fake->calls, (QStringList{u"add milk"_s, u"add eggs"_s, u"add call the dentist"_s}));
    EXPECT_FALSE(view()->captureContent()->isVisible());
    EXPECT_TRUE(view()->ordinaryContent()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), field());
    EXPECT_EQ(model->focus(), FocusTarget::field);
}

// A text of more tasks than become candidates says how many were left out.
TEST_F(PanelWidgetTest, ACaptureSaysHowManyTasksWereLeftOut) {
    QStringList lines;
    for (int i = 1; i <= 45; ++i) lines << u"task %1"_s.arg(i);
    open({.captureText = lines.join(u'\n')});
    show();
    const widgets::CaptureViews& capture = *view()->captureViews();
    EXPECT_EQ(capture.count()->text(), u"10"_s);
    EXPECT_TRUE(capture.leftOut()->isVisible());
    EXPECT_EQ(capture.leftOut()->text(), u"· 35 more left out"_s);
    EXPECT_EQ(capture.addButton()->text(), u"Add 10"_s);
}

TEST_F(PanelWidgetTest, ACandidatesButtonsAddItAloneOrDropItAndAddIsTheDefault) {
    auto fake = std::make_shared<FakeCommitStore>();
    commits = fake;
    open({.captureText = u"milk\neggs\nbread"_s});
    show();
    const widgets::CaptureViews& capture = *view()->captureViews();
    QTest::mouseClick(capture.rows()[1]->addButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(fake->calls, QStringList{u"add eggs"_s});
    QTest::mouseClick(capture.rows()[0]->removeButton(), Qt::LeftButton);
    settle();
    ASSERT_EQ(capture.rows().size(), 1u);
    EXPECT_EQ(capture.rows()[0]->field()->text(), u"bread"_s);
    EXPECT_EQ(capture.addButton()->text(), u"Add 1"_s);
    EXPECT_EQ(fake->calls, QStringList{u"add eggs"_s});

    // Return where no field has the keyboard (a list key of the window)
    // presses Add.
    QApplication::focusWidget()->clearFocus();
    emit PanelNotifications::instance().tavlinListKey(PanelListKey::return_);
    settle();
    EXPECT_EQ(fake->calls, (QStringList{u"add eggs"_s, u"add bread"_s}));
    EXPECT_TRUE(model->capture().captureDone());

    // Dropping the last leaves the empty list, with nothing to add.
    open({.captureText = u"milk"_s});
    show();
    QTest::mouseClick(view()->captureViews()->rows()[0]->removeButton(), Qt::LeftButton);
    settle();
    EXPECT_TRUE(view()->captureViews()->emptyText()->isVisible());
    EXPECT_FALSE(view()->captureViews()->addButton()->isEnabled());
    EXPECT_TRUE(view()->captureContent()->isVisible());
    key(Qt::Key_Escape);
    EXPECT_EQ(take(), QStringList{u"close"_s});
}

TEST_F(PanelWidgetTest, ACandidatesChipsFollowEachReadingOfItsLine) {
    ScriptedLanguageModel languageModel;
    tavlin::platform::ScopedLanguageModel useModel(languageModel);
    languageModel.answers.push_back(
        tavlin::parsing::SmartParsedReminder{.listText = u"home"_s, .list = u"Home"_s}.toGeneratedContent());
    languageModel.holdAnswers = true;
    storeWith({}, {list("L1", "Home")});
    open({.captureText = u"milk home\ncall Ann tomorrow"_s});
    show();
    const std::vector<rows::CaptureCandidateRow*> shown = view()->captureViews()->rows();
    ASSERT_EQ(shown.size(), 2u);
    const auto chipTexts = [](const rows::CaptureCandidateRow* row) {
        QStringList texts;
        for (const rows::ParseChip& chip : row->chips()->chips()) texts << chip.text;
        return texts;
    };
    // The rules' readings: a bare title has no chips, and no room for them.
    EXPECT_EQ(chipTexts(shown[0]), QStringList());
    EXPECT_FALSE(shown[0]->chips()->isVisible());
    EXPECT_EQ(chipTexts(shown[1]), QStringList{u"Tomorrow"_s});
    EXPECT_TRUE(shown[1]->chips()->isVisible());
    const int bareHeight = shown[0]->sizeHint().height();

    // The model's reading files the first in a list.
    languageModel.release();
    settle();
    EXPECT_EQ(chipTexts(shown[0]), QStringList{u"Home"_s});
    EXPECT_TRUE(shown[0]->chips()->isVisible());
    EXPECT_GT(shown[0]->sizeHint().height(), bareHeight);

    // An edit is read again as it is typed, down to no chips at all.
    shown[1]->field()->setFocus();
    QTest::keyClicks(shown[1]->field(), u" !!"_s);
    settle();
    EXPECT_EQ(chipTexts(shown[1]), (QStringList{u"Tomorrow"_s, u"!!"_s}));
    shown[1]->field()->selectAll();
    QTest::keyClicks(shown[1]->field(), u"call Ann"_s);
    settle();
    EXPECT_EQ(chipTexts(shown[1]), QStringList());
    EXPECT_FALSE(shown[1]->chips()->isVisible());
    languageModel.release();
    settle();
    EXPECT_EQ(chipTexts(shown[1]), QStringList()) << "the model's reading of the old line is dropped";
}

TEST_F(PanelWidgetTest, TheCreateAreaStandsInTheListsPlaceAndAClickOnItsRowCommits) {
    auto fake = std::make_shared<FakeCommitStore>();
    commits = fake;
    PanelWidget& shown = open();
    show();
    tavlin::panel::widgets::CreateAreaView& area = *shown.createArea();
    EXPECT_TRUE(area.isVisible());
    EXPECT_EQ(area.placeholder()->text(), u"Nothing to do"_s);
    EXPECT_TRUE(area.placeholder()->isVisible());
    EXPECT_FALSE(area.createRow()->isVisible());
    EXPECT_EQ(model->list().listContentHeight(), area.contentHeight());
    EXPECT_EQ(area.height(), area.contentHeight());
    const double empty = model->list().listContentHeight();

    QTest::keyClicks(field(), u"call mom tomorrow 17:00 !!"_s);
    // The new height climbs the views' layouts a turn each.
    settle();
    settle();
    EXPECT_FALSE(area.placeholder()->isVisible());
    ASSERT_TRUE(area.createRow()->isVisible());
    EXPECT_TRUE(area.legend()->isVisible());
    EXPECT_EQ(area.createRow()->titleLabel()->fullText(), u"call mom"_s);
    EXPECT_EQ(area.createRow()->chipsView()->chips().size(), 2u);
    EXPECT_GT(model->list().listContentHeight(), empty);
    EXPECT_EQ(model->list().listContentHeight(), area.contentHeight());
    // The panel grows with it.
    EXPECT_EQ(area.height(), area.contentHeight());
    EXPECT_EQ(window->contentHeight(), shown.contentHeight());
    EXPECT_EQ(heights.back(), shown.contentHeight());

    // Down selects the row; a click between its title and its hint adds it.
    key(Qt::Key_Down);
    EXPECT_TRUE(area.createRow()->isSelected());
    rows::CreateRow& row = *area.createRow();
    QTest::mouseClick(&row, Qt::LeftButton, Qt::NoModifier,
                      QPoint(row.hintLabel()->geometry().left() - 20, row.height() / 2));
    settle();
    EXPECT_EQ(fake->calls, QStringList{u"add call mom"_s});
    EXPECT_EQ(field()->text(), u""_s);

    QTest::keyClicks(field(), u"milk; bread"_s);
    settle();
    EXPECT_FALSE(area.createRow()->isVisible());
    ASSERT_TRUE(area.createStack()->isVisible());
    EXPECT_EQ(area.createStack()->partCount(), 2);
}

TEST_F(PanelWidgetTest, TheCreateAreaTakesTheListsRoomWithinItsCapAndScrollsBeyondIt) {
    std::vector<ListMetrics> metrics;
    settings.setPinnedPanelListHeight(50.0);  // held at 100
    PanelWidget& shown = open({.onListMetricsChange = [&](ListMetrics m) { metrics.push_back(m); }});
    show();
    tavlin::panel::widgets::CreateAreaView& area = *shown.createArea();
    QTest::keyClicks(field(), u"milk; bread; eggs; butter; jam"_s);
    settle();
    settle();
    ASSERT_TRUE(area.createStack()->isVisible());
    EXPECT_GT(area.contentHeight(), 100);
    EXPECT_EQ(area.height(), 100);
    EXPECT_TRUE(area.verticalScrollBar()->isVisible());
    // The controller hears the room it takes and what it holds.
    ASSERT_FALSE(metrics.empty());
    EXPECT_EQ(metrics.back(), (ListMetrics{.content = double(area.contentHeight()), .frame = 100}));
}

// Acting on reminders through the panel's widgets.

class PanelActionsTest : public PanelWidgetTest {
protected:
    // "call the bank" and "pay rent" in Home; a list Work.
    PanelWidget& openWithReminders() {
        storeWith({reminder("call the bank"), reminder("pay rent")}, {list("L1", "Home"), list("L2", "Work")});
        PanelWidget& shown = open();
        // The list's keys, as the controller lets them through with full access.
        tavlin::panel::PanelWindow::Callbacks callbacks;
        callbacks.onCancel = [this] { heard << u"cancel"_s; };
        callbacks.wantsListKeys = [] { return true; };
        window->setCallbacks(std::move(callbacks));
        show();
        return shown;
    }
    widgets::ReminderList* reminders() const { return view()->reminderList(); }
    QLineEdit* editField() const { return reminders()->editRow() ? reminders()->editRow()->lineEdit() : nullptr; }
    void type(const QString& text) {
        for (const QChar c : text) QTest::keyClick(window->windowHandle(), c.toLatin1());
        settle();
    }
    // Closes the menu that shows, after choosing the line `title` of it.
    void choose(const QString& title) {
        QTimer::singleShot(20, [title] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(menu) << "no menu shows";
            for (QAction* item : menu->actions())
                if (item->text() == title) item->trigger();
            menu->close();
        });
    }
};

TEST_F(PanelActionsTest, TheUndoBarTellsWhatWasDoneAndTakesItBack) {
    PanelWidget& shown = openWithReminders();
    widgets::UndoBar* bar = shown.undoBar();
    model->rowActions().completeReminders({store->reminders().at(0)});
    settle();
    EXPECT_TRUE(shown.undoSlot()->isVisible());
    EXPECT_EQ(bar->message()->fullText(), u"Completed \u201Ccall the bank\u201D"_s);
    EXPECT_TRUE(bar->count()->isVisible());
    EXPECT_EQ(bar->count()->text(), u"\u2713 1 today"_s);
    EXPECT_EQ(bar->message()->text(), bar->message()->fullText()) << "room enough: not cut";

    model->rowActions().deleteReminders(store->reminders());
    settle();
    EXPECT_EQ(bar->message()->fullText(), u"Deleted \u201Cpay rent\u201D"_s);
    EXPECT_FALSE(bar->count()->isVisible());
    QTest::mouseClick(bar->undoButton(), Qt::LeftButton);
    settle();
    EXPECT_FALSE(shown.undoSlot()->isVisible()) << "an undo takes the bar away at once with reduce motion";
    EXPECT_EQ(store->reminders().size(), 1u);

    // Its time up, the bar fades even with reduce motion.
    model->rowActions().deleteReminders(store->reminders());
    settle();
    advance(5s);
    settle();
    EXPECT_TRUE(shown.undoSlot()->graphicsEffect());
    EXPECT_TRUE(runMainLoopUntil([&] { return !shown.undoSlot()->isVisible(); }));
    EXPECT_TRUE(store->reminders().empty());
}

TEST_F(PanelActionsTest, ReturnOnARowEditsItInItsOwnFieldAndReturnSaves) {
    openWithReminders();
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    ASSERT_TRUE(editField());
    EXPECT_TRUE(editField()->hasFocus()) << "the edit's field takes the keyboard at the next turn";
    EXPECT_EQ(model->focus(), std::nullopt) << "neither the field nor the list";
    EXPECT_TRUE(model->inlineEdit().editFieldFocused());
    EXPECT_EQ(editField()->text(), u"call the bank #home"_s);
    EXPECT_EQ(editField()->placeholderText(), u"Reminder"_s);
    EXPECT_GT(editField()->width(), reminders()->viewport()->width() / 2) << "the field spans the row";
    EXPECT_EQ(reminders()->editRow()->hint()->text(), u"Return saves \u00B7 Esc cancels"_s);

    key(Qt::Key_A, Qt::ControlModifier);
    type(u"call the bank #wo"_s);
    ASSERT_TRUE(reminders()->editRow()->suggestions());
    EXPECT_EQ(reminders()->editRow()->suggestions()->names(), QStringList{u"Work"_s});
    EXPECT_EQ(reminders()->editRow()->hint()->text(),
              u"Return/Tab selects \u00B7 \u2191\u2193 moves \u00B7 Esc keeps typing"_s);
    key(Qt::Key_Tab);
    EXPECT_EQ(editField()->text(), u"call the bank #work "_s) << "the owner took Tab";
    EXPECT_TRUE(editField()->hasFocus());
    EXPECT_FALSE(reminders()->editRow()->suggestions());

    key(Qt::Key_Return);
    EXPECT_EQ(reminders()->editRow(), nullptr);
    EXPECT_TRUE(reminders()->hasFocus());
    clock.runDueActions();
    EXPECT_EQ(store->reminders().at(0).listIdentifier, u"L2"_s);
}

TEST_F(PanelActionsTest, TheRowsMenuOpensFromTheKeyboardAndActsOnTheRow) {
    openWithReminders();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    choose(u"Delete Reminder"_s);
    QTest::keyClick(reminders(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(reminders()->delegate()->menuRow()) << "the row looks chosen while its menu is asked for";
    EXPECT_TRUE(runMainLoopUntil([&] { return store->reminders().size() == 1; }));
    settle();
    EXPECT_EQ(reminders()->delegate()->menuRow(), std::nullopt);
    EXPECT_EQ(model->undoWindow().undoItem()->kind, UndoItem::Kind::deleted);

    // Meta+click, then Edit: an edit open on another reminder is saved first.
    store->cancelDeletion();
    model->rowSelection().setSelection(ListSelection::none());
    const auto find = [&](const QString& id) {
        for (const Reminder& reminder : store->reminders())
            if (reminder.identifier == id) return reminder;
        return Reminder{};
    };
    model->listActions().startEdit(find(u"call the bank"_s));
    model->inlineEdit().setEditingText(u"call the bank today"_s);
    settle();
    const QRect rent = reminders()->visualRect(reminders()->indexOfRow(u"pay rent"_s));
    choose(u"Edit"_s);
    QTest::mouseClick(reminders()->viewport(), Qt::LeftButton, Qt::MetaModifier, rent.center());
    EXPECT_TRUE(runMainLoopUntil([&] { return model->inlineEdit().editingID() == u"pay rent"_s; }));
    clock.runDueActions();
    EXPECT_EQ(find(u"call the bank"_s).dueDateComponents, day(2026, 3, 4));
}
