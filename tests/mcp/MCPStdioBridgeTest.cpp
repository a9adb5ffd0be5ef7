#include "mcp/MCPStdioBridge.h"

#include "mcp/BridgeHTTPClient.h"
#include "mcp/MCPConfiguration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <deque>
#include <functional>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace tavlin::mcp;
using namespace tavlin::mcp::MCPStdioBridge;
using ::testing::ElementsAre;

namespace {

const QString unreachable =
    u"Tavlin's MCP server isn't reachable. Open Tavlin, then turn on “Let AI tools use Tavlin” under Settings → AI "
    "tools."_s;
const QByteArray pingLine = R"({"jsonrpc":"2.0","id":5,"method":"ping"})";
const QByteArray notificationLine = R"({"jsonrpc":"2.0","method":"notifications/initialized"})";

QByteArray errorLine(const char* id, const QString& message) {
    return R"({"error":{"code":-32000,"message":")" + message.toUtf8() + R"("},"id":)" + id + R"(,"jsonrpc":"2.0"})";
}

// The world as a test scripts it: a server whose answer a function gives,
// a clock that moves only when the bridge sleeps, and a launch that may
// bring the server up after a while.
class FakeServices final : public Services {
public:
    std::function<Transfer(const QByteArray& body)> answer = [](const QByteArray&) { return Unreachable{}; };
    bool running = false;
    std::optional<QString> launchFailure;
    std::function<void()> onLaunch = [] {};
    int launches = 0;
    std::vector<QByteArray> posted;
    std::vector<QUrl> urls;
    std::vector<QByteArray> output;
    std::vector<QByteArray> errors;
    std::chrono::steady_clock::time_point clock{};

    Transfer post(const QByteArray& body, const QUrl& url, const QString&) override {
        posted.push_back(body);
        urls.push_back(url);
        return answer(body);
    }
    bool isTavlinRunning() override { return running; }
    std::optional<QString> launchTavlin() override {
        ++launches;
        onLaunch();
        return launchFailure;
    }
    void sleep(std::chrono::milliseconds duration) override { clock += duration; }
    std::chrono::steady_clock::time_point now() override { return clock; }
    void writeOutput(const QByteArray& line) override { output.push_back(line); }
    void writeError(const QByteArray& line) override { errors.push_back(line); }
};

class BridgeTest : public ::testing::Test {
protected:
    void configure(std::optional<quint16> port, const QString& token = u"secret"_s) {
        ASSERT_EQ(MCPConfiguration({.token = token, .port = port}).save(path), std::nullopt);
    }

    QTemporaryDir folder;
    QString path = folder.filePath(u"Tavlin/mcp.json"_s);
    FakeServices services;
    Relay relay{path, services};
};

}  // namespace

TEST_F(BridgeTest, MapsEveryOutcomeToItsLines) {
    struct Case {
        const char* name;
        QByteArray line;
        Transfer transfer;
        std::vector<QByteArray> output;
        std::vector<QByteArray> errors;
    };
    const Case cases[] = {
        {"a reply",
         pingLine,
         Reply{R"({"id":5,"jsonrpc":"2.0","result":{}})"},
         {R"({"id":5,"jsonrpc":"2.0","result":{}})"},
         {}},
        {"a batch reply on one line", "[" + pingLine + "]", Reply{"[1,2]"}, {"[1,2]"}, {}},
        {"silence", notificationLine, Silence{}, {}, {}},
        {"a failure of a request",
         pingLine,
         Failure{u"Tavlin answered 404: Not found."_s},
         {errorLine("5", u"Tavlin answered 404: Not found."_s)},
         {"tavlin --mcp: Tavlin answered 404: Not found."}},
        {"a string id",
         R"({"jsonrpc":"2.0","id":"a","method":"ping"})",
         Failure{u"x"_s},
         {errorLine("\"a\"", u"x"_s)},
         {"tavlin --mcp: x"}},
        {"a failure of a notification", notificationLine, Failure{u"x"_s}, {}, {"tavlin --mcp: x"}},
        {"an id of true", R"({"jsonrpc":"2.0","id":true,"method":"ping"})", Failure{u"x"_s}, {}, {"tavlin --mcp: x"}},
        {"a null id", R"({"jsonrpc":"2.0","id":null,"method":"ping"})", Failure{u"x"_s}, {}, {"tavlin --mcp: x"}},
        {"a batch", "[" + pingLine + "]", Failure{u"x"_s}, {}, {"tavlin --mcp: x"}},
        {"not JSON", "hello", Failure{u"x"_s}, {}, {"tavlin --mcp: x"}},
    };
    configure(41733);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.output.clear();
        services.errors.clear();
        services.answer = [&](const QByteArray&) { return c.transfer; };
        relay.handle(c.line);
        EXPECT_EQ(services.output, c.output);
        EXPECT_EQ(services.errors, c.errors);
    }
    EXPECT_EQ(services.urls.front(), QUrl(u"http://127.0.0.1:41733/mcp"_s));
}

TEST_F(BridgeTest, SkipsBlankLinesAndTrimsTheRest) {
    configure(41733);
    services.answer = [](const QByteArray&) { return Silence{}; };
    for (const QByteArray line : {"", "   ", "\t \t"}) relay.handle(line);
    EXPECT_TRUE(services.posted.empty());
    relay.handle("  " + pingLine + "\t");
    EXPECT_THAT(services.posted, ElementsAre(pingLine));
}

