#include "mcp/MCPServer.h"

#include "mcp/ClientConnection.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPService.h"
#include "platform/Clock.h"

#include "RawClient.h"
#include "support/LogCapture.h"
#include "support/MainLoop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

#include <poll.h>
#include <sys/time.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace tavlin::mcp;
using namespace tavlin::platform;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const QByteArray token = "0123456789abcdef";
const QByteArray ping = R"({"jsonrpc":"2.0","id":1,"method":"ping"})";
const QByteArray callCount = R"({"jsonrpc":"2.0","id":2,"method":"tools/call","params":{"name":"count"}})";
const QByteArray callSlow = R"({"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"name":"slow"}})";
const QByteArray callLarge = R"({"jsonrpc":"2.0","id":4,"method":"tools/call","params":{"name":"large"}})";
constexpr qsizetype largeReplyBytes = 24 * 1024 * 1024;
const QByteArray pingAnswer = R"({"id":1,"jsonrpc":"2.0","result":{}})";

class MCPServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.start(0, false);
        ASSERT_TRUE(server.port());
    }

    QByteArray host() const { return "Host: 127.0.0.1:" + QByteArray::number(*server.port()); }
    QByteArray post(const QByteArray& body, QList<QByteArray> extra = {}) const {
        return httpRequest("POST", "/mcp", QList<QByteArray>{host(), "Authorization: Bearer " + token} + extra, body);
    }
    static QByteArray bodyOf(const QByteArray& response) { return response.mid(response.indexOf("\r\n\r\n") + 4); }

    std::vector<MCPTool> tools() {
        return {
            {u"count"_s,
             u"Counts its runs."_s,
             {{"type", "object"}},
             [this](nlohmann::json) -> Task<MCPToolResult> {
                 ++runs;
                 co_return MCPToolResult{u"ran"_s};
             }},
            {u"slow"_s,
             u"Takes a second."_s,
             {{"type", "object"}},
             [this](nlohmann::json) -> Task<MCPToolResult> {
                 ++slowStarts;
                 co_await sleep(1s);
                 co_return MCPToolResult{u"slept"_s};
             }},
            {u"large"_s,
             u"Answers at length."_s,
             {{"type", "object"}},
             [](nlohmann::json) -> Task<MCPToolResult> { co_return MCPToolResult{QString(largeReplyBytes, u'x')}; }},
        };
    }

    ManualClock clock;
    ScopedMainClock useClock{clock};
    int runs = 0;
    int slowStarts = 0;  // the slow calls begun: the server has read them
    QTemporaryDir folder;
    QString configurationPath = folder.filePath(u"Tavlin/mcp.json"_s);
    MCPService service{u"1"_s, QString(), tools()};
    MCPServer server{service, configurationPath, QString::fromLatin1(token)};
};

// A socket connected to the server on loopback, blocking; -1 when it fails.
int connectedSocket(quint16 port) {
    const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return descriptor;
    ::close(descriptor);
    return -1;
}

// Local clients that connect, send one byte (or nothing) and connect again
// as soon as the server closes them, on a thread of their own.
class ReconnectFlood {
public:
    ReconnectFlood(quint16 port, int clients) : thread_([this, port, clients] { run(port, clients); }) {}
    ~ReconnectFlood() {
        stop_ = true;
        thread_.join();
    }
    int reconnections() const { return reconnections_; }

private:
    void run(quint16 port, int clients) {
        std::vector<pollfd> sockets;
        const auto connectOne = [&](std::size_t index) {
            const int descriptor = connectedSocket(port);
            if (descriptor >= 0 && index % 2 == 0) (void)::send(descriptor, "P", 1, MSG_NOSIGNAL);
            return pollfd{.fd = descriptor, .events = POLLIN, .revents = 0};
        };
        for (int i = 0; i < clients; ++i) sockets.push_back(connectOne(sockets.size()));
        while (!stop_) {
            if (::poll(sockets.data(), sockets.size(), 20) <= 0) continue;
            for (std::size_t i = 0; i < sockets.size() && !stop_; ++i) {
                if (sockets[i].fd >= 0 && sockets[i].revents == 0) continue;
                char byte = 0;
                if (sockets[i].fd >= 0 && ::recv(sockets[i].fd, &byte, 1, MSG_DONTWAIT) > 0) continue;
                if (sockets[i].fd >= 0) ::close(sockets[i].fd);
                sockets[i] = connectOne(i);
                ++reconnections_;
            }
        }
        for (const pollfd& socket : sockets)
            if (socket.fd >= 0) ::close(socket.fd);
    }

