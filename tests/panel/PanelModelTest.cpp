#include "panel/ExitCommand.h"
#include "panel/FooterContent.h"
#include "panel/PanelNotifications.h"
#include "panel/PanelTexts.h"

#include "PanelLog.h"
#include "PanelModelFixture.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::platform::AuthorizationStatus;
using tavlin::platform::StoreError;
using tavlin::store::ReminderStore;

namespace {

class PanelModelTest : public PanelModelFixture {
protected:
    // Runs what waits for the next turn of the main loop.
    static void nextTurn() { QCoreApplication::processEvents(); }
};

}  // namespace

TEST_F(PanelModelTest, AnOpeningStartsWithTheInitialState) {
    PanelModel& panel = makeModel();
    EXPECT_EQ(panel.typedLine().query(), u""_s);
    EXPECT_EQ(panel.rowSelection().selectedIndex(), std::nullopt);
    EXPECT_TRUE(panel.rowSelection().selectedIndexes().empty());
    EXPECT_EQ(panel.rowSelection().selectionAnchor(), std::nullopt);
    EXPECT_TRUE(panel.list().completingIDs().isEmpty());
    EXPECT_EQ(panel.undoWindow().undoItem(), std::nullopt);
    EXPECT_FALSE(panel.undoWindow().undoDismissTask().isValid());
    EXPECT_EQ(panel.list().listContentHeight(), 0);
    EXPECT_EQ(panel.typedLine().listSuggestionIndex(), 0);
    EXPECT_EQ(panel.typedLine().listPickerDismissedQuery(), std::nullopt);
    EXPECT_EQ(panel.typedLine().smartParsed(), std::nullopt);
    EXPECT_EQ(panel.typedLine().smartParsedQuery(), u""_s);
    EXPECT_FALSE(panel.typedLine().smartParseTask().isValid());
    EXPECT_FALSE(panel.typedLine().smartParseInFlight());
    EXPECT_TRUE(panel.typedLine().smartPartResults().empty());
    EXPECT_TRUE(panel.typedLine().smartPartsInFlight().isEmpty());
    EXPECT_TRUE(panel.placePreviews().locationPreviews().empty());
    EXPECT_FALSE(panel.placePreviews().locationPreviewTask().isValid());
    EXPECT_TRUE(panel.placePreviews().locationRadiusOverrides().empty());
    EXPECT_EQ(panel.capture().captureCandidates(), std::nullopt);
    EXPECT_FALSE(panel.capture().captureDone());
    EXPECT_EQ(panel.capture().captureContentHeight(), 0);
    EXPECT_EQ(panel.capture().captureFocusID(), std::nullopt);
    EXPECT_EQ(panel.inlineEdit().editingID(), std::nullopt);
    EXPECT_EQ(panel.inlineEdit().editingText(), u""_s);
    EXPECT_EQ(panel.inlineEdit().editingOriginalText(), u""_s);
    EXPECT_EQ(panel.inlineEdit().editingPreviousDateText(), std::nullopt);
    EXPECT_EQ(panel.inlineEdit().editListSuggestionIndex(), 0);
    EXPECT_EQ(panel.inlineEdit().editListPickerDismissedText(), std::nullopt);
    EXPECT_FALSE(panel.inlineEdit().editFieldFocused());
    // The field takes the keyboard at the next turn.
    EXPECT_EQ(panel.focus(), std::nullopt);
    nextTurn();
    EXPECT_EQ(panel.focus(), FocusTarget::field);
}

TEST(ExitCommand, TheFirstRuleThatAppliesIsTaken) {
    struct Case {
        const char* name;
        ExitSituation situation;
        ExitAction action;
    };
    const Case cases[] = {
        {"edit with list names",
         {.editOpen = true,
          .editSuggestionsShown = true,
          .captureShowing = true,
          .listSuggestionsShown = true,
          .queryEmpty = false},
         ExitAction::hideEditSuggestions},
        {"edit", {.editOpen = true, .captureShowing = true, .queryEmpty = false}, ExitAction::abandonEdit},
        {"capture", {.captureShowing = true, .listSuggestionsShown = true, .queryEmpty = false}, ExitAction::close},
        {"field's list names", {.listSuggestionsShown = true, .queryEmpty = false}, ExitAction::hideListSuggestions},
        {"text", {.queryEmpty = false}, ExitAction::clearQuery},
        {"nothing", {}, ExitAction::close},
    };
    for (const Case& c : cases) EXPECT_EQ(exitAction(c.situation), c.action) << c.name;
}

