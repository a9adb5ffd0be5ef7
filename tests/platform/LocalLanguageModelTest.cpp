#include "platform/LocalLanguageModel.h"

#include "support/FakeModelServer.h"
#include "support/LogCapture.h"
#include "support/MainLoop.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

#include <optional>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using nlohmann::json;
using API = FakeModelServer::API;

namespace {

const GenerationSchema schema{
    .typeName = QStringLiteral("Reading"),
    .properties = {{QStringLiteral("dateText"), QStringLiteral("The words naming the day, or empty")},
                   {QStringLiteral("tasks"), QStringLiteral("Each task"), GenerationSchema::Type::stringArray}},
};
const json rightRecord{{"dateText", "friday"}, {"tasks", {"call mum", "buy milk"}}};

// How a reading ended: its content, or the error's text.
struct Outcome {
    std::optional<GeneratedContent> content;
    QString error;
};

class LocalLanguageModelTest : public ::testing::Test {
protected:
    // A model of `server`, once its first check is over.
    std::unique_ptr<LocalLanguageModel> modelOf(const FakeModelServer& server, QString name = "tiny") {
        auto model = std::make_unique<LocalLanguageModel>(
            LocalLanguageModel::Configuration{server.baseURL(), std::move(name), "s3cret"}, &clock);
        EXPECT_TRUE(runMainLoopUntil([&] { return !model->isChecking(); }));
        return model;
    }

    Task<GeneratedContent> ask(LanguageModel& model, GenerationOptions options = {}, bool includeSchema = true) {
        return model.makeSession("Be brief.")->respond("call mum friday; buy milk", schema, includeSchema, options);
    }

    static Outcome outcomeOf(const Task<GeneratedContent>& task) {
        try {
            return {task.result(), {}};
        } catch (const LanguageModelError& error) {
            return {std::nullopt, QString::fromUtf8(error.what())};
        }
    }

    // Generous: an answer past the cap is cut off only after a megabyte
    // has crossed from Qt's network thread, slow on a loaded machine.
    Outcome finished(const Task<GeneratedContent>& task) {
        EXPECT_TRUE(runMainLoopUntil([&] { return task.isDone(); }, std::chrono::seconds(60)));
        return task.isDone() ? outcomeOf(task) : Outcome{std::nullopt, "not finished"};
    }

    ManualClock clock;
};

}  // namespace

TEST_F(LocalLanguageModelTest, AsksEitherAPIForTheRecordAndReadsItBack) {
    struct Case {
        API api;
        GenerationOptions options;
        bool includeSchema;
        std::optional<double> temperature;
        std::optional<int> maximumTokens;
    };
    const GenerationOptions warm{
        .sampling = GenerationOptions::Sampling::random, .temperature = 0.7, .maximumResponseTokens = 64};
    for (const Case& c :
         {Case{API::ollama, {}, true, 0.0, {}}, Case{API::ollama, warm, false, 0.7, 64},
          Case{API::openAICompatible, {}, true, 0.0, {}}, Case{API::openAICompatible, warm, false, 0.7, 64}}) {
        SCOPED_TRACE(c.api == API::ollama ? "Ollama" : "OpenAI-compatible");
        FakeModelServer server(c.api);
        server.answer(rightRecord);
        const auto model = modelOf(server);
        ASSERT_TRUE(model->isAvailable());

        const Outcome outcome = finished(ask(*model, c.options, c.includeSchema));
        ASSERT_TRUE(outcome.content) << outcome.error.toStdString();
        EXPECT_EQ(outcome.content->string("dateText"), "friday");
        EXPECT_EQ(outcome.content->stringArray("tasks"), QStringList({"call mum", "buy milk"}));

        ASSERT_EQ(server.chats.size(), 1u);
        const FakeModelServer::Chat& chat = server.chats.front();
        EXPECT_EQ(chat.problem, "");
        EXPECT_EQ(chat.model, "tiny");
        EXPECT_TRUE(chat.system.startsWith("Be brief."));
        EXPECT_EQ(chat.system.contains("\"dateText\""), c.includeSchema);
        EXPECT_EQ(chat.user, "call mum friday; buy milk");
        EXPECT_EQ(chat.temperature, c.temperature);
        EXPECT_EQ(chat.maximumTokens, c.maximumTokens);
        EXPECT_EQ(chat.authorization, "Bearer s3cret");
        EXPECT_EQ(chat.schema["properties"]["dateText"],
                  json({{"type", "string"}, {"description", "The words naming the day, or empty"}}));
        EXPECT_EQ(chat.schema["properties"]["tasks"]["items"], json({{"type", "string"}}));
    }
}