    std::atomic<bool> stop_ = false;
    std::atomic<int> reconnections_ = 0;
    std::thread thread_;
};

// Sends `request` in one write on a new connection and reads its answer;
// nothing when the connection closes first.
std::optional<QByteArray> exchange(quint16 port, const QByteArray& request) {
    const int descriptor = connectedSocket(port);
    if (descriptor < 0) return std::nullopt;
    const timeval limit{.tv_sec = 60, .tv_usec = 0};
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::optional<QByteArray> answer;
    if (::send(descriptor, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL) == request.size()) {
        QByteArray received;
        char chunk[4096];
        while (!responseEnd(received)) {
            const ssize_t n = ::recv(descriptor, chunk, sizeof chunk, 0);
            if (n <= 0) break;
            received.append(chunk, n);
        }
        if (responseEnd(received)) answer = received;
    }
    ::close(descriptor);
    return answer;
}

HTTPRequest request(const QString& method, const QString& target, std::map<QString, QString> headers) {
    return HTTPRequest{.method = method, .target = target, .headers = std::move(headers), .body = "{}"};
}

// The status and body of an answer, or "forward" for one handed to the service.
std::pair<int, QString> decided(const MCPServer::RouteDecision& decision) {
    if (std::holds_alternative<MCPServer::Forward>(decision)) return {0, u"forward"_s};
    const auto& response = std::get<HTTPResponse>(decision);
    return {response.status, QString::fromUtf8(response.body).trimmed()};
}

}  // namespace

TEST_F(MCPServerTest, AnswersPingExactly) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send(post(ping)));
    const auto responses = client.responses(1);
    ASSERT_EQ(responses.size(), 1u);
    EXPECT_EQ(responses[0],
              "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 36\r\n"
              "Connection: keep-alive\r\n\r\n" +
                  pingAnswer);
}

