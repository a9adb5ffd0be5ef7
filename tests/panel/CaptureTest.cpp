// Reminders from a captured text: the candidates and their readings, the
// model's readings arriving while the user works on them, adding one,
// dropping one and adding all, and the list's keys while the capture shows.

#include "panel/Capture.h"
#include "panel/CaptureCandidates.h"
#include "panel/PanelNotifications.h"
#include "parsing/SmartParsedReminder.h"

#include "FakeCommitStore.h"
#include "PanelModelFixture.h"
#include "support/ScriptedLanguageModel.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::parsing::ParsedQuickAdd;
using tavlin::parsing::RecurrenceFrequency;
using tavlin::parsing::SmartParsedReminder;

namespace {

// The model files a line ending in "groceries" in the list Groceries.
const SmartParsedReminder filed{.listText = u"groceries"_s, .list = u"Groceries"_s};

class CaptureTest : public PanelModelFixture {
protected:
    void SetUp() override {
        storeWith({}, {list("L1", "Groceries"), list("L2", "Work")});
        commits = fake;
    }

    PanelModel& capture(const QString& text) { return makeModel({.captureText = text}); }

    const std::vector<CaptureCandidate>& candidates() const {
        static const std::vector<CaptureCandidate> none;
        return model->capture().captureCandidates() ? *model->capture().captureCandidates() : none;
    }
    QStringList texts() const {
        QStringList found;
        for (const CaptureCandidate& candidate : candidates()) found << candidate.text;
        return found;
    }
    QUuid idOf(const QString& text) const {
        for (const CaptureCandidate& candidate : candidates())
            if (candidate.text == text) return candidate.id;
        return {};
    }

    std::shared_ptr<FakeCommitStore> fake = std::make_shared<FakeCommitStore>();
};

}  // namespace

TEST_F(CaptureTest, EachTaskOfTheTextIsACandidateReadAsItWouldBeSaved) {
    const DateComponents today{.year = 2026, .month = 3, .day = 4};
    struct Case {
        const char* name;
        QString text;
        std::vector<ParsedQuickAdd> readings;
    };
    const Case cases[] = {
        {"three lines",
         u"milk\neggs\ncall the dentist"_s,
         {{.title = u"milk"_s}, {.title = u"eggs"_s}, {.title = u"call the dentist"_s}}},
        {"bullets; markers only; a bare cadence",
         u"• buy milk tomorrow\n- every week\n- water plants every week"_s,
         {{.title = u"buy milk"_s,
           .dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 5},
           .matchedDateText = u"tomorrow"_s},
          {.title = u"every week"_s},
          {.title = u"water plants"_s,
           .dueDateComponents = today,
           .recurrenceFrequency = RecurrenceFrequency::weekly,
           .dueDateIsBareCadenceDefault = true}}},
        {"nothing in it", u" \n\t"_s, {}},
    };
    for (const Case& c : cases) {
        PanelModel& panel = capture(c.text);
        EXPECT_FALSE(panel.capture().captureDone()) << c.name;
        ASSERT_TRUE(panel.capture().captureCandidates()) << c.name;
        ASSERT_EQ(candidates().size(), c.readings.size()) << c.name;
        QSet<QUuid> ids;
        for (std::size_t i = 0; i < c.readings.size(); ++i) {
            EXPECT_EQ(candidates()[i].parsed, c.readings[i]) << c.name << " " << i;
            ids.insert(candidates()[i].id);
        }
        EXPECT_EQ(ids.size(), qsizetype(c.readings.size())) << c.name << ": each its own identity";
        EXPECT_EQ(panel.capture().captureFocusID(),
                  c.readings.empty() ? std::nullopt : std::optional(candidates().front().id))
            << c.name;
        EXPECT_EQ(panel.focus(), std::nullopt) << c.name << ": the field stays out of it";
    }
}