TEST_F(BridgeTest, LaunchesTavlinOnceAndWaitsForItsServer) {
    // The server comes up three seconds after the launch.
    services.onLaunch = [&] {
        const auto launched = services.clock;
        services.answer = [&, launched](const QByteArray& body) -> Transfer {
            if (services.clock - launched < 3s) return Unreachable{};
            return Reply{"answer to " + body.left(12)};
        };
    };
    relay.handle(pingLine);  // no mcp.json yet
    EXPECT_EQ(services.launches, 1);
    configure(50000);
    relay.handle(pingLine);
    EXPECT_EQ(services.launches, 1);
    EXPECT_EQ(services.errors, (std::vector<QByteArray>{"tavlin --mcp: Launched Tavlin; waiting for its MCP server…",
                                                        "tavlin --mcp: " + unreachable.toUtf8()}));
    EXPECT_EQ(services.output.front(), errorLine("5", unreachable));
    EXPECT_EQ(services.output.back(), "answer to " + pingLine.left(12));
}

TEST_F(BridgeTest, PollsTheProbeForTwelveSeconds) {
    services.onLaunch = [&] { configure(50000); };
    relay.handle(pingLine);
    EXPECT_EQ(services.clock, std::chrono::steady_clock::time_point(12s));
    EXPECT_EQ(services.posted.size(), 12s / probeInterval);
    EXPECT_EQ(services.posted.front(), R"({"id":"bridge-ping","jsonrpc":"2.0","method":"ping"})");
    EXPECT_EQ(services.output, std::vector<QByteArray>{errorLine("5", unreachable)});

    relay.handle(pingLine);  // no second launch, and no wait
    EXPECT_EQ(services.launches, 1);
    EXPECT_EQ(services.clock, std::chrono::steady_clock::time_point(12s));
    EXPECT_EQ(services.output.size(), 2u);
}

TEST_F(BridgeTest, LaunchesNothingWhileTavlinRunsWithItsServerOff) {
    services.running = true;
    relay.handle(pingLine);
    EXPECT_EQ(services.launches, 0);
    EXPECT_EQ(
        services.errors,
        (std::vector<QByteArray>{
            "tavlin --mcp: Tavlin is running but not listening; is the MCP server turned on in Settings → AI tools?",
            "tavlin --mcp: " + unreachable.toUtf8()}));
    EXPECT_EQ(services.output, std::vector<QByteArray>{errorLine("5", unreachable)});
}

TEST_F(BridgeTest, SaysWhyALaunchFailed) {
    services.launchFailure = u"No such file"_s;
    relay.handle(notificationLine);
    EXPECT_EQ(services.errors, (std::vector<QByteArray>{"tavlin --mcp: Couldn't launch Tavlin: No such file",
                                                        "tavlin --mcp: " + unreachable.toUtf8()}));
    EXPECT_TRUE(services.output.empty());
}

namespace {

// Answers every request on it with the same bytes, then closes.
class CannedHTTPServer {
public:
    explicit CannedHTTPServer(QByteArray answer) : answer_(std::move(answer)) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                received_ += socket->readAll();
                if (!received_.contains("\r\n\r\n")) return;
                socket->write(answer_);
                socket->disconnectFromHost();
            });
        });
    }
    QUrl url() const { return QUrl(u"http://127.0.0.1:%1/mcp"_s.arg(server_.serverPort())); }
    const QByteArray& received() const { return received_; }

private:
    QByteArray answer_;
    QByteArray received_;
    QTcpServer server_;
};

QByteArray answer(const QByteArray& status, const QByteArray& body = {}) {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

std::string describe(const Transfer& transfer) {
    if (const auto* reply = std::get_if<Reply>(&transfer)) return "reply " + reply->body.toStdString();
    if (const auto* failure = std::get_if<Failure>(&transfer)) return "failure " + failure->message.toStdString();
    return std::holds_alternative<Silence>(transfer) ? "silence" : "unreachable";
}

}  // namespace

TEST(BridgeHTTPClient, InterpretsWhatTheServerAnswers) {
    const std::pair<QByteArray, std::string> cases[] = {
        {answer("200 OK", "{\"id\":1}"), "reply {\"id\":1}"},
        {answer("200 OK"), "reply "},
        {answer("202 Accepted"), "silence"},
        {answer("204 No Content"), "silence"},
        {answer("401 Unauthorized", "Unauthorized.\n"),
         "failure Tavlin refused the token in mcp.json. Quit and reopen Tavlin, then try again."},
        {answer("404 Not Found", "Not found. Tavlin's MCP endpoint is /mcp.\n"),
         "failure Tavlin answered 404: Not found. Tavlin's MCP endpoint is /mcp."},
        {answer("500 Internal Server Error", " \n"), "failure Tavlin answered 500"},
        {answer("403 Forbidden", "\xff\xfe"), "failure Tavlin answered 403"},
    };
    BridgeHTTPClient client;
    for (const auto& [bytes, outcome] : cases) {
        SCOPED_TRACE(outcome);
        CannedHTTPServer server(bytes);
        EXPECT_EQ(describe(client.post("{}", server.url(), u"tok"_s)), outcome);
        EXPECT_TRUE(server.received().contains("\r\nAuthorization: Bearer tok\r\n")) << server.received().toStdString();
        EXPECT_TRUE(server.received().contains("\r\nAccept: application/json\r\n"));
    }
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    EXPECT_EQ(describe(client.post("{}", QUrl(u"http://127.0.0.1:%1/mcp"_s.arg(port)), u"tok"_s)), "unreachable");
}