TEST_F(MCPServerTest, RoutesByPathHostOriginTokenAndMethod) {
    const QString bearer = u"Bearer "_s + QString::fromLatin1(token);
    const QString local = u"localhost:41733"_s;
    struct Case {
        const char* name;
        HTTPRequest request;
        int status;  // 0: forwarded
        QString body;
    };
    const QString notFound = u"Not found. Tavlin's MCP endpoint is /mcp."_s;
    const QString foreignHost = u"Forbidden: Tavlin only answers on localhost."_s;
    const QString crossOrigin = u"Forbidden: cross-origin requests are not accepted."_s;
    const QString unauthorized =
        u"Unauthorized. Send the token from Tavlin's mcp.json as a bearer token, or use the "
        "stdio bridge (Tavlin --mcp), which reads it for you."_s;
    const Case cases[] = {
        {"accepted", request(u"POST"_s, u"/mcp"_s, {{u"host"_s, local}, {u"authorization"_s, bearer}}), 0,
         u"forward"_s},
        {"a query", request(u"POST"_s, u"/mcp?x=1"_s, {{u"host"_s, local}, {u"authorization"_s, bearer}}), 0,
         u"forward"_s},
        {"a trailing slash", request(u"POST"_s, u"/mcp/"_s, {{u"host"_s, local}, {u"authorization"_s, bearer}}), 404,
         notFound},
        {"upper case", request(u"POST"_s, u"/MCP"_s, {{u"host"_s, local}, {u"authorization"_s, bearer}}), 404,
         notFound},
        {"the path before the token", request(u"POST"_s, u"/"_s, {{u"host"_s, local}}), 404, notFound},
        {"DNS rebinding",
         request(u"POST"_s, u"/mcp"_s, {{u"host"_s, u"evil.example:41733"_s}, {u"authorization"_s, bearer}}), 403,
         foreignHost},
        {"a look-alike host",
         request(u"POST"_s, u"/mcp"_s, {{u"host"_s, u"127.0.0.1.example"_s}, {u"authorization"_s, bearer}}), 403,
         foreignHost},
        {"localhost.example",
         request(u"POST"_s, u"/mcp"_s, {{u"host"_s, u"localhost.example"_s}, {u"authorization"_s, bearer}}), 403,
         foreignHost},
        {"no host", request(u"POST"_s, u"/mcp"_s, {{u"authorization"_s, bearer}}), 403, foreignHost},
        {"the host before the token", request(u"POST"_s, u"/mcp"_s, {{u"host"_s, u"evil.example"_s}}), 403,
         foreignHost},
        {"an upper-case host",
         request(u"POST"_s, u"/mcp"_s, {{u"host"_s, u"LOCALHOST:41733"_s}, {u"authorization"_s, bearer}}), 0,
         u"forward"_s},
        {"IPv6 loopback", request(u"POST"_s, u"/mcp"_s, {{u"host"_s, u"[::1]:41733"_s}, {u"authorization"_s, bearer}}),
         0, u"forward"_s},
        {"a cross origin",
         request(u"POST"_s, u"/mcp"_s,
                 {{u"host"_s, local}, {u"origin"_s, u"https://evil.example"_s}, {u"authorization"_s, bearer}}),
         403, crossOrigin},
        {"a null origin",
         request(u"POST"_s, u"/mcp"_s, {{u"host"_s, local}, {u"origin"_s, u"null"_s}, {u"authorization"_s, bearer}}),
         403, crossOrigin},
        {"an empty origin",
         request(u"POST"_s, u"/mcp"_s, {{u"host"_s, local}, {u"origin"_s, QString()}, {u"authorization"_s, bearer}}),
         403, crossOrigin},
        {"a local origin on any scheme and port",
         request(u"POST"_s, u"/mcp"_s,
                 {{u"host"_s, local}, {u"origin"_s, u"app://LocalHost:9"_s}, {u"authorization"_s, bearer}}),
         0, u"forward"_s},
        {"an IPv6 origin",
         request(u"POST"_s, u"/mcp"_s,
                 {{u"host"_s, local}, {u"origin"_s, u"http://[::1]:8080"_s}, {u"authorization"_s, bearer}}),
         0, u"forward"_s},
        {"no token", request(u"POST"_s, u"/mcp"_s, {{u"host"_s, local}}), 401, unauthorized},
        {"a wrong token", request(u"POST"_s, u"/mcp"_s, {{u"host"_s, local}, {u"authorization"_s, u"Bearer nope"_s}}),
         401, unauthorized},
        {"a longer token", request(u"POST"_s, u"/mcp"_s, {{u"host"_s, local}, {u"authorization"_s, bearer + u"0"_s}}),
         401, unauthorized},
        {"lower-case bearer",
         request(u"POST"_s, u"/mcp"_s,
                 {{u"host"_s, local}, {u"authorization"_s, u"bearer "_s + QString::fromLatin1(token)}}),
         401, unauthorized},
        {"GET", request(u"GET"_s, u"/mcp"_s, {{u"host"_s, local}, {u"authorization"_s, bearer}}), 405,
         u"Tavlin has no server-to-client stream; POST JSON-RPC messages here."_s},
        {"PUT", request(u"PUT"_s, u"/mcp"_s, {{u"host"_s, local}, {u"authorization"_s, bearer}}), 405,
         u"Method not allowed."_s},
        {"DELETE", request(u"DELETE"_s, u"/mcp"_s, {{u"host"_s, local}, {u"authorization"_s, bearer}}), 200, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decided(server.route(c.request)), std::pair(c.status, c.body));
    }
}

