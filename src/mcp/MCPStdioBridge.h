#pragma once

#include "mcp/JSONRPCMessage.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>
#include <variant>

// tavlin --mcp: relays JSON-RPC messages, one per line, between standard
// input and output and the running Tavlin's AI tools server. It reads
// mcp.json for every line (the port and token may change), starts Tavlin
// once when no server answers, and answers a request it cannot deliver with
// a JSON-RPC error, so that the client never waits for nothing. Standard
// output carries only JSON lines; what went wrong goes to standard error.
namespace tavlin::mcp::MCPStdioBridge {

// What became of one HTTP exchange with the server.
struct Reply {
    QByteArray body;  // of a 200 answer
};
struct Failure {
    QString message;  // for the client
};
struct Silence {};      // accepted, and nothing to answer
struct Unreachable {};  // nothing listens
using Transfer = std::variant<Reply, Failure, Silence, Unreachable>;

// What the bridge asks of the world.
class Services {
public:
    virtual ~Services() = default;
    virtual Transfer post(const QByteArray& body, const QUrl& url, const QString& token) = 0;
    // Whether a Tavlin runs (with its server off, when nothing answers).
    virtual bool isTavlinRunning() = 0;
    // Starts Tavlin in the background; an error description when it could not.
    virtual std::optional<QString> launchTavlin() = 0;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
    virtual std::chrono::steady_clock::time_point now() = 0;
    // Each call one write of one whole line.
    virtual void writeOutput(const QByteArray& line) = 0;
    virtual void writeError(const QByteArray& line) = 0;
};

inline constexpr std::chrono::seconds launchWaitLimit{12};
inline constexpr std::chrono::milliseconds probeInterval{250};

// The bridge's state across lines: at most one launch per run.
class Relay {
public:
    Relay(QString configurationPath, Services& services);

    // One line of standard input, answered or reported before it returns.
    void handle(const QByteArray& line);

private:
    struct Server {
        QUrl url;
        QString token;
    };
    std::optional<Server> configuredServer() const;
    void act(const Transfer& transfer, const QByteArray& line, bool afterLaunch);
    void handleUnreachable(const QByteArray& line);
    std::optional<Server> ensureServer();
    void report(const QString& message, const QByteArray& line);
    void log(const QString& message);

    QString configurationPath_;
    Services& services_;
    bool launchAttempted_ = false;
};

// The id of a request line; nothing for a notification, a batch, a null
// or boolean id, or text that is not JSON.
std::optional<JSONRPCID> requestID(const QByteArray& line);

// Relays standard input until it ends; the exit status (0).
int run(const QString& configurationPath);

}  // namespace tavlin::mcp::MCPStdioBridge