TEST_F(CaptureTest, TheModelsReadingsReplaceOnlyCandidatesStillAsTheyWere) {
    ScriptedLanguageModel languageModel;
    tavlin::platform::ScopedLanguageModel useModel(languageModel);
    for (int i = 0; i < 5; ++i) languageModel.answers.push_back(filed.toGeneratedContent());
    languageModel.holdAnswers = true;

    PanelModel& panel = capture(u"milk groceries\neggs groceries\nbread groceries\ntea groceries\nrice groceries"_s);
    const ParsedQuickAdd milkFiled{.title = u"milk"_s, .listName = u"Groceries"_s};
    ASSERT_EQ(languageModel.heldCount(), 1u) << "one reading at a time";

    // Left alone: the model's reading.
    languageModel.release();
    EXPECT_EQ(candidates()[0].parsed, milkFiled);

    // Edited before the answer: the user's text, read by the rules.
    panel.capture().setCandidateText(idOf(u"eggs groceries"_s), u"eggs groceries tomorrow"_s);
    languageModel.release();
    EXPECT_EQ(candidates()[1].text, u"eggs groceries tomorrow"_s);
    EXPECT_EQ(candidates()[1].parsed, panel.capture().parseCandidate(u"eggs groceries tomorrow"_s));
    EXPECT_EQ(candidates()[1].parsed.listName, std::nullopt);

    // Dropped before the answer: nothing comes back.
    panel.capture().remove(idOf(u"bread groceries"_s));
    languageModel.release();
    EXPECT_EQ(texts(), (QStringList{u"milk groceries"_s, u"eggs groceries tomorrow"_s, u"tea groceries"_s,
                                    u"rice groceries"_s}));

    // All added before the answer: the reading is dropped and no more are
    // asked for.
    ASSERT_EQ(languageModel.requests.size(), 4u);
    EXPECT_EQ(languageModel.requests[3].prompt, u"tea groceries"_s);
    panel.fieldActions().createCapturedReminders();
    languageModel.release();
    EXPECT_EQ(languageModel.requests.size(), 4u);
    EXPECT_TRUE(candidates().empty());
    EXPECT_EQ(fake->calls,
              (QStringList{u"add milk"_s, u"add eggs groceries"_s, u"add tea groceries"_s, u"add rice groceries"_s}))
        << "added as they read when added, and not read again";

    // The panel closing stops the pass.
    PanelModel& closed = capture(u"milk groceries\neggs groceries"_s);
    ASSERT_EQ(languageModel.heldCount(), 1u);
    closed.closing();
    model.reset();
    languageModel.release();
    EXPECT_EQ(languageModel.requests.size(), 5u);
}

TEST_F(CaptureTest, AddingOneDroppingOneAndAddingAll) {
    PanelModel& panel = capture(u"milk\nevery week\neggs"_s);
    panel.capture().setCandidateText(idOf(u"every week"_s), u" "_s);  // a line with no title left

    // One with a title is added and goes; the capture goes on.
    panel.fieldActions().addCaptureCandidate(idOf(u"milk"_s));
    EXPECT_EQ(fake->calls, QStringList{u"add milk"_s});
    EXPECT_EQ(texts(), (QStringList{u" "_s, u"eggs"_s}));
    EXPECT_FALSE(panel.capture().captureDone());
    EXPECT_TRUE(panel.showsCapture());

    // One without a title only goes; a candidate that is gone is nothing.
    const QUuid blank = idOf(u" "_s);
    panel.fieldActions().addCaptureCandidate(blank);
    panel.fieldActions().addCaptureCandidate(blank);
    panel.capture().remove(blank);
    panel.capture().setCandidateText(blank, u"bread"_s);
    EXPECT_EQ(panel.capture().candidateText(blank), u""_s);
    EXPECT_EQ(fake->calls, QStringList{u"add milk"_s});
    EXPECT_EQ(texts(), QStringList{u"eggs"_s});

    // The last one with a title ends the capture and the field takes over.
    panel.fieldActions().addCaptureCandidate(idOf(u"eggs"_s));
    EXPECT_EQ(fake->calls, (QStringList{u"add milk"_s, u"add eggs"_s}));
    EXPECT_TRUE(panel.capture().captureDone());
    EXPECT_EQ(panel.focus(), FocusTarget::field);

    // Dropping the last one leaves an empty list, and the capture open.
    PanelModel& dropped = capture(u"milk"_s);
    dropped.capture().remove(idOf(u"milk"_s));
    ASSERT_TRUE(dropped.capture().captureCandidates());
    EXPECT_TRUE(candidates().empty());
    EXPECT_TRUE(dropped.showsCapture());
    dropped.fieldActions().createCapturedReminders();
    EXPECT_FALSE(dropped.capture().captureDone()) << "adding none does nothing";

    // Adding all: every one with a title, in order, one after the other;
    // the rows go at once.
    commits = fake = std::make_shared<FakeCommitStore>();
    fake->holdAdds = true;
    PanelModel& all = capture(u"call Ann\nmilk tomorrow\nsoap\nbread"_s);
    all.capture().setCandidateText(idOf(u"soap"_s), u""_s);
    all.capture().setCandidateText(idOf(u"bread"_s), u"bread #work"_s);
    all.fieldActions().createCapturedReminders();
    EXPECT_TRUE(candidates().empty());
    EXPECT_TRUE(all.capture().captureDone());
    EXPECT_EQ(all.focus(), FocusTarget::field);
    EXPECT_EQ(fake->calls, QStringList{u"add call Ann"_s}) << "the next waits for the one before";
    for (int i = 0; i < 3; ++i) fake->release();
    EXPECT_EQ(fake->calls, (QStringList{u"add call Ann"_s, u"add milk"_s, u"add bread"_s}));
    EXPECT_EQ(fake->added[1].dueDateComponents, (DateComponents{.year = 2026, .month = 3, .day = 5}));
    EXPECT_EQ(fake->added[2].listName, u"Work"_s);
}