TEST_F(MCPServerTest, RefusalsCarryTheirHeadersAndRunNothing) {
    RawClient client(*server.port());
    const QByteArray foreign = "Host: evil.example:41733";
    ASSERT_TRUE(
        client.send(httpRequest("POST", "/mcp", {foreign, "Authorization: Bearer " + token}, callCount) +
                    httpRequest("POST", "/mcp", {host(), "Authorization: bearer " + token}, callCount) +
                    httpRequest("POST", "/mcp", {host(), "Origin: null", "Authorization: Bearer " + token}, callCount) +
                    httpRequest("GET", "/mcp", {host(), "Authorization: Bearer " + token})));
    const auto responses = client.responses(4);
    ASSERT_EQ(responses.size(), 4u);
    EXPECT_THAT(responses[0].toStdString(), StartsWith("HTTP/1.1 403 Forbidden\r\n"));
    EXPECT_THAT(responses[1].toStdString(), StartsWith("HTTP/1.1 401 Unauthorized\r\n"));
    EXPECT_THAT(responses[1].toStdString(), HasSubstr("\r\nWWW-Authenticate: Bearer\r\n"));
    EXPECT_THAT(responses[2].toStdString(), StartsWith("HTTP/1.1 403 Forbidden\r\n"));
    EXPECT_THAT(responses[3].toStdString(), StartsWith("HTTP/1.1 405 Method Not Allowed\r\n"));
    EXPECT_THAT(responses[3].toStdString(), HasSubstr("\r\nAllow: POST, DELETE\r\n"));
    EXPECT_EQ(runs, 0);
}

TEST_F(MCPServerTest, NotificationsAreAcceptedWithAnEmptyBody) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send(post(R"({"jsonrpc":"2.0","method":"notifications/initialized"})")));
    const auto responses = client.responses(1);
    ASSERT_EQ(responses.size(), 1u);
    EXPECT_EQ(responses[0], "HTTP/1.1 202 Accepted\r\nContent-Length: 0\r\nConnection: keep-alive\r\n\r\n");
}

TEST_F(MCPServerTest, AnswersPipelinedRequestsInOrderOnOneConnection) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send(post(callSlow) + post(ping)));
    ASSERT_TRUE(runMainLoopUntil([&] { return slowStarts == 1; }));
    client.idle(50);
    EXPECT_TRUE(client.responses(1, 0).empty()) << "the ping waits for the slow call before it";
    clock.advance(1s);
    const auto responses = client.responses(2);
    ASSERT_EQ(responses.size(), 2u);
    EXPECT_THAT(bodyOf(responses[0]).toStdString(), HasSubstr("slept"));
    EXPECT_EQ(bodyOf(responses[1]), pingAnswer);
    ASSERT_TRUE(client.send(post(ping)));
    EXPECT_EQ(client.responses(3).size(), 3u) << "the connection stays open";
}

TEST_F(MCPServerTest, AnswersAPeerThatHasFinishedSendingThenCloses) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send(post(callSlow) + post(ping)));
    client.shutdownWrite();
    ASSERT_TRUE(runMainLoopUntil([&] { return slowStarts == 1; }));
    clock.advance(1s);
    EXPECT_EQ(client.responses(2).size(), 2u);
    EXPECT_TRUE(client.waitForClose());
}

TEST_F(MCPServerTest, AMalformedRequestIsAnsweredAndNothingAfterItRuns) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send("POST /mcp HTTP/1.1\r\nContent-Length: 12abc\r\n\r\n" + post(callCount)));
    const auto responses = client.responses(1);
    ASSERT_EQ(responses.size(), 1u);
    EXPECT_EQ(responses[0],
              "HTTP/1.1 400 Bad Request\r\nContent-Type: text/plain; charset=utf-8\r\n"
              "Content-Length: 25\r\nConnection: keep-alive\r\n\r\nMalformed Content-Length\n");
    EXPECT_TRUE(client.waitForClose());
    EXPECT_EQ(runs, 0);
}

TEST_F(MCPServerTest, BytesArrivingAfterAMalformedRequestAreNotRun) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send(post(callSlow)));
    ASSERT_TRUE(client.send("BROKEN\r\n\r\n"));
    ASSERT_TRUE(runMainLoopUntil([&] { return slowStarts == 1; }));
    ASSERT_TRUE(client.send(post(callCount)));
    clock.advance(1s);
    EXPECT_TRUE(client.waitForClose());
    EXPECT_EQ(client.responses(3, 0).size(), 2u) << "the slow call's answer, then the refusal";
    EXPECT_EQ(runs, 0);
}

