// The panel's field: which reading of the line counts, the "#list" names
// offered and picked, the field's keys, the place requests, and Return.

#include "panel/ListCompletion.h"
#include "panel/LiveReading.h"
#include "panel/TypedLine.h"
#include "parsing/SmartParsedReminder.h"
#include "platform/Clock.h"

#include "FakeCommitStore.h"
#include "PanelModelFixture.h"
#include "support/ScriptedLanguageModel.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::parsing::ParsedQuickAdd;
using tavlin::parsing::RecurrenceFrequency;

namespace {

class TypedLineTest : public PanelModelFixture {
protected:
    void SetUp() override {
        storeWith({}, {list("L1", "Groceries"), list("L2", "Work")});
        commits = fake;
    }

    // A model with the line typed, its opening's refocus done.
    PanelModel& typed(const QString& line) {
        PanelModel& panel = makeModel();
        QCoreApplication::processEvents();
        panel.typedLine().setQuery(line);
        return panel;
    }

    std::shared_ptr<FakeCommitStore> fake = std::make_shared<FakeCommitStore>();
};

const ParsedQuickAdd modelReading{.title = u"water plants"_s, .recurrenceFrequency = RecurrenceFrequency::weekly};

}  // namespace

TEST_F(TypedLineTest, TheModelsReadingCountsOnlyForItsExactTextAndIsNeverCorrected) {
    const DateComponents today{.year = 2026, .month = 3, .day = 4};
    const ParsedQuickAdd bareCadence{.title = u"water plants"_s,
                                     .dueDateComponents = today,
                                     .recurrenceFrequency = RecurrenceFrequency::weekly,
                                     .dueDateIsBareCadenceDefault = true};
    struct Case {
        const char* name;
        QString query;
        std::optional<ParsedQuickAdd> smartParsed;
        QString smartParsedQuery;
        ParsedQuickAdd effective;
    };
    const Case cases[] = {
        {"the model's, as it read it", u"  water plants every week \n"_s, modelReading, u"water plants every week"_s,
         modelReading},
        {"another text: the rules', due today", u"water plants every week"_s, modelReading, u"water plants every wee"_s,
         bareCadence},
        {"markers only: the line is the title", u"every week"_s, std::nullopt, u""_s, {.title = u"every week"_s}},
        {"blanks", u"   "_s, std::nullopt, u""_s, {}},
    };
    for (const Case& c : cases) {
        PanelModel& panel = typed(c.query);
        panel.typedLine().setSmartParsed(c.smartParsed);
        panel.typedLine().setSmartParsedQuery(c.smartParsedQuery);
        EXPECT_EQ(panel.typedLine().effectiveParsed(), c.effective) << c.name;
    }

    // Per task: the model's reading where it gave one, else the rules'.
    PanelModel& panel = typed(u"milk\nwater plants every week\neggs tomorrow"_s);
    panel.typedLine().setSmartPartResults(
        {{u"water plants every week"_s, modelReading}, {u"eggs tomorrow"_s, std::nullopt}});
    const std::vector<ParsedQuickAdd> parts = panel.typedLine().parsedParts();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0], ParsedQuickAdd{.title = u"milk"_s});
    EXPECT_EQ(parts[1], modelReading);
    EXPECT_EQ(parts[2].title, u"eggs"_s);
    EXPECT_EQ(parts[2].dueDateComponents, (DateComponents{.year = 2026, .month = 3, .day = 5}));
}

