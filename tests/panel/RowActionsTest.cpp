// The row actions over a memory store on a manual clock: completion after
// its short delay, deletion with its undo window and the rules that carry a
// pending deletion out, undo, rescheduling, opening a reminder's folder,
// and the inline edit.

#include "panel/FooterContent.h"

#include "PanelModelFixture.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::platform::StoreError;
using tavlin::store::RescheduleTarget;

namespace {

class RowActionsTest : public PanelModelFixture {
protected:
    // Reminders a, b, c and d, undated, in the list "Home"; a second list "Work".
    PanelModel& openOverFour() {
        storeWith({reminder("a"), reminder("b"), reminder("c"), reminder("d")},
                  {list("L1", "Home"), list("L2", "Work")});
        reduceMotion = false;
        return makeModel();
    }

    Reminder shown(const char* id) const {
        for (const Reminder& r : store->reminders())
            if (r.identifier == QString::fromUtf8(id)) return r;
        ADD_FAILURE() << "not shown: " << id;
        return {};
    }
    std::vector<Reminder> shown(std::initializer_list<const char*> ids) const {
        std::vector<Reminder> found;
        for (const char* id : ids) found.push_back(shown(id));
        return found;
    }
    QStringList inTheStore() const { return identifiers(backend.contents().reminders); }
    QStringList visible() const { return identifiers(store->reminders()); }
    bool isDone(const char* id) const {
        for (const Reminder& r : backend.contents().reminders)
            if (r.identifier == QString::fromUtf8(id)) return r.completed;
        return false;
    }
    QStringList undoIDs() const {
        return model->undoWindow().undoItem() ? identifiers(model->undoWindow().undoItem()->reminders) : QStringList();
    }
    std::optional<UndoItem::Kind> undoKind() const {
        return model->undoWindow().undoItem() ? std::optional(model->undoWindow().undoItem()->kind) : std::nullopt;
    }

    const StoreError refusal{.code = StoreError::writeFailed, .description = u"The disk is full."_s};
};

}  // namespace

// Completion.

TEST_F(RowActionsTest, ACompletionWaitsAFifthOfASecondWithItsRowMarkedThenOffersUndo) {
    PanelModel& panel = openOverFour();
    panel.rowActions().completeReminders(shown({"a"}));
    EXPECT_EQ(panel.list().completingIDs(), QSet<QString>{u"a"_s});
    advance(199ms);
    EXPECT_FALSE(isDone("a"));
    advance(1ms);
    EXPECT_TRUE(isDone("a"));
    EXPECT_TRUE(panel.list().completingIDs().isEmpty());
    EXPECT_EQ(undoIDs(), QStringList{u"a"_s});
    EXPECT_EQ(undoKind(), UndoItem::Kind::completed);
    EXPECT_EQ(panel.undoWindow().undoItem()->title, u"a"_s);
    EXPECT_EQ(panel.rowActions().completedTodayCount(), 1);
}

TEST_F(RowActionsTest, AReminderOnItsWayIsNotCompletedTwice) {
    PanelModel& panel = openOverFour();
    panel.rowActions().completeReminders(shown({"a"}));
    advance(100ms);
    panel.rowActions().completeReminders(shown({"a", "b"}));
    EXPECT_EQ(panel.list().completingIDs(), (QSet<QString>{u"a"_s, u"b"_s}));
    advance(100ms);
    EXPECT_EQ(undoIDs(), QStringList{u"a"_s});
    EXPECT_EQ(panel.list().completingIDs(), QSet<QString>{u"b"_s}) << "each completion takes out only its own marks";
    advance(100ms);
    EXPECT_EQ(undoIDs(), QStringList{u"b"_s}) << "a was left out of the second completion";
}

TEST_F(RowActionsTest, WithReduceMotionACompletionIsAtOnceAndOneKeepsTheSelection) {
    PanelModel& panel = openOverFour();
    reduceMotion = true;
    panel.rowSelection().setSelection(ListSelection::only(1));
    panel.rowActions().completeReminders(shown({"b"}));
    EXPECT_TRUE(isDone("b"));
    EXPECT_EQ(undoIDs(), QStringList{u"b"_s});
    EXPECT_EQ(panel.rowSelection().selection(), ListSelection::only(1));

    panel.rowSelection().setSelection({0, {0, 1, 2}, 0});
    panel.rowActions().completeReminders(panel.list().selectedReminders());
    EXPECT_EQ(undoIDs(), (QStringList{u"a"_s, u"c"_s, u"d"_s}));
    EXPECT_EQ(panel.rowSelection().selection(), ListSelection::none()) << "two or more completed clear the selection";
}