TEST_F(MCPServerTest, StopsReadingWhileItsBufferHoldsAWholeRequest) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send(post(callSlow)));
    ASSERT_TRUE(runMainLoopUntil([&] { return slowStarts == 1; }));
    // The slow call is being answered; a client that keeps sending is held
    // back once the server's buffer and the kernel's are full.
    const QByteArray flood(1 << 20, 'x');
    int accepted = 0;
    while (accepted < 64 && client.send(flood, 200)) ++accepted;
    EXPECT_LT(accepted, 64);
    EXPECT_GE(client.sentBytes(), ClientConnection::maxBufferBytes);
    clock.advance(1s);  // the slow call ends, and with it the connection's last task
}

TEST_F(MCPServerTest, AbandonedPipelinedRequestsAreNotRun) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send(post(callSlow) + post(callCount) + post(callCount)));
    ASSERT_TRUE(runMainLoopUntil([&] { return slowStarts == 1; }));
    client.close();  // while the slow call is answered
    clock.advance(1s);
    ASSERT_TRUE(runMainLoopUntil([&] { return server.connectionCount() == 0; }));
    EXPECT_EQ(runs, 0) << "the requests behind the one that had started";
}

// Clients that send a request's head a byte at a time hold their slots only
// until someone needs one.
TEST_F(MCPServerTest, TricklingClientsCannotHoldTheServer) {
    std::vector<std::unique_ptr<RawClient>> trickling;
    const QByteArray head = post(ping);
    for (std::size_t i = 0; i < MCPServer::maxConnections; ++i) {
        trickling.push_back(std::make_unique<RawClient>(*server.port()));
        ASSERT_TRUE(trickling.back()->send(head.first(1)));
        // Each is taken in, its first byte with it, before the next one comes.
        ASSERT_TRUE(runMainLoopUntil([&] { return server.connectionCount() == i + 1; }));
        clock.advance(10ms);
    }
    for (qsizetype byte = 1; byte < 6; ++byte) {
        clock.advance(1s);
        for (const auto& client : trickling) ASSERT_TRUE(client->send(head.sliced(byte, 1)));
        trickling.front()->idle(5);
    }
    RawClient real(*server.port());
    ASSERT_TRUE(real.send(post(ping)));
    const auto answers = real.responses(1);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(bodyOf(answers[0]), pingAnswer);
    EXPECT_TRUE(trickling.front()->waitForClose()) << "the one idle longest made room";
    EXPECT_FALSE(trickling.back()->waitForClose(50));
}

TEST_F(MCPServerTest, AHeadMustArriveWithinItsLimitHoweverItTrickles) {
    RawClient client(*server.port());
    const QByteArray head = post(ping);
    ASSERT_TRUE(client.send(head.first(1)));
    // Taken in, and with it the byte that came first: the head's time runs.
    ASSERT_TRUE(runMainLoopUntil([&] { return server.connectionCount() == 1; }));
    for (qsizetype byte = 1; byte < 10; ++byte) {
        clock.advance(1s);
        ASSERT_TRUE(client.send(head.sliced(byte, 1)));
        client.idle(5);
    }
    EXPECT_FALSE(client.waitForClose(50)) << "9 s after its first byte";
    clock.advance(1s);
    EXPECT_TRUE(client.waitForClose());
    EXPECT_TRUE(client.responses(1, 0).empty());
}

TEST_F(MCPServerTest, ANewClientTakesTheSlotOfTheOneIdleLongest) {
    std::vector<std::unique_ptr<RawClient>> clients;
    for (std::size_t i = 0; i < MCPServer::maxConnections; ++i) {
        clients.push_back(std::make_unique<RawClient>(*server.port()));
        ASSERT_TRUE(clients.back()->send(post(ping)));
        ASSERT_EQ(clients.back()->responses(1).size(), 1u);
        clock.advance(100ms);
    }
    ASSERT_TRUE(clients.front()->send(post(ping)));  // the first is now the latest to have worked
    ASSERT_EQ(clients.front()->responses(2).size(), 2u);
    RawClient newcomer(*server.port());
    ASSERT_TRUE(newcomer.send(post(ping)));
    EXPECT_EQ(newcomer.responses(1).size(), 1u);
    EXPECT_TRUE(clients[1]->waitForClose());
    EXPECT_FALSE(clients.front()->waitForClose(50));
}

