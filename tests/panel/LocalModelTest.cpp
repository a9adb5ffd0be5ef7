// The panel's model paths end to end with the model of a local model
// server, played by a fake one on the loopback address: the reading while
// typing and its indicator, the refinement after Return, the split of a
// captured text, and the server going and coming back.

#include "panel/LiveReading.h"
#include "platform/LocalLanguageModel.h"

#include "FakeCommitStore.h"
#include "PanelModelFixture.h"
#include "support/FakeModelServer.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using nlohmann::json;
using tavlin::platform::LocalLanguageModel;

namespace {

// A reading of the model: the nine fields, empty but for those given.
json reading(const json& fields = json::object()) {
    json record{{"dateText", ""},     {"dueDate", ""},  {"dueTime", ""},  {"locationText", ""}, {"location", ""},
                {"priorityText", ""}, {"priority", ""}, {"listText", ""}, {"list", ""}};
    record.update(fields);
    return record;
}
// The model files a line ending in "groceries" in the list Groceries.
const json filed = reading({{"listText", "groceries"}, {"list", "Groceries"}});

class LocalModelTest : public PanelModelFixture {
protected:
    void SetUp() override {
        storeWith({}, {list("L1", "Groceries"), list("L2", "Work")});
        commits = fake;
        ASSERT_TRUE(runMainLoopUntil([&] { return languageModel.isAvailable(); }));
    }

    bool interpreting() const {
        const CreateAreaContent content = model->createAreaContent();
        return !content.parts.empty() && content.parts.front().interpreting;
    }
    // Types `line` and lets the quiet spell pass: the reading is asked for.
    void typeAndWait(PanelModel& panel, const QString& line) {
        panel.typedLine().setQuery(line);
        advance(LiveReading::quiet);
    }
    bool readingDone() const { return !model->typedLine().smartParseInFlight(); }

    FakeModelServer server;
    LocalLanguageModel languageModel{{server.baseURL(), u"tiny"_s, {}}, &clock};
    tavlin::platform::ScopedLanguageModel useModel{languageModel};
    std::shared_ptr<FakeCommitStore> fake = std::make_shared<FakeCommitStore>();
};

}  // namespace

TEST_F(LocalModelTest, TheTypedLineIsReadWhileTheIndicatorPulsesAndOnlyGroundedFieldsCount) {
    server.answer(filed);
    server.answer(reading({{"listText", "#office"}, {"list", "Work"}}));  // not in the line
    PanelModel& panel = makeModel();

    typeAndWait(panel, u"eggs groceries"_s);
    EXPECT_TRUE(interpreting());
    ASSERT_TRUE(runMainLoopUntil([&] { return readingDone(); }));
    EXPECT_FALSE(interpreting());
    ASSERT_TRUE(panel.typedLine().smartParsed());
    EXPECT_EQ(panel.typedLine().smartParsed()->listName, u"Groceries"_s);
    EXPECT_EQ(panel.typedLine().effectiveParsed().title, u"eggs"_s);

    ASSERT_EQ(server.chats.size(), 1u);
    const FakeModelServer::Chat& chat = server.chats.front();
    EXPECT_EQ(chat.problem, "");
    EXPECT_EQ(chat.user, u"eggs groceries"_s);
    EXPECT_TRUE(chat.system.startsWith(u"You extract structured reminder fields from short task notes."_s));
    EXPECT_TRUE(chat.system.contains(u"Available lists: Groceries, Work."_s));
    EXPECT_EQ(chat.temperature, 0.0);
    EXPECT_EQ(chat.schema["properties"].size(), 9u);
    EXPECT_EQ(chat.schema["properties"]["priority"]["description"], "That urgency as one of: none, low, medium, high");

    typeAndWait(panel, u"tea for work"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return readingDone(); }));
    ASSERT_TRUE(panel.typedLine().smartParsed());
    EXPECT_EQ(panel.typedLine().smartParsed()->listName, std::nullopt) << "a list the line does not name";
}

TEST_F(LocalModelTest, AFailedReadingLeavesTheRulesReadingAndTheServerGoneStopsTheAsking) {
    server.script.push_back(FakeHTTPServer::Reply{.body = "{\"message\": nonsense"});
    PanelModel& panel = makeModel();
    typeAndWait(panel, u"milk tomorrow"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return readingDone(); }));
    EXPECT_EQ(panel.typedLine().smartParsed(), std::nullopt);
    EXPECT_EQ(panel.typedLine().effectiveParsed().title, u"milk"_s);

    // The server goes: the reading fails, the model is no longer offered,
    // and the next line is not even asked about.
    server.http.close();
    typeAndWait(panel, u"bread groceries"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return readingDone(); }));
    ASSERT_TRUE(runMainLoopUntil([&] { return !languageModel.isChecking(); }));
    EXPECT_FALSE(languageModel.isAvailable());
    panel.typedLine().setQuery(u"bread groceries!"_s);
    EXPECT_FALSE(panel.typedLine().smartParseInFlight());
    EXPECT_FALSE(interpreting());
    const std::size_t asked = server.chats.size();

    // It comes back: found at the next check, and read from then on.
    ASSERT_TRUE(server.http.listen());
    server.answer(filed);
    advance(LocalLanguageModel::recheckInterval);
    ASSERT_TRUE(runMainLoopUntil([&] { return languageModel.isAvailable(); }));
    typeAndWait(panel, u"soap groceries"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return readingDone(); }));
    EXPECT_EQ(server.chats.size(), asked + 1);
    ASSERT_TRUE(panel.typedLine().smartParsed());
    EXPECT_EQ(panel.typedLine().smartParsed()->listName, u"Groceries"_s);
}

TEST_F(LocalModelTest, ALineCommittedBeforeTheModelReadItIsUpdatedWithItsReading) {
    server.answer(filed);
    PanelModel& panel = makeModel();
    panel.typedLine().setQuery(u"milk groceries"_s);
    panel.fieldActions().submit();
    EXPECT_EQ(fake->calls, QStringList{u"add milk groceries"_s});
    ASSERT_TRUE(runMainLoopUntil([&] { return fake->calls.size() == 2; }));
    EXPECT_EQ(fake->calls.back(), u"update milk groceries: Groceries"_s);
    EXPECT_EQ(server.chats.back().user, u"milk groceries"_s);
}

TEST_F(LocalModelTest, TheModelSplitsACapturedTextTheRulesLeaveWhole) {
    server.answer({{"tasks", {"buy milk", "call the dentist"}}});
    server.answer(reading());
    server.answer(reading());
    PanelModel& panel = makeModel({.captureText = u"Could you buy milk and then call the dentist?"_s});
    ASSERT_TRUE(runMainLoopUntil([&] { return server.chats.size() == 3 && server.script.empty(); }));
    ASSERT_TRUE(panel.capture().captureCandidates());
    ASSERT_EQ(panel.capture().captureCandidates()->size(), 2u);
    EXPECT_EQ(panel.capture().captureCandidates()->at(0).text, u"buy milk"_s);
    EXPECT_EQ(panel.capture().captureCandidates()->at(1).text, u"call the dentist"_s);
    EXPECT_EQ(server.chats[0].user, u"Could you buy milk and then call the dentist?"_s);
    EXPECT_EQ(server.chats[0].schema["properties"]["tasks"]["type"], "array");
    EXPECT_EQ(server.chats[1].user, u"buy milk"_s);
}