TEST_F(PanelModelTest, EscapeClearsTheFieldAndTheSelectionThenCloses) {
    PanelModel& panel = makeModel();
    nextTurn();
    // Blanks count as text: they are cleared, not a reason to close.
    for (const QString& typed : {u"buy milk"_s, u"  "_s}) {
        panel.typedLine().setQuery(typed);
        panel.rowSelection().setSelectedIndex(2);
        panel.rowSelection().setSelectedIndexes({1, 2});
        panel.rowSelection().setSelectionAnchor(1);
        panel.setFocus(FocusTarget::list);
        panel.handleExitCommand();
        EXPECT_EQ(panel.typedLine().query(), u""_s);
        EXPECT_EQ(panel.rowSelection().selectedIndex(), std::nullopt);
        EXPECT_TRUE(panel.rowSelection().selectedIndexes().empty());
        EXPECT_EQ(panel.rowSelection().selectionAnchor(), std::nullopt);
        EXPECT_EQ(panel.focus(), FocusTarget::field);
        EXPECT_TRUE(take().isEmpty()) << typed.toStdString();
    }
    panel.handleExitCommand();
    EXPECT_EQ(take(), QStringList{u"close"_s});
}

TEST_F(PanelModelTest, EscapeAbandonsAnOpenEditAndClosesACaptureAtOnce) {
    PanelModel& edited = makeModel();
    edited.typedLine().setQuery(u"milk"_s);
    edited.inlineEdit().setEditingID(u"R1"_s);
    edited.inlineEdit().setEditingText(u"milk tomorrow"_s);
    edited.handleExitCommand();
    EXPECT_EQ(edited.inlineEdit().editingID(), std::nullopt);
    EXPECT_EQ(edited.focus(), FocusTarget::list);
    EXPECT_EQ(edited.typedLine().query(), u"milk"_s);
    edited.handleExitCommand();
    EXPECT_EQ(edited.typedLine().query(), u""_s);
    EXPECT_TRUE(take().isEmpty());

    PanelModel& capture = makeModel({.captureText = u"buy milk\ncall Ann"_s});
    capture.typedLine().setQuery(u"milk"_s);
    capture.handleExitCommand();
    EXPECT_EQ(take(), QStringList{u"close"_s});
    // Once the capture is done, Escape is the ordinary one.
    capture.capture().setCaptureDone(true);
    capture.handleExitCommand();
    EXPECT_EQ(capture.typedLine().query(), u""_s);
    EXPECT_TRUE(take().isEmpty());
}

TEST_F(PanelModelTest, EscapeOnAPermissionViewCloses) {
    backend.setAuthorizationStatus(AuthorizationStatus::notDetermined);
    PanelModel& panel = makeModel();
    EXPECT_EQ(panel.route(), PanelModel::Route::prompt);
    panel.handleExitCommand();
    EXPECT_EQ(take(), QStringList{u"close"_s});
}

TEST_F(PanelModelTest, TheRouteFollowsTheAuthorization) {
    const std::pair<AuthorizationStatus, PanelModel::Route> cases[] = {
        {AuthorizationStatus::notDetermined, PanelModel::Route::prompt},
        {AuthorizationStatus::fullAccess, PanelModel::Route::content},
        {AuthorizationStatus::restricted, PanelModel::Route::denied},
        {AuthorizationStatus::denied, PanelModel::Route::denied},
        {AuthorizationStatus::writeOnly, PanelModel::Route::denied},
    };
    for (const auto& [status, route] : cases) {
        backend.setAuthorizationStatus(status);
        makeStore();
        EXPECT_EQ(makeModel().route(), route) << int(status);
    }
}

