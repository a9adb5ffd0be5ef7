#pragma once

#include "mcp/HTTPRequest.h"
#include "mcp/HTTPResponse.h"
#include "platform/Task.h"
#include "store/ObservationTracking.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <variant>

class QTcpServer;

namespace tavlin::mcp {

class ClientConnection;
class MCPService;

// The local endpoint of the AI tools: a listener on 127.0.0.1 only, its
// connections, and the checks every request passes (path, Host, Origin,
// bearer token, method) before its body goes to the MCPService.
//
// port and lastError are published (ObservationTracking) with change
// signals. At most `maxConnections` are open at once: a new client takes the
// place of the one that has waited longest on its peer (a partial request
// counts from its first byte), and waits only while every one is answering
// a request. Every connection is read before one is chosen, so a request
// that has arrived whole is answered, never evicted; and a client is
// accepted only once it has sent something. Main thread only.
class MCPServer : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 defaultPort = 41733;
    static constexpr std::size_t maxConnections = 64;

    // Answer at once, or hand the body to the protocol layer.
    struct Forward {
        QByteArray body;
    };
    using RouteDecision = std::variant<HTTPResponse, Forward>;

    MCPServer(const MCPService& service, QString configurationPath, QString token, QObject* parent = nullptr);
    ~MCPServer() override;

    // Listens on `port` (0: one the system picks). When that fails and
    // `fallbackToAnyPort` is set, once more on a port the system picks;
    // otherwise lastError says why. mcp.json is written once it listens, and
    // a failure takes no other server's port out of it.
    void start(quint16 port, bool fallbackToAnyPort);
    // Closes every connection, and the listener; mcp.json loses the port
    // when it still names this server's, and is left alone when it names
    // another's. Without a listener nothing is written.
    void stop();
    bool hasListener() const { return listener_ != nullptr; }
    // The clients connected now (accepted and not closed).
    std::size_t connectionCount() const { return connections_.size(); }
    // Where mcp.json is written, for the clients' setup prompt.
    const QString& configurationPath() const { return configurationPath_; }

    // Whether this server may write mcp.json: only the Tavlin that holds the
    // instance lock does, so a second one (a developer run, or one that
    // started while the old one would not quit) serves on its own port and
    // leaves the file to the one that assistants know. On by default.
    void setWritesConfiguration(bool writes) { writesConfiguration_ = writes; }

    std::optional<quint16> port() const { return store::observed(this, port_, &MCPServer::portChanged); }
    std::optional<QString> lastError() const { return store::observed(this, lastError_, &MCPServer::lastErrorChanged); }
    void clearLastError() { store::publish(this, lastError_, std::nullopt, &MCPServer::lastErrorChanged); }

    RouteDecision route(const HTTPRequest& request) const;
    platform::Task<HTTPResponse> response(HTTPRequest request) const;

    static bool isLocalHost(const std::optional<QString>& host);
    static bool isLocalOrigin(const QString& origin);

signals:
    void portChanged();
    void lastErrorChanged();

private:
    // Writes the token and the current port to mcp.json; a failure is logged.
    void writeConfiguration() const;
    // Writes mcp.json without a port when it still names `ownPort`.
    void withdrawPort(std::optional<quint16> ownPort) const;
    void accept(qintptr descriptor);
    void admit(qintptr descriptor);
    void connectionClosed(ClientConnection* connection);
    // Reads every connection, then, when none has gone, closes the one that
    // has waited longest on its peer to make room; false when every one is
    // answering a request.
    bool makeRoom();
    // A slot may be free: the waiting client comes in, and the listener
    // accepts again.
    void admitWaiting();
    bool isAuthorized(const HTTPRequest& request) const;
    void closeConnections();

    const MCPService& service_;
    QString configurationPath_;
    QString token_;
    bool writesConfiguration_ = true;
    std::unique_ptr<QTcpServer> listener_;
    std::map<ClientConnection*, std::shared_ptr<ClientConnection>> connections_;
    std::optional<qintptr> waiting_;  // accepted while every slot was at work
    bool makingRoom_ = false;
    std::optional<quint16> port_;
    std::optional<QString> lastError_;
};

}  // namespace tavlin::mcp
