#include "mcp/MCPServer.h"

#include "mcp/ClientConnection.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPService.h"
#include "platform/CharacterSet.h"
#include "platform/Log.h"
#include "platform/Text.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QUrl>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using tavlin::platform::Task;

namespace tavlin::mcp {

namespace {

// The names of this machine's loopback interface, in the order they are tried.
const std::array<QString, 4>& loopbackNames() {
    static const std::array<QString, 4> names{u"127.0.0.1"_s, u"localhost"_s, u"[::1]"_s, u"::1"_s};
    return names;
}

QString trimmedLowercase(const QString& text) { return platform::lowercasedPosix(platform::trimmedWhitespace(text)); }

// Equal bytes, compared in a time that does not depend on where they differ.
bool constantTimeEquals(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

const HTTPResponse::Headers allowHeaders{{u"Allow"_s, u"POST, DELETE"_s}};

constexpr int kListenBacklog = 1024;

// Hands each accepted socket over as a bare descriptor.
class Listener final : public QTcpServer {
public:
    explicit Listener(std::function<void(qintptr)> onIncoming) : onIncoming_(std::move(onIncoming)) {}

protected:
    void incomingConnection(qintptr descriptor) override { onIncoming_(descriptor); }

private:
    std::function<void(qintptr)> onIncoming_;
};

}  // namespace

MCPServer::MCPServer(const MCPService& service, QString configurationPath, QString token, QObject* parent)
    : QObject(parent), service_(service), configurationPath_(std::move(configurationPath)), token_(std::move(token)) {}

MCPServer::~MCPServer() { closeConnections(); }

void MCPServer::start(quint16 port, bool fallbackToAnyPort) {
    listener_ = std::make_unique<Listener>([this](qintptr descriptor) { accept(descriptor); });
    // Clients that reconnect as fast as they are closed would fill a short
    // queue and keep the others' connections waiting on the kernel's retries.
    listener_->setListenBacklogSize(kListenBacklog);
    if (!listener_->listen(QHostAddress::LocalHost, port)) {
        const QString description = listener_->errorString();
        listener_.reset();
        const std::optional<quint16> ownPort = port_;
        store::publish(this, port_, std::nullopt, &MCPServer::portChanged);
        // Only a warning while another port remains to try.
        if (fallbackToAnyPort) {
            qCWarning(lcMcp).noquote()
                << u"MCP listener on port %1 failed: %2; listening on another port"_s.arg(port).arg(description);
            return start(0, false);
        }
        qCCritical(lcMcp).noquote() << u"MCP listener on port %1 failed: %2"_s.arg(port).arg(description);
        store::publish(this, lastError_, std::optional(u"Couldn't open a port: "_s + description),
                       &MCPServer::lastErrorChanged);
        withdrawPort(ownPort);
        return;
    }
    // A connection that has sent nothing is not handed over until it does
    // (or a while has passed): one that only holds a slot never gets one.
    const int deferSeconds = static_cast<int>(ClientConnection::headLimit.count());
    ::setsockopt(static_cast<int>(listener_->socketDescriptor()), IPPROTO_TCP, TCP_DEFER_ACCEPT, &deferSeconds,
                 sizeof deferSeconds);
    store::publish(this, port_, std::optional(listener_->serverPort()), &MCPServer::portChanged);
    store::publish(this, lastError_, std::nullopt, &MCPServer::lastErrorChanged);
    writeConfiguration();
    qCInfo(lcMcp).noquote() << u"MCP server listening on 127.0.0.1:%1"_s.arg(*port_);
}

void MCPServer::stop() {
    closeConnections();  // switching the tools off ends every client's access at once
    if (!listener_) return;
    listener_.reset();
    const std::optional<quint16> ownPort = port_;
    store::publish(this, port_, std::nullopt, &MCPServer::portChanged);
    withdrawPort(ownPort);
    qCInfo(lcMcp) << "MCP server stopped";
}

void MCPServer::closeConnections() {
    if (waiting_) ::close(static_cast<int>(*std::exchange(waiting_, std::nullopt)));
    // Closing a connection takes it out of the map.
    while (!connections_.empty()) connections_.begin()->second->close();
}

void MCPServer::withdrawPort(std::optional<quint16> ownPort) const {
    // Another server may have written its own port since.
    const std::optional<MCPConfiguration> stored = MCPConfiguration::read(configurationPath_);
    if (stored && stored->port == ownPort) writeConfiguration();
}

void MCPServer::writeConfiguration() const {
    if (!writesConfiguration_) return;
    const MCPConfiguration configuration{.token = token_, .port = port_};
    if (const std::optional<QString> failure = configuration.save(configurationPath_))
        qCCritical(lcMcp).noquote() << u"Couldn't write %1: %2"_s.arg(configurationPath_, *failure);
}

void MCPServer::accept(qintptr descriptor) {
    if (connections_.size() >= maxConnections && !makeRoom()) {
        // Every slot answers a request: this client, and those behind it in
        // the listen queue, wait until one is done.
        waiting_ = descriptor;
        listener_->pauseAccepting();
        return;
    }
    admit(descriptor);
}

void MCPServer::admit(qintptr descriptor) {
    auto connection = std::make_shared<ClientConnection>(
        static_cast<int>(descriptor), [this](HTTPRequest request) { return response(std::move(request)); },
        [this](ClientConnection* closed) { connectionClosed(closed); }, [this] { admitWaiting(); });
    connections_.emplace(connection.get(), connection);
    connection->start();
}

bool MCPServer::makeRoom() {
    makingRoom_ = true;
    std::vector<std::shared_ptr<ClientConnection>> open;
    open.reserve(connections_.size());
    for (const auto& [raw, connection] : connections_) open.push_back(connection);
    // What has arrived is read first: a whole request starts to be answered,
    // and a peer that has gone frees its slot.
    for (const std::shared_ptr<ClientConnection>& connection : open) connection->readArrived();
    if (connections_.size() >= maxConnections) {
        ClientConnection* longest = nullptr;
        for (const auto& [raw, connection] : connections_)
            if (!connection->isBusy() && (!longest || connection->waitingSince() < longest->waitingSince()))
                longest = raw;
        if (longest) longest->close();  // which takes it out of the map
    }
    makingRoom_ = false;
    return connections_.size() < maxConnections;
}

void MCPServer::connectionClosed(ClientConnection* connection) {
    connections_.erase(connection);
    admitWaiting();
}

void MCPServer::admitWaiting() {
    if (!listener_ || makingRoom_) return;  // whoever makes room admits next
    if (waiting_) {
        if (connections_.size() >= maxConnections && !makeRoom()) return;
        admit(*std::exchange(waiting_, std::nullopt));
    }
    listener_->resumeAccepting();
}

bool MCPServer::isAuthorized(const HTTPRequest& request) const {
    const std::optional<QString> authorization = request.header(u"authorization"_s);
    return authorization && constantTimeEquals(authorization->toUtf8(), (u"Bearer "_s + token_).toUtf8());
}

MCPServer::RouteDecision MCPServer::route(const HTTPRequest& request) const {
    if (request.path() != u"/mcp"_s) return HTTPResponse::text(404, u"Not found. Tavlin's MCP endpoint is /mcp."_s);
    if (!isLocalHost(request.header(u"host"_s)))
        return HTTPResponse::text(403, u"Forbidden: Tavlin only answers on localhost."_s);
    if (const std::optional<QString> origin = request.header(u"origin"_s); origin && !isLocalOrigin(*origin))
        return HTTPResponse::text(403, u"Forbidden: cross-origin requests are not accepted."_s);
    if (!isAuthorized(request)) {
        return HTTPResponse::text(401,
                                  u"Unauthorized. Send the token from Tavlin's mcp.json as a bearer token, or use "
                                  "the stdio bridge (Tavlin --mcp), which reads it for you."_s,
                                  {{u"WWW-Authenticate"_s, u"Bearer"_s}});
    }
    if (request.method == u"POST"_s) return Forward{request.body};
    if (request.method == u"GET"_s) {
        return HTTPResponse::text(405, u"Tavlin has no server-to-client stream; POST JSON-RPC messages here."_s,
                                  allowHeaders);
    }
    if (request.method == u"DELETE"_s) return HTTPResponse{.status = 200};
    return HTTPResponse::text(405, u"Method not allowed."_s, allowHeaders);
}

Task<HTTPResponse> MCPServer::response(HTTPRequest request) const {
    RouteDecision decision = route(request);
    if (auto* answer = std::get_if<HTTPResponse>(&decision)) co_return std::move(*answer);
    const std::optional<QByteArray> reply = co_await service_.handle(std::get<Forward>(decision).body);
    if (!reply) co_return HTTPResponse{.status = 202};
    co_return HTTPResponse{.status = 200, .headers = {{u"Content-Type"_s, u"application/json"_s}}, .body = *reply};
}

bool MCPServer::isLocalHost(const std::optional<QString>& host) {
    if (!host) return false;
    const QString value = trimmedLowercase(*host);
    return std::any_of(loopbackNames().begin(), loopbackNames().end(),
                       [&](const QString& name) { return value == name || value.startsWith(name + u':'); });
}

bool MCPServer::isLocalOrigin(const QString& origin) {
    const QUrl url(platform::trimmedWhitespace(origin), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) return false;
    const QString host = url.host(QUrl::FullyEncoded).toLower();
    // QUrl gives an IPv6 host without its brackets.
    return std::any_of(loopbackNames().begin(), loopbackNames().end(),
                       [&](const QString& name) { return host == name; });
}

}  // namespace tavlin::mcp