TEST_F(TypedLineTest, ListNamesAreOfferedForTheTrailingTagAndPickedAsTheirKey) {
    struct Case {
        const char* name;
        QString query;
        std::function<void(PanelModel&)> state;
        QStringList offered;
    };
    const auto none = [](PanelModel&) {};
    const Case cases[] = {
        {"a partial tag", u"eggs #gro"_s, none, {u"Groceries"_s}},
        {"a bare #", u"eggs #"_s, none, {u"Groceries"_s, u"Work"_s}},
        {"no tag", u"eggs"_s, none, {}},
        {"a tag ended", u"eggs #gro "_s, none, {}},
        {"inside a word", u"mail#gro"_s, none, {}},
        {"an edit open", u"eggs #gro"_s, [](PanelModel& p) { p.inlineEdit().setEditingID(u"R1"_s); }, {}},
        {"dismissed for this line",
         u"eggs #gro"_s,
         [](PanelModel& p) { p.typedLine().setListPickerDismissedQuery(u"eggs #gro"_s); },
         {}},
        {"dismissed for another",
         u"eggs #gro"_s,
         [](PanelModel& p) { p.typedLine().setListPickerDismissedQuery(u"eggs #gr"_s); },
         {u"Groceries"_s}},
    };
    for (const Case& c : cases) {
        PanelModel& panel = typed(c.query);
        c.state(panel);
        EXPECT_EQ(panel.fieldActions().refreshListSuggestions(), c.offered) << c.name;
    }
    PanelModel& capture = makeModel({.captureText = u"eggs"_s});
    capture.typedLine().setQuery(u"eggs #gro"_s);
    EXPECT_TRUE(capture.fieldActions().refreshListSuggestions().isEmpty()) << "a capture showing";

    PanelModel& panel = typed(u"eggs #gro"_s);
    panel.setFocus(std::nullopt);
    panel.fieldActions().applyListSuggestion(u"Groceries"_s);
    EXPECT_EQ(panel.typedLine().query(), u"eggs #groceries "_s);
    EXPECT_EQ(panel.focus(), FocusTarget::field);
    const QStringList lists{u"Groceries"_s, u"Work"_s};
    EXPECT_EQ(ListCompletion::completed(u"see #ar"_s, u"Ärzte & Termine_2"_s, lists), u"see #arztetermine_2 "_s);
    EXPECT_EQ(ListCompletion::completed(u"see"_s, u"Work"_s, lists), std::nullopt);
    // The list picked takes the place of the one the line named; a tag that
    // names no list is title.
    EXPECT_EQ(ListCompletion::completed(u"#groceries see #x  #wo"_s, u"Work"_s, lists), u"see #x #work "_s);

    // The edit's own: only once its line is changed, and until dismissed.
    panel.inlineEdit().setEditingID(u"R1"_s);
    panel.inlineEdit().setEditingOriginalText(u"call Ann #work"_s);
    panel.inlineEdit().setEditingText(u"call Ann #work"_s);
    EXPECT_TRUE(panel.inlineEdit().editListSuggestions().isEmpty());
    panel.inlineEdit().setEditingText(u"call Ann #"_s);
    EXPECT_EQ(panel.inlineEdit().editListSuggestions(), (QStringList{u"Groceries"_s, u"Work"_s}));
    panel.inlineEdit().setEditListPickerDismissedText(u"call Ann #"_s);
    EXPECT_TRUE(panel.inlineEdit().editListSuggestions().isEmpty());

    // Picked after the reminder's own tag, the name replaces it.
    panel.inlineEdit().setEditingText(u"call Ann #work #gro"_s);
    panel.inlineEdit().pickEditListSuggestion();
    EXPECT_EQ(panel.inlineEdit().editingText(), u"call Ann #groceries "_s);
}