TEST_F(MCPServerTest, WhileEverySlotAnswersARequestTheNextClientWaits) {
    std::vector<std::unique_ptr<RawClient>> clients;
    for (std::size_t i = 0; i < MCPServer::maxConnections; ++i) {
        clients.push_back(std::make_unique<RawClient>(*server.port()));
        ASSERT_TRUE(clients.back()->send(post(callSlow)));
        ASSERT_TRUE(runMainLoopUntil([&] { return slowStarts == int(clients.size()); }));
    }
    RawClient waiting(*server.port());
    ASSERT_TRUE(waiting.send(post(ping)));
    EXPECT_TRUE(waiting.responses(1, 200).empty());
    clock.advance(1s);  // the slow calls end; their connections are idle now
    EXPECT_EQ(waiting.responses(1).size(), 1u);
    EXPECT_EQ(clients.back()->responses(1).size(), 1u) << "a request that had started is answered";
}

// Clients that hold slots by reconnecting as soon as they are closed lock
// no one out: every request a real client sends in one write is answered,
// each after the flood has turned over every slot several times.
TEST_F(MCPServerTest, AReconnectFloodLocksNoClientOut) {
    constexpr int requests = 50;
    const quint16 port = *server.port();
    const QByteArray request = post(ping);
    std::atomic<int> answered = 0;
    std::atomic<bool> done = false;
    QStringList failures;  // written by the client's thread, read once it has ended
    {
        ReconnectFlood flood(port, 200);
        std::thread client([&] {
            for (int i = 0; i < requests; ++i) {
                const int before = flood.reconnections();
                const QDeadlineTimer stalled(std::chrono::seconds(60));
                while (flood.reconnections() < before + 400 && !stalled.hasExpired()) std::this_thread::sleep_for(1ms);
                const std::optional<QByteArray> answer = exchange(port, request);
                if (answer && bodyOf(*answer) == pingAnswer) ++answered;
                else failures += u"request %1: %2"_s.arg(i).arg(answer ? QString::fromUtf8(*answer) : u"closed"_s);
            }
            done = true;
        });
        runMainLoopUntil([&] { return done.load(); }, 300s);
        client.join();
        EXPECT_GE(flood.reconnections(), requests * 400) << "the flood ran beside every request";
    }
    EXPECT_EQ(answered, requests) << failures.join(u'\n').toStdString();
}

// A long answer read slowly is not cut: a connection still sending is at
// work, however long the sending takes.
TEST_F(MCPServerTest, ALongAnswerReadSlowlyIsSentWhole) {
    RawClient client(*server.port(), 64 * 1024);
    ASSERT_TRUE(client.send(post(callLarge)));
    int steps = 0;  // each a little read, then most of the idle limit on the clock
    while (client.responses(1, 0).empty() && !client.hasClosed() && steps < 5000) {
        const qsizetype before = client.readUntil([](const QByteArray&) { return true; }, 0).size();
        client.readUntil([before](const QByteArray& bytes) { return bytes.size() > before; });
        clock.advance(ClientConnection::idleLimit - 10s);
        ++steps;
    }
    const auto responses = client.responses(1, 0);
    ASSERT_EQ(responses.size(), 1u) << "after " << steps << " steps";
    EXPECT_GT(bodyOf(responses[0]).size(), largeReplyBytes);
    EXPECT_GE(steps, 3) << "the sending took more than twice the idle limit";
    EXPECT_FALSE(client.waitForClose(50));
}

TEST_F(MCPServerTest, ClosesIdleConnections) {
    RawClient client(*server.port());
    ASSERT_TRUE(client.send(post(ping)));
    ASSERT_EQ(client.responses(1).size(), 1u);
    clock.advance(ClientConnection::idleLimit - 1s);
    EXPECT_FALSE(client.waitForClose(50));
    ASSERT_TRUE(client.send(post(ping)));  // the limit counts from this answer now
    ASSERT_EQ(client.responses(2).size(), 2u);
    clock.advance(ClientConnection::idleLimit - 1s);
    EXPECT_FALSE(client.waitForClose(50));
    clock.advance(1s);
    EXPECT_TRUE(client.waitForClose());
}