TEST_F(RowActionsTest, ACompletionAskedJustBeforeThePanelGoesStillCompletes) {
    PanelModel& panel = openOverFour();
    panel.rowActions().completeReminders(shown({"a"}));
    model.reset();
    advance(200ms);
    EXPECT_TRUE(isDone("a"));
}

TEST_F(RowActionsTest, AReminderDoneTodayIsUntickedAtOnceWithoutUndo) {
    PanelModel& panel = openOverFour();
    store->setCompleted(shown("a"), true);
    panel.rowActions().doneRowToggled(store->completedToday().at(0));
    EXPECT_FALSE(isDone("a"));
    EXPECT_EQ(panel.undoWindow().undoItem(), std::nullopt);
}

// Deletion, the undo window and the rules that carry a deletion out.

TEST_F(RowActionsTest, ADeletionHidesAtOnceAndGoesFromTheStoreWhenTheBarsTimeIsUp) {
    PanelModel& panel = openOverFour();
    panel.rowSelection().setSelection({0, {0, 1}, 0});
    panel.rowActions().deleteReminders(panel.list().selectedReminders());
    EXPECT_EQ(visible(), (QStringList{u"c"_s, u"d"_s}));
    EXPECT_EQ(panel.rowSelection().selection(), ListSelection::none());
    EXPECT_EQ(undoKind(), UndoItem::Kind::deleted);
    advance(4999ms);
    EXPECT_EQ(inTheStore().size(), 4);
    advance(1ms);
    EXPECT_EQ(inTheStore(), (QStringList{u"c"_s, u"d"_s}));
    EXPECT_EQ(panel.undoWindow().undoItem(), std::nullopt);
    EXPECT_TRUE(panel.undoWindow().undoBarTimedOut()) << "the bar fades as it goes";
}