TEST_F(TypedLineTest, TheFieldsKeysMoveThroughTheNamesOrIntoTheList) {
    PanelModel& panel = typed(u"eggs #"_s);
    panel.fieldActions().handleFieldArrowDown();
    panel.fieldActions().handleFieldArrowDown();
    EXPECT_EQ(panel.typedLine().listSuggestionIndex(), 1) << "the last name stays";
    EXPECT_TRUE(panel.fieldActions().handleFieldArrowUp());
    EXPECT_TRUE(panel.fieldActions().handleFieldArrowUp());
    EXPECT_EQ(panel.typedLine().listSuggestionIndex(), 0) << "the first name stays, and the key is used";
    panel.typedLine().setListSuggestionIndex(1);
    panel.fieldActions().handleFieldSubmit();
    EXPECT_EQ(panel.typedLine().query(), u"eggs #work "_s) << "Return takes the highlighted name";

    // A highlight left over from a longer list: Return does nothing at all.
    panel.typedLine().setQuery(u"eggs #gro"_s);
    panel.typedLine().setListSuggestionIndex(1);
    panel.fieldActions().handleFieldSubmit();
    EXPECT_EQ(panel.typedLine().query(), u"eggs #gro"_s);
    EXPECT_TRUE(fake->calls.isEmpty());

    // Tab takes a name too, and without names is the field's.
    panel.typedLine().setListSuggestionIndex(0);
    EXPECT_TRUE(ListCompletion::acceptIfAny([&] { return panel.fieldActions().refreshListSuggestions(); },
                                            [&] { panel.fieldActions().pickListSuggestion(); }));
    EXPECT_EQ(panel.typedLine().query(), u"eggs #groceries "_s);
    EXPECT_FALSE(ListCompletion::acceptIfAny([&] { return panel.fieldActions().refreshListSuggestions(); },
                                             [&] { panel.fieldActions().pickListSuggestion(); }));

    // Without names: up is the field's; down goes into a list with rows.
    EXPECT_FALSE(panel.fieldActions().handleFieldArrowUp());
    panel.typedLine().setQuery(QString());
    panel.fieldActions().handleFieldArrowDown();
    EXPECT_EQ(panel.focus(), FocusTarget::field) << "no rows: nothing";
    EXPECT_EQ(panel.rowSelection().selectedIndex(), std::nullopt);
    panel.typedLine().setQuery(u"eggs"_s);  // the create row
    panel.fieldActions().handleFieldArrowDown();
    EXPECT_EQ(panel.rowSelection().selectedIndex(), 0);
    EXPECT_EQ(panel.rowSelection().selectedIndexes(), std::set<int>{0});
    EXPECT_EQ(panel.rowSelection().selectionAnchor(), 0);
    EXPECT_EQ(panel.focus(), FocusTarget::list);
}

TEST_F(TypedLineTest, ReturnCreatesOnlyWhatMatchesNothingAndCtrlReturnAlways) {
    commits.reset();
    storeWith({reminder("milk")}, {list("L1", "Groceries")});
    PanelModel& panel = typed(u"milk"_s);
    EXPECT_FALSE(panel.list().showsCreateRow());
    panel.fieldActions().handleFieldSubmit();
    EXPECT_EQ(panel.typedLine().query(), u"milk"_s);
    EXPECT_TRUE(panel.commandReturn(Qt::ControlModifier));
    clock.runDueActions();
    EXPECT_EQ(panel.typedLine().query(), u""_s);
    ASSERT_EQ(store->reminders().size(), 2u);
    EXPECT_EQ(store->reminders().back().title, u"milk"_s);

    panel.typedLine().setQuery(u"bread"_s);
    EXPECT_TRUE(panel.list().showsCreateRow());
    panel.fieldActions().handleFieldSubmit();
    clock.runDueActions();
    EXPECT_EQ(store->reminders().back().title, u"bread"_s);
}

TEST_F(TypedLineTest, SubmitEmptiesTheFieldBeforeTheAddAndTakesThePlaceFound) {
    const tavlin::store::ResolvedLocation office{u"Office"_s, 52.37, 4.89, 150};
    PanelModel& panel = typed(u"  post letter @office "_s);
    panel.placePreviews().setLocationPreviews({{u"office"_s, {.resolved = office}}});
    panel.rowSelection().setSelectedIndex(0);
    panel.setFocus(FocusTarget::list);
    panel.typedLine().smartParseTask() = [](tavlin::platform::Clock& clock) -> tavlin::platform::Task<> {
        co_await tavlin::platform::sleep(std::chrono::seconds(10), clock);
    }(clock);
    panel.typedLine().setSmartParseInFlight(true);
    const tavlin::platform::Task<> reading = panel.typedLine().smartParseTask();

    QString queryAtAdd = u"not asked"_s;
    fake->onAdd = [&] { queryAtAdd = panel.typedLine().query(); };
    panel.fieldActions().submit();
    EXPECT_EQ(queryAtAdd, u""_s);
    EXPECT_EQ(panel.rowSelection().selectedIndex(), std::nullopt);
    EXPECT_EQ(panel.focus(), FocusTarget::field);
    EXPECT_TRUE(reading.isCancelled());
    EXPECT_FALSE(panel.typedLine().smartParseTask().isValid());
    EXPECT_FALSE(panel.typedLine().smartParseInFlight());
    ASSERT_EQ(fake->added.size(), 1u);
    EXPECT_EQ(fake->added[0].title, u"post letter"_s);
    EXPECT_EQ(fake->places[0], office);

    // Nothing to create: everything stays.
    for (const QString& nothing : {u"   "_s, u"\n"_s}) {
        panel.typedLine().setQuery(nothing);
        panel.fieldActions().submit();
        EXPECT_EQ(panel.typedLine().query(), nothing);
    }
    EXPECT_EQ(fake->added.size(), 1u);

    // Several tasks: one reminder each, in order, the place found for each.
    panel.typedLine().setQuery(u"milk @office; bread"_s);
    panel.placePreviews().setLocationPreviews({{u"office"_s, {.resolved = office}}});
    panel.fieldActions().submit();
    EXPECT_EQ(fake->calls, (QStringList{u"add post letter"_s, u"add milk"_s, u"add bread"_s}));
    EXPECT_EQ(fake->places[1], office);
    EXPECT_EQ(fake->places[2], std::nullopt);
    EXPECT_EQ(panel.typedLine().query(), u""_s);
}