TEST_F(MCPServerTest, StopClosesEveryConnectionAndTheListener) {
    const quint16 port = *server.port();
    RawClient client(port);
    ASSERT_TRUE(client.send(post(ping)));
    ASSERT_EQ(client.responses(1).size(), 1u);
    server.stop();
    EXPECT_TRUE(client.waitForClose());
    EXPECT_FALSE(RawClient(port).isConnected());
    EXPECT_EQ(server.port(), std::nullopt);
    EXPECT_EQ(MCPConfiguration::read(configurationPath), (MCPConfiguration{.token = QString::fromLatin1(token)}));
}

TEST_F(MCPServerTest, WritesItsPortWhileListening) {
    EXPECT_EQ(MCPConfiguration::read(configurationPath),
              (MCPConfiguration{.token = QString::fromLatin1(token), .port = server.port()}));
}

TEST(MCPServer, FallsBackOnceToAPortTheSystemChooses) {
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost));
    QTemporaryDir folder;
    const QString path = folder.filePath(u"mcp.json"_s);
    MCPService service(u"1"_s, QString(), {});

    LogCapture log("com.quorvandell.tavlin.mcp", QtWarningMsg);
    MCPServer fallingBack(service, path, u"t"_s);
    fallingBack.start(holder.serverPort(), true);
    ASSERT_TRUE(fallingBack.port());
    EXPECT_NE(*fallingBack.port(), holder.serverPort());
    EXPECT_EQ(fallingBack.lastError(), std::nullopt);
    EXPECT_EQ(MCPConfiguration::read(path)->port, fallingBack.port());
    // A recovered failure is a warning, not an error.
    EXPECT_EQ(log.take(QtCriticalMsg), QStringList());
    const QStringList warnings = log.take();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_THAT(warnings[0].toStdString(), HasSubstr("listening on another port"));

    MCPServer fixed(service, path, u"t"_s);
    fixed.start(holder.serverPort(), false);
    EXPECT_EQ(log.take(QtCriticalMsg).size(), 1);
    EXPECT_FALSE(fixed.hasListener());
    EXPECT_EQ(fixed.port(), std::nullopt);
    ASSERT_TRUE(fixed.lastError());
    EXPECT_THAT(fixed.lastError()->toStdString(), StartsWith("Couldn't open a port: "));
    // The one that listens keeps its port in the file.
    EXPECT_EQ(MCPConfiguration::read(path), (MCPConfiguration{.token = u"t"_s, .port = fallingBack.port()}));
}

// Two Tavlins beside each other, say while one hands over to the next: the
// file belongs to the one that wrote it last, and the other's stop must not
// take that one's port out of it.
TEST(MCPServer, StoppingLeavesAnotherServersPortInTheFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath(u"mcp.json"_s);
    MCPService service(u"1"_s, QString(), {});
    MCPServer first(service, path, u"t"_s);
    MCPServer second(service, path, u"t"_s);
    first.start(0, false);
    second.start(0, false);
    ASSERT_TRUE(first.port() && second.port());

    first.stop();
    EXPECT_EQ(MCPConfiguration::read(path)->port, second.port());
    second.stop();
    EXPECT_EQ(MCPConfiguration::read(path), (MCPConfiguration{.token = u"t"_s}));
}

TEST(MCPServer, WritesNothingWhenTheFileIsNotItsToWrite) {
    QTemporaryDir folder;
    const QString path = folder.filePath(u"mcp.json"_s);
    const MCPConfiguration others{.token = u"theirs"_s, .port = 40000};
    ASSERT_EQ(others.save(path), std::nullopt);
    MCPService service(u"1"_s, QString(), {});
    MCPServer server(service, path, u"theirs"_s);
    server.setWritesConfiguration(false);

    server.start(0, false);
    ASSERT_TRUE(server.port());
    EXPECT_EQ(MCPConfiguration::read(path), others);
    server.stop();
    EXPECT_EQ(MCPConfiguration::read(path), others);
}

TEST(MCPServer, StopWithoutAListenerDoesNothing) {
    QTemporaryDir folder;
    const QString path = folder.filePath(u"mcp.json"_s);
    MCPService service(u"1"_s, QString(), {});
    MCPServer server(service, path, u"t"_s);
    server.stop();
    EXPECT_FALSE(QFile::exists(path));
}
