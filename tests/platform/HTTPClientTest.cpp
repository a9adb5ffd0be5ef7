#include "platform/HTTPClient.h"

#include "support/FakeHTTPServer.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

#include <optional>

using namespace std::chrono_literals;
using namespace tavlin::platform;

namespace {

// How a finished exchange ended: its answer or its error.
struct Outcome {
    std::optional<HTTPClient::Response> response;
    std::optional<HTTPError::Kind> error;
    int errorStatus = 0;
    QByteArray errorBody;
};

Outcome outcomeOf(const Task<HTTPClient::Response>& task) {
    Outcome outcome;
    try {
        outcome.response = task.result();
    } catch (const HTTPError& error) {
        outcome.error = error.kind();
        outcome.errorStatus = error.status();
        outcome.errorBody = error.response().body;
    }
    return outcome;
}

class HTTPClientTest : public ::testing::Test {
protected:
    // A long body crosses between the main loop (the fake server) and Qt's
    // network thread many times: on a loaded machine each crossing waits for
    // the scheduler, so `limit` is generous where much is sent.
    Outcome run(HTTPClient::Request request, std::chrono::milliseconds limit = 5s) {
        const Task<HTTPClient::Response> task = client.send(std::move(request));
        EXPECT_TRUE(runMainLoopUntil([&] { return task.isDone(); }, limit)) << "the exchange did not end";
        return task.isDone() ? outcomeOf(task) : Outcome{};
    }

    ManualClock clock;
    FakeHTTPServer server;
    HTTPClient client{"Tavlin/test", &clock};
};

}  // namespace

TEST_F(HTTPClientTest, PostsJSONWithItsHeadersAndGetsStatusHeadersAndBody) {
    FakeHTTPServer::Reply reply = FakeHTTPServer::Reply::json(R"({"ok":true})", 201);
    reply.headers.emplace_back("X-Answer", "42");
    server.on("/api/chat", reply);

    HTTPClient::Request request = HTTPClient::postJSON(server.url("/api/chat?stream=false"), R"({"q":1})");
    request.bearerToken = "s3cret";
    request.headers.emplace_back("Accept", "application/json");
    const Outcome outcome = run(request);

    ASSERT_TRUE(outcome.response) << "failed: " << int(outcome.error.value_or(HTTPError::Kind::failed));
    EXPECT_EQ(outcome.response->status, 201);
    EXPECT_EQ(outcome.response->header("x-answer"), "42");
    EXPECT_EQ(outcome.response->body, R"({"ok":true})");

    ASSERT_EQ(server.requests().size(), 1u);
    const FakeHTTPServer::Request& sent = server.requests().front();
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.target, "/api/chat?stream=false");
    EXPECT_EQ(sent.path, "/api/chat");
    EXPECT_EQ(sent.header("user-agent"), "Tavlin/test");
    EXPECT_EQ(sent.header("Authorization"), "Bearer s3cret");
    EXPECT_EQ(sent.header("Content-Type"), "application/json");
    EXPECT_EQ(sent.header("Accept"), "application/json");
    EXPECT_EQ(sent.body, R"({"q":1})");
}

TEST_F(HTTPClientTest, GetsOneAfterAnotherOverAKeptConnection) {
    int count = 0;
    server.on("/tags", [&](const FakeHTTPServer::Request&) {
        return FakeHTTPServer::Reply{.body = QByteArray::number(++count)};
    });
    EXPECT_EQ(run(HTTPClient::get(server.url("/tags"))).response->body, "1");
    EXPECT_EQ(run(HTTPClient::get(server.url("/tags"))).response->body, "2");
    EXPECT_EQ(server.requests().back().method, "GET");
    EXPECT_FALSE(server.requests().back().header("Authorization"));
    EXPECT_TRUE(server.requests().back().body.isEmpty());
}

TEST_F(HTTPClientTest, HeldAndDelayedAnswersArriveWhenTheirTimeComes) {
    server.on("/held", FakeHTTPServer::Reply{.body = "held", .held = true});
    server.on("/later", FakeHTTPServer::Reply{.body = "later", .delay = 20ms});
    const Task<HTTPClient::Response> held = client.send(HTTPClient::get(server.url("/held")));
    ASSERT_TRUE(runMainLoopUntil([&] { return server.heldCount() == 1; }));
    EXPECT_EQ(run(HTTPClient::get(server.url("/later"))).response->body, "later");
    EXPECT_FALSE(held.isDone());
    server.releaseHeld();
    ASSERT_TRUE(runMainLoopUntil([&] { return held.isDone(); }));
    EXPECT_EQ(held.result().body, "held");
}