TEST_F(TypedLineTest, TheModelReadsAgainOnlyWhatItHasNotReadYet) {
    ScriptedLanguageModel languageModel;
    tavlin::platform::ScopedLanguageModel useModel(languageModel);
    const tavlin::parsing::SmartParsedReminder filed{.listText = u"groceries"_s, .list = u"Groceries"_s};
    for (int i = 0; i < 4; ++i) languageModel.answers.push_back(filed.toGeneratedContent());

    // Read while typing, for exactly this line: created from that reading.
    PanelModel& panel = typed(u"eggs groceries"_s);
    panel.typedLine().setSmartParsed(ParsedQuickAdd{.title = u"eggs"_s, .listName = u"Groceries"_s});
    panel.typedLine().setSmartParsedQuery(u"eggs groceries"_s);
    panel.fieldActions().submit();
    EXPECT_EQ(fake->calls, QStringList{u"add eggs"_s});
    EXPECT_TRUE(languageModel.requests.empty());

    // Read for another text: created from the rules, then read and updated.
    panel.typedLine().setQuery(u"milk groceries"_s);
    panel.typedLine().setSmartParsed(ParsedQuickAdd{.title = u"milk"_s});
    panel.typedLine().setSmartParsedQuery(u"milk groceries!"_s);
    panel.fieldActions().submit();
    EXPECT_EQ(fake->calls.mid(1), (QStringList{u"add milk groceries"_s, u"update milk groceries: Groceries"_s}));
    ASSERT_EQ(languageModel.requests.size(), 1u);
    EXPECT_EQ(languageModel.requests[0].prompt, u"milk groceries"_s);

    // Several tasks: one read with a reading, one read to no avail, one not
    // read; only the last is read now, after every add.
    fake->calls.clear();
    panel.typedLine().setQuery(u"tea groceries\nrice groceries\nsoap groceries"_s);
    panel.typedLine().setSmartPartResults(
        {{u"tea groceries"_s, ParsedQuickAdd{.title = u"tea"_s, .listName = u"Groceries"_s}},
         {u"rice groceries"_s, std::nullopt}});
    panel.fieldActions().submit();
    EXPECT_EQ(fake->calls, (QStringList{u"add tea"_s, u"add rice groceries"_s, u"add soap groceries"_s,
                                        u"update soap groceries: Groceries"_s}));
    EXPECT_EQ(languageModel.requests.size(), 2u);
}