TEST_F(CaptureTest, EscapeClosesWhileTheCaptureShowsAndTheFieldReturnsOnlyAfter) {
    PanelModel& panel = capture(u"milk\neggs"_s);
    panel.typedLine().setQuery(u"eggs #gro"_s);
    EXPECT_TRUE(panel.fieldActions().refreshListSuggestions().isEmpty()) << "no list names offered";
    panel.handleExitCommand();
    EXPECT_EQ(take(), QStringList{u"close"_s});
    EXPECT_TRUE(fake->calls.isEmpty()) << "nothing is added";

    // The window becoming key does not take the keyboard from a candidate.
    panel.refocusField();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel.focus(), std::nullopt);
    panel.fieldActions().createCapturedReminders();
    panel.setFocus(std::nullopt);
    panel.refocusField();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel.focus(), FocusTarget::field);
}

TEST_F(CaptureTest, TheHiddenListTakesNoKeysAndReturnIsTheCapturesAdd) {
    storeWith({reminder("a"), reminder("b")}, {list("L1", "Groceries")});
    PanelModel& panel = capture(u"milk\neggs"_s);
    ASSERT_TRUE(panel.showsCapture());
    // A selection left on the list the capture hides.
    panel.rowSelection().setSelection(ListSelection::only(0));
    PanelNotifications& notices = PanelNotifications::instance();
    for (const PanelListKey key : {PanelListKey::up, PanelListKey::down, PanelListKey::extendDown, PanelListKey::space})
        emit notices.tavlinListKey(key);
    emit notices.tavlinDeleteSelection();
    panel.listActions().selectAll();
    advance(std::chrono::seconds(6));
    EXPECT_EQ(panel.rowSelection().selection(), ListSelection::only(0));
    EXPECT_EQ(identifiers(store->reminders()), (QStringList{u"a"_s, u"b"_s})) << "none completed or deleted";
    EXPECT_EQ(panel.undoWindow().undoItem(), std::nullopt);
    EXPECT_TRUE(fake->calls.isEmpty());

    // Return adds them all, and that one press goes no further: on the
    // list it would open the selected reminder's edit.
    emit notices.tavlinListKey(PanelListKey::return_);
    EXPECT_EQ(fake->calls, (QStringList{u"add milk"_s, u"add eggs"_s}));
    EXPECT_TRUE(panel.capture().captureDone());
    EXPECT_EQ(panel.inlineEdit().editingID(), std::nullopt);

    // Once it is done the keys are the list's again.
    emit notices.tavlinListKey(PanelListKey::down);
    EXPECT_EQ(panel.rowSelection().selection(), ListSelection::only(1));

    // With nothing to add, Return does nothing.
    PanelModel& empty = capture(u" \n "_s);
    emit notices.tavlinListKey(PanelListKey::return_);
    EXPECT_FALSE(empty.capture().captureDone());
    EXPECT_EQ(fake->calls.size(), 2);
}

TEST(CaptureAlone, ItsCandidatesChangeOnlyByAnIdentityItHolds) {
    const tavlin::store::WallClock wall;
    Capture capture(wall, [] { return QStringList{u"Groceries"_s}; });
    const QUuid unknown = QUuid::createUuid();
    // Before the candidates are found there is nothing to change.
    capture.setCandidateText(unknown, u"tea"_s);
    capture.remove(unknown);
    EXPECT_EQ(capture.take(unknown), std::nullopt);
    EXPECT_TRUE(capture.takeAll().empty());
    EXPECT_EQ(capture.captureCandidates(), std::nullopt) << "still not found";

    const ReadingContext context{.listTitles = capture.listTitles(), .now = wall.now(), .calendar = wall.calendar};
    const std::vector<CaptureCandidate> made = makeCandidates({u"milk"_s, u"bread"_s}, context);
    capture.setCaptureCandidates(made);
    int changes = 0;
    QObject::connect(&capture, &Capture::captureCandidatesChanged, [&] { ++changes; });
    capture.setCandidateText(unknown, u"tea"_s);
    capture.remove(unknown);
    EXPECT_EQ(capture.take(unknown), std::nullopt);
    EXPECT_EQ(capture.candidateText(unknown), u""_s);
    EXPECT_EQ(changes, 0);

    capture.setCandidateText(made[0].id, u"oat milk #groceries"_s);
    EXPECT_EQ(capture.candidateText(made[0].id), u"oat milk #groceries"_s);
    EXPECT_EQ(capture.captureCandidates()->front().parsed.listName, u"Groceries"_s) << "read again";
    const std::optional<CaptureCandidate> taken = capture.take(made[0].id);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->text, u"oat milk #groceries"_s);
    EXPECT_EQ(capture.take(made[0].id), std::nullopt) << "taken once";
    const std::vector<CaptureCandidate> rest = capture.takeAll();
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].id, made[1].id);
    EXPECT_EQ(capture.captureCandidates(), std::vector<CaptureCandidate>{}) << "found, and none left";
}

TEST(CaptureAlone, TheListIsHeldWithinItsBounds) {
    const std::pair<double, double> heights[] = {{0, 56}, {56, 56}, {200, 200}, {380, 380}, {1000, 380}};
    for (const auto& [content, list] : heights) EXPECT_EQ(Capture::listHeight(content), list) << content;
}