TEST_F(HTTPClientTest, AnswersThatCannotBeUsedAreTypedErrors) {
    struct Case {
        const char* name;
        FakeHTTPServer::Reply reply;
        HTTPError::Kind kind;
        int status = 0;
        QByteArray body;
    };
    const Case cases[] = {
        {"not found", {.status = 404, .body = "no such model"}, HTTPError::Kind::status, 404, "no such model"},
        {"bad request", {.status = 400, .body = "bad"}, HTTPError::Kind::status, 400, "bad"},
        {"server error", {.status = 500, .body = "oops"}, HTTPError::Kind::status, 500, "oops"},
        {"redirect",
         {.status = 302, .headers = {{"Location", "http://example.invalid/"}}},
         HTTPError::Kind::status,
         302},
        {"length announced past the maximum", {.generatedBytes = 4096}, HTTPError::Kind::tooLarge},
        {"chunked body past the maximum", {.generatedBytes = 4096, .chunked = true}, HTTPError::Kind::tooLarge},
        {"body that never ends", {.generatedBytes = -1}, HTTPError::Kind::tooLarge},
        {"connection closed mid-body",
         {.body = "{\"partial\":", .generatedBytes = 100, .cutAfter = 20},
         HTTPError::Kind::failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.on("/x", c.reply);
        HTTPClient::Request request = HTTPClient::get(server.url("/x"));
        request.maximumBodySize = 1024;
        const Outcome outcome = run(request);
        EXPECT_FALSE(outcome.response);
        EXPECT_EQ(outcome.error, c.kind);
        EXPECT_EQ(outcome.errorStatus, c.status);
        EXPECT_EQ(outcome.errorBody, c.body);
    }
}

TEST_F(HTTPClientTest, AnEndlessBodyIsCutOffAndItsConnectionClosed) {
    server.on("/x", FakeHTTPServer::Reply{.generatedBytes = -1});
    HTTPClient::Request request = HTTPClient::get(server.url("/x"));
    request.maximumBodySize = 256 * 1024;
    EXPECT_EQ(run(request, 60s).error, HTTPError::Kind::tooLarge);
    // The server stops writing once the client has hung up.
    EXPECT_TRUE(runMainLoopUntil([&] { return server.openConnections() == 0; }, 60s));
}

TEST_F(HTTPClientTest, NoServerIsOffline) {
    server.close();
    EXPECT_EQ(run(HTTPClient::get(server.url("/x"))).error, HTTPError::Kind::offline);
}

TEST_F(HTTPClientTest, ASilentServerTimesOutOnTheClientsClock) {
    server.on("/x", FakeHTTPServer::Reply{.silent = true});
    HTTPClient::Request request = HTTPClient::get(server.url("/x"));
    request.timeout = 5s;
    const Task<HTTPClient::Response> task = client.send(request);
    ASSERT_TRUE(runMainLoopUntil([&] { return server.requests().size() == 1; }));
    clock.advance(4999ms);
    QCoreApplication::processEvents();
    EXPECT_FALSE(task.isDone());
    clock.advance(1ms);
    ASSERT_TRUE(runMainLoopUntil([&] { return task.isDone(); }));
    EXPECT_EQ(outcomeOf(task).error, HTTPError::Kind::timedOut);
    EXPECT_TRUE(runMainLoopUntil([&] { return server.openConnections() == 0; }));
}

TEST_F(HTTPClientTest, CancellingOrDroppingTheClientAbortsTheTransfer) {
    server.on("/x", FakeHTTPServer::Reply{.held = true});
    const Task<HTTPClient::Response> cancelled = client.send(HTTPClient::get(server.url("/x")));
    ASSERT_TRUE(runMainLoopUntil([&] { return server.heldCount() == 1; }));
    cancelled.cancel();
    ASSERT_TRUE(runMainLoopUntil([&] { return cancelled.isDone(); }));
    EXPECT_EQ(outcomeOf(cancelled).error, HTTPError::Kind::cancelled);
    EXPECT_TRUE(runMainLoopUntil([&] { return server.openConnections() == 0; }));

    auto shortLived = std::make_unique<HTTPClient>();
    const Task<HTTPClient::Response> dropped = shortLived->send(HTTPClient::get(server.url("/x")));
    ASSERT_TRUE(runMainLoopUntil([&] { return server.heldCount() == 2; }));
    shortLived.reset();
    ASSERT_TRUE(runMainLoopUntil([&] { return dropped.isDone(); }));
    EXPECT_EQ(outcomeOf(dropped).error, HTTPError::Kind::cancelled);
}