TEST_F(LocalLanguageModelTest, EveryUnusableAnswerFailsWithOneWarningAndTheNextOneIsRead) {
    struct Case {
        const char* name;
        API api;
        std::function<FakeHTTPServer::Reply(const FakeModelServer&)> reply;
    };
    const auto content = [](std::string text) {
        return [text](const FakeModelServer& server) { return server.answerWith(text); };
    };
    const auto raw = [](FakeHTTPServer::Reply reply) { return [reply](const FakeModelServer&) { return reply; }; };
    const Case cases[] = {
        {"Ollama's error", API::ollama, [](const FakeModelServer& server) { return server.refusal(); }},
        {"a refusal", API::openAICompatible, [](const FakeModelServer& server) { return server.refusal(); }},
        {"model not found", API::ollama, raw(FakeHTTPServer::Reply::json(R"({"error":"model not found"})", 404))},
        {"an answer that is no JSON", API::ollama, raw({.body = "<html>busy</html>"})},
        {"a record that is no JSON", API::ollama, content("dateText: friday")},
        {"a record that is no object", API::openAICompatible, content(R"(["friday"])")},
        {"a field of the wrong type", API::ollama, content(R"({"dateText":5,"tasks":[]})")},
        {"a list of the wrong type", API::ollama, content(R"({"dateText":"","tasks":[1]})")},
        {"a missing field", API::ollama, content(R"({"dateText":"friday"})")},
        {"an extra field", API::openAICompatible, content(R"({"dateText":"","tasks":[],"priority":"high"})")},
        {"ill-formed UTF-8", API::ollama,
         raw(FakeHTTPServer::Reply::json("{\"message\":{\"content\":\"{\\\"dateText\\\":\\\"fr\xff\xfe\\\"}\"}}"))},
        {"a 50 MB answer", API::ollama, raw({.body = "{", .generatedBytes = 50LL * 1024 * 1024})},
        // Chunked, so that no length tells the size before the body does.
        {"an answer past the cap with no length", API::openAICompatible,
         raw({.body = "{", .generatedBytes = 3LL * 1024 * 1024, .chunked = true})},
        {"a connection that breaks", API::ollama,
         raw({.body = R"({"message":)", .generatedBytes = 100, .cutAfter = 12})},
        {"an answer cut at its token limit", API::ollama,
         raw(FakeHTTPServer::Reply::json(R"({"message":{"content":"{\"dateText\":\"fri"},"done_reason":"length"})"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeModelServer server(c.api);
        server.script.push_back(c.reply(server));
        server.answer(rightRecord);
        const auto model = modelOf(server);
        LogCapture log("com.quorvandell.tavlin.platform", QtWarningMsg);

        const Outcome outcome = finished(ask(*model));
        EXPECT_FALSE(outcome.content);
        const QStringList warnings = log.take();
        ASSERT_EQ(warnings.size(), 1) << warnings.join('\n').toStdString();
        EXPECT_TRUE(warnings.front().contains("gave no reading")) << warnings.front().toStdString();

        // The server still answers its models list, so a check after an
        // HTTP failure finds the model again.
        ASSERT_TRUE(runMainLoopUntil([&] { return model->isAvailable() && !model->isChecking(); }));
        const Outcome next = finished(ask(*model));
        ASSERT_TRUE(next.content) << next.error.toStdString();
        EXPECT_EQ(next.content->string("dateText"), "friday");
    }
}

TEST_F(LocalLanguageModelTest, ASilentServerFailsWhenTheAnswerTimeRunsOut) {
    FakeModelServer server;
    server.script.push_back({.silent = true});
    const auto model = modelOf(server);
    LogCapture log("com.quorvandell.tavlin.platform", QtWarningMsg);

    const Task<GeneratedContent> reading = ask(*model);
    ASSERT_TRUE(runMainLoopUntil([&] { return server.chats.size() == 1; }));
    clock.advance(LocalLanguageModel::answerTimeout - 1ms);
    QCoreApplication::processEvents();
    EXPECT_FALSE(reading.isDone());
    clock.advance(1ms);
    EXPECT_FALSE(finished(reading).content);
    EXPECT_EQ(log.take().size(), 1);
}

TEST_F(LocalLanguageModelTest, AReadingNoLongerWantedIsAbortedWithoutAWarning) {
    FakeModelServer server;
    server.script.push_back({.held = true});
    const auto model = modelOf(server);
    LogCapture log("com.quorvandell.tavlin.platform", QtWarningMsg);

    const Task<GeneratedContent> reading = ask(*model);
    ASSERT_TRUE(runMainLoopUntil([&] { return server.http.heldCount() == 1; }));
    reading.cancel();
    EXPECT_FALSE(finished(reading).content);
    EXPECT_TRUE(runMainLoopUntil([&] { return server.http.openConnections() == 0; }));
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_TRUE(model->isAvailable());
}

TEST_F(LocalLanguageModelTest, AvailabilityFollowsTheServerAndItsModels) {
    FakeModelServer server(API::ollama, {"other:latest"});
    const auto model = modelOf(server, "tiny");
    EXPECT_FALSE(model->isAvailable());

    // The model is pulled: the next check finds it.
    server.models = {"tiny:latest"};
    clock.advance(LocalLanguageModel::recheckInterval);
    ASSERT_TRUE(runMainLoopUntil([&] { return model->isAvailable(); }));
    const std::size_t listings = server.modelListings();
    clock.advance(LocalLanguageModel::recheckInterval);
    QCoreApplication::processEvents();
    EXPECT_EQ(server.modelListings(), listings) << "no checks while all is well";

    // The server goes: the first reading fails, and the model is gone.
    server.http.close();
    EXPECT_FALSE(finished(ask(*model)).content);
    EXPECT_FALSE(model->isAvailable());
    ASSERT_TRUE(runMainLoopUntil([&] { return !model->isChecking(); }));
    EXPECT_FALSE(model->isAvailable());

    // And comes back: found at the next check, without a reading asked.
    ASSERT_TRUE(server.http.listen());
    clock.advance(LocalLanguageModel::recheckInterval);
    EXPECT_TRUE(runMainLoopUntil([&] { return model->isAvailable(); }));
}

TEST_F(LocalLanguageModelTest, TheSettingsMakeAConfigurationOnlyWithAModelAndAUsableURL) {
    const ScopedVariable key("TAVLIN_LANGUAGE_MODEL_KEY", QByteArray("from-the-environment"));
    const QUrl ollama("http://127.0.0.1:11434");
    EXPECT_FALSE(LocalLanguageModel::configuration(ollama, std::nullopt));
    EXPECT_FALSE(LocalLanguageModel::configuration(ollama, QString("  ")));
    EXPECT_FALSE(LocalLanguageModel::configuration(QUrl("file:///tmp/model"), QString("tiny")));
    EXPECT_FALSE(LocalLanguageModel::configuration(QUrl("http:///v1"), QString("tiny")));
    const auto configuration = LocalLanguageModel::configuration(ollama, QString(" llama3.2:1b "));
    ASSERT_TRUE(configuration);
    EXPECT_EQ(configuration->modelName, "llama3.2:1b");
    EXPECT_EQ(configuration->bearerToken, "from-the-environment");
}
