#include "ReminderToolsFixture.h"
#include "SlowLanguageModel.h"

#include <gmock/gmock.h>

using namespace std::chrono_literals;
using namespace tavlin::mcp;
using nlohmann::json;
using ::testing::EndsWith;
using Verdict = ReminderTools::ModelVerdict;

namespace {

class ModelWaitTest : public ReminderToolsFixture {
protected:
    void SetUp() override { open({.lists = {list("work", "Work")}}); }

    SlowLanguageModel model;
    tavlin::platform::ScopedLanguageModel useModel{model};
};

}  // namespace

TEST_F(ModelWaitTest, GivesAVerdictWithinEightSeconds) {
    struct Case {
        const char* name;
        bool available;
        std::chrono::milliseconds delay;
        bool fails;
        std::size_t verdict;  // index of the outcome
        std::chrono::milliseconds after;
    };
    const Case cases[] = {
        {"no model", false, 0ms, false, 2, 0ms},
        {"an answer at once", true, 0ms, false, 0, 0ms},
        {"an answer after 2 s", true, 2s, false, 0, 2s},
        {"an answer after 10 s", true, 10s, false, 1, 8s},
        {"a failure", true, 1s, true, 3, 1s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.available = c.available;
        model.delay = c.delay;
        model.fails = c.fails;
        const auto started = clock.now();
        const auto wait = ReminderTools::awaitModel(QStringLiteral("call mum tomorrow"), {QStringLiteral("Work")});
        clock.runDueActions();
        while (!wait.isDone() && clock.now() - started < 20s) clock.advance(100ms);
        ASSERT_TRUE(wait.isDone());
        EXPECT_EQ(wait.result().outcome.index(), c.verdict);
        EXPECT_EQ(clock.now() - started, c.after);
        clock.advance(20s);  // what is left of the race runs out
    }
    EXPECT_EQ(model.questions, 4) << "no question without a model";
}

TEST_F(ModelWaitTest, ALateModelStillAnswersThroughTheTaskItHandsOver) {
    model.delay = 10s;
    const auto wait = ReminderTools::awaitModel(QStringLiteral("call mum tomorrow"), {});
    clock.advance(8s);
    ASSERT_TRUE(wait.isDone());
    const auto* timedOut = std::get_if<Verdict::TimedOut>(&wait.result().outcome);
    ASSERT_NE(timedOut, nullptr);
    EXPECT_FALSE(timedOut->model.isDone());
    clock.advance(2s);
    ASSERT_TRUE(timedOut->model.isDone());
    ASSERT_TRUE(timedOut->model.result());
    EXPECT_EQ(timedOut->model.result()->title, QStringLiteral("call mum"));
}

TEST_F(ModelWaitTest, PreviewNamesTheReaderItShows) {
    const std::tuple<bool, std::chrono::milliseconds, bool, const char*> cases[] = {
        {false, 0ms, false, "deterministic"},
        {true, 1s, false, "model"},
        {true, 1s, true, "deterministic (model agreed)"},
        {true, 9s, false, "deterministic (model timed out)"},
    };
    for (const auto& [available, delay, fails, reader] : cases) {
        SCOPED_TRACE(reader);
        model.available = available;
        model.delay = delay;
        model.fails = fails;
        const json result = callAsTimePasses("preview_quick_add", {{"text", "call mum !!"}});
        ASSERT_FALSE(result.is_null());
        EXPECT_EQ(result.at("structuredContent").at("parser"), reader);
        EXPECT_THAT(textOf(result), EndsWith(std::string(" (") + reader + ")"));
        clock.advance(20s);
    }
}

TEST_F(ReminderToolsFixture, PreviewShowsWhatAQuickAddTextWouldBecome) {
    open({.lists = {list("work", "Work")}});
    struct Case {
        const char* text;
        std::string preview;
        std::string line;
    };
    const Case cases[] = {
        {"call mum tomorrow 17:00 !!",
         R"({"due":"2026-03-05T17:00:00+01:00","dueHasTime":true,"parser":"deterministic","priority":"medium","title":"call mum"})",
         "Would create: call mum · due 2026-03-05T17:00:00+01:00 · medium priority (deterministic)"},
        {"!!!", R"({"parser":"deterministic","priority":"none","title":"!!!"})", "Would create: !!! (deterministic)"},
        {"gym daily",
         R"({"due":"2026-03-04","dueHasTime":false,"parser":"deterministic","priority":"none","repeats":"every day","title":"gym"})",
         "Would create: gym · due 2026-03-04 · every day (deterministic)"},
        {"milk; eggs #work", R"({"list":"Work","parser":"deterministic","priority":"none","title":"milk; eggs"})",
         "Would create: milk; eggs · in Work (deterministic)"},
        {"plan #nolist", R"({"parser":"deterministic","priority":"none","title":"plan #nolist"})",
         "Would create: plan #nolist (deterministic)"},
        {"bins @home",
         R"({"location":{"name":"home","trigger":"arrive"},"parser":"deterministic","priority":"none","title":"bins"})",
         "Would create: bins · at home (deterministic)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const json result = call("preview_quick_add", {{"text", c.text}});
        EXPECT_EQ(JSONRPCCodec::serialize(result.at("structuredContent")).toStdString(), c.preview);
        EXPECT_EQ(textOf(result), c.line);
    }
    EXPECT_EQ(textOf(call("preview_quick_add", {{"text", "  "}})), "text is required");
    EXPECT_TRUE(backend.contents().reminders.empty());
}