// Each timeline: a first action, a second within the window, then undo.
TEST_F(RowActionsTest, TheNextActionDecidesWhatBecomesOfAPendingDeletion) {
    struct Case {
        const char* name;
        bool firstDeletes, secondDeletes;
        QStringList storeAfterSecond;  // what the store holds once the second is shown
        QStringList visibleAfterUndo;
        bool aDoneAfterUndo, bDoneAfterUndo;
    };
    const QStringList all{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    const Case cases[] = {
        {"delete a, delete b", true, true, {u"b"_s, u"c"_s, u"d"_s}, {u"c"_s, u"d"_s, u"b"_s}, false, false},
        {"delete a, complete b", true, false, {u"b"_s, u"c"_s, u"d"_s}, {u"c"_s, u"d"_s, u"b"_s}, false, false},
        {"complete a, delete b", false, true, all, {u"c"_s, u"d"_s, u"b"_s}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.reset();
        store.reset();
        PanelModel& panel = openOverFour();
        reduceMotion = true;
        if (c.firstDeletes) panel.rowActions().deleteReminders(shown({"a"}));
        else panel.rowActions().completeReminders(shown({"a"}));
        advance(2s);
        if (c.secondDeletes) panel.rowActions().deleteReminders(shown({"b"}));
        else panel.rowActions().completeReminders(shown({"b"}));
        EXPECT_EQ(inTheStore(), c.storeAfterSecond);
        EXPECT_EQ(undoIDs(), QStringList{u"b"_s});
        panel.setFocus(FocusTarget::list);
        panel.performUndo();
        EXPECT_EQ(panel.undoWindow().undoItem(), std::nullopt);
        EXPECT_EQ(panel.focus(), FocusTarget::field) << "typing goes to the field, not to the list's keys";
        EXPECT_EQ(visible(), c.visibleAfterUndo);
        EXPECT_EQ(isDone("a"), c.aDoneAfterUndo);
        EXPECT_EQ(isDone("b"), c.bDoneAfterUndo);
        advance(10s);
        EXPECT_EQ(inTheStore(), c.storeAfterSecond) << "no timer is left to carry anything out";
    }
}

TEST_F(RowActionsTest, UndoStopsTheTimerFirstEvenWithNothingToUndo) {
    PanelModel& panel = openOverFour();
    panel.rowActions().deleteReminders(shown({"a"}));
    panel.undoWindow().setUndoItem(std::nullopt);
    panel.performUndo();
    EXPECT_FALSE(panel.undoWindow().undoDismissTask().isValid());
    advance(6s);
    EXPECT_EQ(store->pendingDeletions().size(), 1u) << "the timer is gone; the close carries it out";
    EXPECT_EQ(inTheStore().size(), 4);
}

TEST_F(RowActionsTest, ANewOfferRestartsTheWindow) {
    PanelModel& panel = openOverFour();
    panel.rowActions().completeReminders(shown({"a"}));
    advance(200ms + 4s);
    panel.rowActions().deleteReminders(shown({"b"}));
    advance(4s);
    EXPECT_EQ(undoIDs(), QStringList{u"b"_s});
    advance(1s);
    EXPECT_EQ(panel.undoWindow().undoItem(), std::nullopt);
    EXPECT_EQ(inTheStore(), (QStringList{u"a"_s, u"c"_s, u"d"_s}));
}

TEST_F(RowActionsTest, ARefusedCompletionIsNotOfferedAndLeavesAPendingDeletionAlone) {
    PanelModel& panel = openOverFour();
    reduceMotion = true;
    panel.rowActions().deleteReminders(shown({"a"}));
    backend.setSaveFailure(refusal);
    panel.rowActions().completeReminders(shown({"b"}));
    EXPECT_TRUE(panel.list().completingIDs().isEmpty());
    EXPECT_EQ(undoIDs(), QStringList{u"a"_s}) << "the deletion's bar stays";
    EXPECT_EQ(inTheStore().size(), 4) << "and its deletion is still pending";
    EXPECT_TRUE(std::holds_alternative<FooterError>(panel.footerStatus()));
    panel.performUndo();
    EXPECT_EQ(visible(), (QStringList{u"b"_s, u"c"_s, u"d"_s, u"a"_s}));

    // Of a batch only what was saved is offered back.
    backend.setSaveFailure(std::nullopt);
    panel.rowActions().completeReminders(shown({"c", "d"}));
    EXPECT_EQ(undoIDs(), (QStringList{u"c"_s, u"d"_s}));
}

// The selection or the row.

TEST_F(RowActionsTest, ARowActsForTheSelectionOnlyWhenItIsPartOfIt) {
    PanelModel& panel = openOverFour();
    reduceMotion = true;
    settings.setManualOrderRanks({});
    panel.rowSelection().setSelection({0, {0, 1}, 0});
    const auto moved = [&] {
        QStringList ids;
        for (const Reminder& r : store->reminders())
            if (r.dueDateComponents) ids << r.identifier;
        return ids;
    };
    panel.rowActions().rescheduleSelectionOrRow(RescheduleTarget::tomorrow, shown("c"), false);
    EXPECT_EQ(moved(), QStringList{u"c"_s}) << "c alone, though a and b are selected";
    // c is now first, in its own section.
    panel.rowSelection().setSelection({1, {1, 2}, 1});
    panel.rowActions().rescheduleSelectionOrRow(RescheduleTarget::today, shown("a"), true);
    EXPECT_EQ(moved(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));

    // A selected row whose selection holds nothing any more acts alone.
    panel.rowSelection().setSelection({7, {7}, 7});
    std::vector<Reminder> acted;
    panel.rowActions().actOnSelectionOrRow(shown("d"), true, [&](const std::vector<Reminder>& r) { acted = r; });
    EXPECT_EQ(identifiers(acted), QStringList{u"d"_s});
}

// Opening.

TEST_F(RowActionsTest, OpeningShowsTheFolderOfTheRemindersListAndClosesThePanel) {
    PanelModel& panel = openOverFour();
    backend.setListFolder(u"L1"_s, u"/srv/reminders/home"_s);
    panel.rowActions().openInReminders(shown("a"));
    EXPECT_EQ(take(), QStringList{u"folder file:///srv/reminders/home"_s});
    folderAnswers.back().resolve(true);
    ASSERT_TRUE(runMainLoopUntil([&] { return !heard.isEmpty(); }));
    EXPECT_EQ(take(), QStringList{u"close"_s}) << "once a file manager has it";
    PanelModel& again = makeModel();
    again.rowActions().openInReminders(reminder("never-saved"));
    EXPECT_EQ(take(), QStringList{u"close"_s}) << "nothing to show, and the panel closes all the same";
}

TEST_F(RowActionsTest, AFolderNoFileManagerOpensIsNamedInTheFooterAndThePanelStays) {
    PanelModel& panel = openOverFour();
    backend.setListFolder(u"L1"_s, u"/srv/reminders/home"_s);
    panel.rowActions().openInReminders(shown("a"));
    folderAnswers.back().resolve(false);
    ASSERT_TRUE(runMainLoopUntil([&] { return panel.rowActions().unopenedFolder().has_value(); }));
    EXPECT_EQ(take(), QStringList{u"folder file:///srv/reminders/home"_s}) << "no close";
    EXPECT_EQ(panel.footerStatus(),
              FooterStatus(FooterError{u"No file manager could open the folder."_s, u"/srv/reminders/home"_s}));

    // A new try starts without the old failure.
    panel.rowActions().openInReminders(shown("a"));
    EXPECT_EQ(panel.rowActions().unopenedFolder(), std::nullopt);
    folderAnswers.back().resolve(true);
    ASSERT_TRUE(runMainLoopUntil([&] { return heard.contains(u"close"_s); }));
}

// The inline edit.

class InlineEditTest : public RowActionsTest {
protected:
    PanelModel& editing(Reminder edited) {
        storeWith({std::move(edited), reminder("other")}, {list("L1", "Home"), list("L2", "Work")});
        PanelModel& panel = makeModel();
        panel.setFocus(FocusTarget::list);
        panel.listActions().startEdit(store->reminders().at(0));
        return panel;
    }
    // Saves the edit; a write would be refused and so leave an error.
    void saveRefusingWrites(PanelModel& panel) {
        backend.setSaveFailure(refusal);
        panel.listActions().editSave(store->reminders().at(0));
        clock.runDueActions();
    }
};

TEST_F(InlineEditTest, AnEditStartsFromTheRemindersLineAndOffersNoListUntilChanged) {
    PanelModel& panel = editing(reminder("call the bank"));
    EXPECT_EQ(panel.inlineEdit().editingID(), u"call the bank"_s);
    EXPECT_EQ(panel.inlineEdit().editingText(), u"call the bank #home"_s);
    EXPECT_EQ(panel.inlineEdit().editingOriginalText(), panel.inlineEdit().editingText());
    EXPECT_EQ(panel.inlineEdit().editingPreviousDateText(), std::nullopt);
    EXPECT_TRUE(panel.inlineEdit().editFieldFocused());
    EXPECT_TRUE(panel.inlineEdit().editListSuggestions().isEmpty()) << "the line already ends in its tag";
    EXPECT_FALSE(panel.inlineEdit().editArrowDown());

    panel.inlineEdit().setEditingText(u"call the bank #"_s);
    EXPECT_EQ(panel.inlineEdit().editListSuggestions(), (QStringList{u"Home"_s, u"Work"_s}));
    EXPECT_TRUE(panel.inlineEdit().editArrowDown());
    EXPECT_TRUE(panel.inlineEdit().editArrowDown());
    EXPECT_EQ(panel.inlineEdit().editListSuggestionIndex(), 1) << "held at the last";
    EXPECT_TRUE(panel.inlineEdit().editArrowUp());
    EXPECT_TRUE(panel.inlineEdit().editArrowUp());
    EXPECT_EQ(panel.inlineEdit().editListSuggestionIndex(), 0) << "held at the first";
}

TEST_F(InlineEditTest, ReturnTakesTheHighlightedListThenSaves) {
    PanelModel& panel = editing(reminder("call the bank"));
    panel.inlineEdit().setEditingText(u"call the bank #wo"_s);
    panel.listActions().editSave(store->reminders().at(0));
    EXPECT_EQ(panel.inlineEdit().editingText(), u"call the bank #work "_s);
    EXPECT_TRUE(panel.inlineEdit().editingID()) << "the first Return only takes the list";
    panel.listActions().editSave(store->reminders().at(0));
    EXPECT_EQ(panel.inlineEdit().editingID(), std::nullopt);
    EXPECT_EQ(panel.focus(), FocusTarget::list);
    clock.runDueActions();
    const Reminder saved = shown("call the bank");
    EXPECT_EQ(saved.title, u"call the bank"_s);
    EXPECT_EQ(saved.listIdentifier, u"L2"_s);
}

TEST_F(InlineEditTest, AnEditThatChangesNothingOrLeavesNoTitleOnlyCloses) {
    for (const QString& text : {u"call the bank #home"_s, u"   "_s}) {
        SCOPED_TRACE(text.toStdString());
        PanelModel& panel = editing(reminder("call the bank"));
        panel.inlineEdit().setEditingText(text);
        saveRefusingWrites(panel);
        EXPECT_EQ(panel.inlineEdit().editingID(), std::nullopt);
        EXPECT_EQ(panel.focus(), FocusTarget::list);
        EXPECT_EQ(store->lastError(), std::nullopt) << "nothing was written";
        backend.setSaveFailure(std::nullopt);
        model.reset();
        store.reset();
    }
}

TEST_F(InlineEditTest, ALineOfMarkersOnlyKeepsItselfAsTheTitle) {
    PanelModel& panel = editing(reminder("call the bank"));
    panel.inlineEdit().setEditingText(u" tomorrow #work "_s);
    const tavlin::parsing::ParsedQuickAdd parsed = panel.listActions().buildEditedReminder();
    EXPECT_EQ(parsed, tavlin::parsing::ParsedQuickAdd{.title = u"tomorrow #work"_s});
}

TEST_F(InlineEditTest, ACadenceThatLosesItsDateFallsDueTodayOnlyWhenItHadADate) {
    Reminder rent = reminder("pay rent", "L1", day(2026, 3, 6));
    rent.recurrenceRules = {{.frequency = tavlin::platform::RecurrenceRule::Frequency::weekly}};
    PanelModel& panel = editing(rent);
    EXPECT_TRUE(panel.inlineEdit().editingPreviousDateText());
    panel.inlineEdit().setEditingText(u"pay rent every week"_s);
    tavlin::parsing::ParsedQuickAdd parsed = panel.listActions().buildEditedReminder();
    EXPECT_EQ(parsed.dueDateComponents, day(2026, 3, 4));
    EXPECT_FALSE(parsed.hasTime);
    EXPECT_TRUE(parsed.dueDateIsBareCadenceDefault);

    model.reset();
    store.reset();
    PanelModel& undated = editing(reminder("water plants"));
    undated.inlineEdit().setEditingText(u"water plants every week"_s);
    parsed = undated.listActions().buildEditedReminder();
    EXPECT_EQ(parsed.recurrenceFrequency, tavlin::parsing::RecurrenceFrequency::weekly);
    EXPECT_EQ(parsed.dueDateComponents, std::nullopt);
}

TEST_F(InlineEditTest, OpeningAnotherEditSavesTheOpenOne) {
    PanelModel& panel = editing(reminder("call the bank"));
    panel.inlineEdit().setEditingText(u"call the bank today"_s);
    panel.listActions().startEdit(shown("other"));
    EXPECT_EQ(panel.inlineEdit().editingID(), u"other"_s);
    EXPECT_EQ(panel.inlineEdit().editingText(), u"other #home"_s);
    clock.runDueActions();
    EXPECT_EQ(shown("call the bank").dueDateComponents, day(2026, 3, 4));
}

TEST_F(InlineEditTest, TheListsKeysAndDragsWaitWhileAnEditIsOpen) {
    PanelModel& panel = editing(reminder("call the bank"));
    panel.rowSelection().setSelection(ListSelection::only(0));
    panel.listActions().moveSelection(MoveDirection::down);
    panel.listActions().selectAll();
    panel.listActions().moveReminders(tavlin::store::PanelSection::noDueDate, {0}, 2);
    EXPECT_EQ(panel.rowSelection().selection(), ListSelection::only(0));
    EXPECT_TRUE(settings.manualOrderRanks().empty());
}