TEST_F(TypedLineTest, ThePlacesOfTheLineOncePerNameAChosenRadiusWinning) {
    PanelModel& panel = typed(u"a @office; b @office within 100m; c @Office within 100m; d @home within 50m"_s);
    panel.placePreviews().setLocationRadiusOverrides({{u"home"_s, 300}});
    using Trigger = tavlin::parsing::LocationTrigger;
    EXPECT_EQ(panel.locationRequests(), (std::vector<LocationRequest>{{u"office"_s, std::nullopt, Trigger::arrive},
                                                                      {u"Office"_s, 100, Trigger::arrive},
                                                                      {u"home"_s, 300, Trigger::arrive}}));
    panel.typedLine().setQuery(u"b @office within 100m"_s);
    EXPECT_EQ(panel.locationRequests(), (std::vector<LocationRequest>{{u"office"_s, 100, Trigger::arrive}}));

    // Requests are the same only with the same name, radius and trigger.
    const LocationRequest office{u"Office"_s, 100, Trigger::arrive};
    EXPECT_EQ(office, (LocationRequest{u"Office"_s, 100, Trigger::arrive}));
    EXPECT_NE(office, (LocationRequest{u"Office"_s, std::nullopt, Trigger::arrive}));
    EXPECT_NE(office, (LocationRequest{u"office"_s, 100, Trigger::arrive}));
    EXPECT_NE(office, (LocationRequest{u"Office"_s, 100, Trigger::leave}));
}

TEST_F(TypedLineTest, ALineWithoutAPanelTakesTheModelsReadingOfItsOwnTextAndNoneOnceClosed) {
    ScriptedLanguageModel languageModel;
    tavlin::platform::ScopedLanguageModel useModel(languageModel);
    const tavlin::parsing::SmartParsedReminder filed{.listText = u"groceries"_s, .list = u"Groceries"_s};
    for (int i = 0; i < 3; ++i) languageModel.answers.push_back(filed.toGeneratedContent());
    const tavlin::store::WallClock wall{[this] { return wallNow(); }, calendar};
    TypedLine line(clock, wall, [] { return QStringList{u"Groceries"_s}; });
    const auto typeAndRead = [&](const QString& text) {
        line.setQuery(text);
        line.scheduleSmartParse();
    };

    typeAndRead(u" eggs groceries "_s);
    EXPECT_TRUE(line.smartParseInFlight());
    advance(LiveReading::quiet);
    EXPECT_FALSE(line.smartParseInFlight());
    EXPECT_EQ(line.smartParsedQuery(), u"eggs groceries"_s);
    ASSERT_TRUE(line.smartParsed());
    EXPECT_EQ(line.effectiveParsed().listName, u"Groceries"_s);

    // Changed while the model reads: the reading is of another text.
    typeAndRead(u"milk groceries"_s);
    EXPECT_EQ(line.smartParsed(), std::nullopt) << "the old line's reading goes at once";
    advance(LiveReading::quiet - std::chrono::milliseconds(1));
    line.setQuery(u"milk"_s);
    advance(std::chrono::milliseconds(1));
    EXPECT_EQ(line.smartParsed(), std::nullopt);

    typeAndRead(u"tea groceries"_s);
    line.close();
    advance(LiveReading::quiet);
    EXPECT_EQ(line.smartParsed(), std::nullopt) << "a closed panel's line takes nothing more";
}

// The panel reacts to the line from the second signal: whatever observed the
// change (a derived list, a view) has been told first, however late it
// connected, and an equal value tells nobody.
TEST_F(TypedLineTest, WhatAChangeSetsOffIsToldAfterEveryObserverOfIt) {
    const tavlin::store::WallClock wall{[this] { return wallNow(); }, calendar};
    TypedLine line(clock, wall, [] { return QStringList{}; });
    QStringList heard;
    QObject::connect(&line, &TypedLine::queryChangeHeard, [&] { heard << u"query reaction"_s; });
    QObject::connect(&line, &TypedLine::readingChangeHeard, [&] { heard << u"reading reaction"_s; });
    QObject::connect(&line, &TypedLine::queryChanged, [&] { heard << u"query"_s; });
    QObject::connect(&line, &TypedLine::smartParsedQueryChanged, [&] { heard << u"reading"_s; });
    QObject::connect(&line, &TypedLine::smartPartResultsChanged, [&] { heard << u"parts"_s; });

    line.setQuery(u"milk"_s);
    line.setQuery(u"milk"_s);
    line.setSmartParsedQuery(u"milk"_s);
    line.setSmartPartResults({{u"milk"_s, {}}});
    line.setSmartPartResults({{u"milk"_s, {}}});
    EXPECT_EQ(heard, (QStringList{u"query"_s, u"query reaction"_s, u"reading"_s, u"reading reaction"_s, u"parts"_s,
                                  u"reading reaction"_s}));
}