TEST_F(PanelModelTest, TheContentListensOnlyWhileItIsShown) {
    backend.setAuthorizationStatus(AuthorizationStatus::notDetermined);
    PanelModel& panel = makeModel();
    emit PanelNotifications::instance().tavlinPanelDidBecomeKey();
    nextTurn();
    EXPECT_EQ(panel.focus(), std::nullopt);
    EXPECT_FALSE(panel.commandReturn(Qt::ControlModifier));

    // Access granted: the content appears and the field takes the keyboard.
    backend.setAccessRequestOutcome(AuthorizationStatus::fullAccess);
    tavlin::platform::detach(store->requestAccess());
    clock.runDueActions();
    ASSERT_EQ(panel.route(), PanelModel::Route::content);
    nextTurn();
    EXPECT_EQ(panel.focus(), FocusTarget::field);
    EXPECT_TRUE(panel.commandReturn(Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_FALSE(panel.commandReturn(Qt::NoModifier));

    // Closed, it hears nothing more.
    panel.closing();
    panel.setFocus(std::nullopt);
    emit PanelNotifications::instance().tavlinPanelDidBecomeKey();
    nextTurn();
    EXPECT_EQ(panel.focus(), std::nullopt);
    EXPECT_FALSE(panel.commandReturn(Qt::ControlModifier));
}

TEST_F(PanelModelTest, TheFieldComesBackOnlyWhenNothingElseHoldsTheKeyboard) {
    struct Case {
        const char* name;
        std::function<void(PanelModel&)> before;   // at the refocus
        std::function<void(PanelModel&)> between;  // before its next turn
        std::optional<FocusTarget> focus;
    };
    const auto nothing = [](PanelModel&) {};
    const Case cases[] = {
        {"nothing holds it", nothing, nothing, FocusTarget::field},
        {"an edit", [](PanelModel& p) { p.inlineEdit().setEditingID(u"R1"_s); }, nothing, std::nullopt},
        {"the list", [](PanelModel& p) { p.setFocus(FocusTarget::list); }, nothing, FocusTarget::list},
        {"an edit opened meanwhile", nothing, [](PanelModel& p) { p.inlineEdit().setEditingID(u"R1"_s); },
         std::nullopt},
        {"the list meanwhile", nothing, [](PanelModel& p) { p.setFocus(FocusTarget::list); }, FocusTarget::list},
    };
    for (const Case& c : cases) {
        PanelModel& panel = makeModel();
        nextTurn();
        panel.setFocus(std::nullopt);
        c.before(panel);
        emit PanelNotifications::instance().tavlinPanelDidBecomeKey();
        c.between(panel);
        nextTurn();
        EXPECT_EQ(panel.focus(), c.focus) << c.name;
    }

    // A capture that is showing keeps the field from the keyboard.
    PanelModel& capture = makeModel({.captureText = u"buy milk"_s});
    nextTurn();
    emit PanelNotifications::instance().tavlinPanelDidBecomeKey();
    nextTurn();
    EXPECT_EQ(capture.focus(), std::nullopt);

    // The deferred step does nothing once the model is gone.
    PanelModel& gone = makeModel();
    gone.refocusField();
    model.reset();
    nextTurn();
}

TEST_F(PanelModelTest, ANewQueryClearsTheSelectionAndBringsTheFieldBack) {
    PanelModel& panel = makeModel();
    panel.rowSelection().setSelectedIndex(3);
    panel.rowSelection().setSelectedIndexes({3});
    panel.rowSelection().setSelectionAnchor(3);
    panel.typedLine().setListSuggestionIndex(2);
    panel.setFocus(FocusTarget::list);
    panel.typedLine().setQuery(u"b"_s);
    EXPECT_EQ(panel.rowSelection().selectedIndex(), std::nullopt);
    EXPECT_TRUE(panel.rowSelection().selectedIndexes().empty());
    EXPECT_EQ(panel.rowSelection().selectionAnchor(), std::nullopt);
    EXPECT_EQ(panel.typedLine().listSuggestionIndex(), 0);
    EXPECT_EQ(panel.focus(), FocusTarget::field);

    panel.inlineEdit().setEditListSuggestionIndex(1);
    panel.inlineEdit().setEditingText(u"milk #wo"_s);
    EXPECT_EQ(panel.inlineEdit().editListSuggestionIndex(), 0);
}

TEST_F(PanelModelTest, TheWidthFollowsTheStoredOneOnlyWhenAsked) {
    struct Case {
        std::optional<double> stored;
        bool follows;
        double width;
    };
    const Case cases[] = {
        {300, true, 360}, {1000, true, 800}, {500, true, 500}, {std::nullopt, true, 520}, {500, false, 520},
    };
    for (const Case& c : cases) {
        settings.setPinnedPanelWidth(c.stored);
        PanelModel& panel = makeModel({.panelWidth = 520, .followsStoredWidth = c.follows});
        EXPECT_EQ(panel.contentWidth(), c.width) << c.stored.value_or(-1) << " " << c.follows;
    }
}

TEST_F(PanelModelTest, TheCaptureListStaysBetween56And380High) {
    PanelModel& panel = makeModel({.captureText = u"milk"_s});
    for (const auto& [measured, height] : {std::pair{20.0, 56.0}, {200.0, 200.0}, {500.0, 380.0}}) {
        panel.capture().setCaptureContentHeight(measured);
        EXPECT_EQ(panel.captureListHeight(), height) << measured;
    }
}

TEST(PanelTexts, TheUndoMessageQuotesOneTitleAndCountsTheRest) {
    using Kind = UndoItem::Kind;
    EXPECT_EQ(undoMessage(1, u"Buy milk"_s, Kind::completed), u"Completed “Buy milk”"_s);
    EXPECT_EQ(undoMessage(3, u"Buy milk"_s, Kind::deleted), u"Deleted 3 reminders"_s);
    EXPECT_EQ(undoMessage(0, u"Buy milk"_s, Kind::deleted), u"Deleted 0 reminders"_s);
    EXPECT_EQ(undoMessage(2, u""_s, Kind::completed), u"Completed 2 reminders"_s);
}

TEST(PanelTexts, TheStoresFailuresReadAsTheyShould) {
    const StoreError underlying{.code = StoreError::writeFailed, .description = u"The disk is full."_s};
    const ReminderStore::Error moved = ReminderStore::ListMoveRefused{u"Work"_s, underlying};
    EXPECT_EQ(editFailureMessage(moved), u"Couldn’t move it to “Work” — the rest of the edit was saved"_s);
    EXPECT_EQ(editFailureDetail(moved),
              u"Couldn’t move it to “Work” — the rest of the edit was saved\n"
              u"Reminders said: The disk is full. (com.quorvandell.tavlin.reminders 5)"_s);

    const ReminderStore::Error refused = underlying;
    EXPECT_EQ(editFailureMessage(refused), u"Couldn’t talk to the reminders store — The disk is full."_s);
    EXPECT_EQ(editFailureDetail(refused), u"The disk is full.\ncom.quorvandell.tavlin.reminders 5"_s);
}

TEST(PanelTexts, TheDoneTodayMessageGrowsWithTheCount) {
    EXPECT_EQ(doneTodayMessage(0), std::nullopt);
    const std::pair<int, const char16_t*> cases[] = {
        {1, u"· nice start"},   {2, u"· great job!"},    {5, u"· great job!"},
        {6, u"· quite a day!"}, {40, u"· quite a day!"},
    };
    for (const auto& [count, encouragement] : cases) {
        const std::optional<DoneTodayMessage> message = doneTodayMessage(count);
        ASSERT_TRUE(message) << count;
        EXPECT_EQ(message->count, u"✓ "_s + QString::number(count) + u" done today"_s);
        EXPECT_EQ(message->encouragement, QString::fromUtf16(encouragement)) << count;
    }
}

TEST(FooterContent, AFailureComesBeforeTheDoneTodayMessage) {
    const StoreError failure{.code = StoreError::writeFailed, .description = u"The disk is full."_s};
    EXPECT_EQ(footerStatus(failure, 3),
              FooterStatus(FooterError{u"Couldn’t talk to the reminders store — The disk is full."_s,
                                       u"The disk is full.\ncom.quorvandell.tavlin.reminders 5"_s}));
    EXPECT_EQ(footerStatus(std::nullopt, 3), FooterStatus(*doneTodayMessage(3)));
    EXPECT_EQ(footerStatus(std::nullopt, 0), FooterStatus());
}

TEST_F(PanelModelTest, TheGearMenu) {
    const auto titles = [](const std::vector<GearMenuItem>& items) {
        QStringList all;
        for (const GearMenuItem& item : items) all << (item.isSeparator() ? u"—"_s : item.title);
        return all;
    };
    PanelModel& plain = makeModel();
    const std::vector<GearMenuItem> items = plain.gearMenu();
    EXPECT_EQ(titles(items),
              (QStringList{u"Settings…"_s, u"—"_s, u"Visit Tavlin Website"_s, u"—"_s, u"Quit Tavlin"_s}));
    for (const GearMenuItem& item : items)
        if (!item.isSeparator()) item.action();
    EXPECT_EQ(take(), (QStringList{u"preferences"_s, u"open https://quorvandell.com/tavlin/"_s, u"quit"_s}));

    std::optional<QString> pending;
    PanelModel& updating = makeModel(
        {.onCheckForUpdates = [this] { heard << u"update"_s; }, .pendingUpdateVersion = [&] { return pending; }});
    EXPECT_EQ(titles(updating.gearMenu()), (QStringList{u"Settings…"_s, u"Check for Updates…"_s, u"—"_s,
                                                        u"Visit Tavlin Website"_s, u"—"_s, u"Quit Tavlin"_s}));
    pending = u"2.4"_s;
    const std::vector<GearMenuItem> later = updating.gearMenu();
    EXPECT_EQ(later[1].title, u"Update to 2.4…"_s);
    later[1].action();
    EXPECT_EQ(take(), QStringList{u"update"_s});
}

TEST_F(PanelModelTest, TheRefusalOpensTheRemindersFolder) {
    qputenv("TAVLIN_REMINDERS_DIR", "/srv/reminders:/srv/more");
    PanelModel& panel = makeModel();
    panel.openRemindersFolder();
    qunsetenv("TAVLIN_REMINDERS_DIR");
    EXPECT_EQ(take(), QStringList{u"open file:///srv/reminders"_s});
}

TEST_F(PanelModelTest, AnEditIsSavedAsThePanelClosesAndTheSaveIsTheStores) {
    storeWith({reminder("R1")});
    PanelLog log;
    PanelModel& panel = makeModel();
    panel.closing();
    EXPECT_EQ(log.lines, QStringList{u"info: panel content leaving, pending edit: false"_s});

    PanelModel& editing = makeModel();
    editing.inlineEdit().setEditingID(u"R1"_s);
    editing.closing();
    EXPECT_EQ(log.lines.last(), u"info: panel content leaving, pending edit: true"_s);

    // The save of a parsed edit goes to the store; its failure is the
    // store's last error.
    const tavlin::platform::Task<> saved =
        ListActions::saveEditTask(*store, {.title = u"oat milk"_s}, store->reminders().at(0));
    clock.runDueActions();
    ASSERT_TRUE(saved.isDone());
    EXPECT_EQ(store->reminders().at(0).title, u"oat milk"_s);
    backend.setSaveFailure(StoreError{.code = StoreError::writeFailed, .description = u"The disk is full."_s});
    const tavlin::platform::Task<> refused =
        ListActions::saveEditTask(*store, {.title = u"rice"_s}, store->reminders().at(0));
    clock.runDueActions();
    ASSERT_TRUE(refused.isDone());
    EXPECT_TRUE(store->lastError().has_value());
}
