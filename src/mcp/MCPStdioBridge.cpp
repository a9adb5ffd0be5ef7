#include "mcp/MCPStdioBridge.h"

#include "mcp/BridgeHTTPClient.h"
#include "mcp/InstanceLock.h"
#include "mcp/JSONRPCCodec.h"
#include "mcp/MCPConfiguration.h"
#include "platform/FileWriting.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavlin::mcp::MCPStdioBridge {

namespace {

const QString unreachableMessage =
    u"Tavlin's MCP server isn't reachable. Open Tavlin, then turn on “Let AI tools use Tavlin” under Settings → AI "
    "tools."_s;

QByteArray trimmedBlanks(QByteArray line) {
    while (!line.isEmpty() && (line.front() == ' ' || line.front() == '\t')) line.remove(0, 1);
    while (!line.isEmpty() && (line.back() == ' ' || line.back() == '\t')) line.chop(1);
    return line;
}

// The real world: the server over HTTP, Tavlin's lock file, and a Tavlin
// started detached, in a session of its own, with no standard streams.
class SystemServices final : public Services {
public:
    Transfer post(const QByteArray& body, const QUrl& url, const QString& token) override {
        return client_.post(body, url, token);
    }
    bool isTavlinRunning() override { return InstanceLock::isHeldElsewhere(MCPConfiguration::instanceLockPath()); }
    std::optional<QString> launchTavlin() override {
        QProcess process;
        process.setProgram(QCoreApplication::applicationFilePath());
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        if (process.startDetached()) return std::nullopt;
        return process.errorString();
    }
    void sleep(std::chrono::milliseconds duration) override {
        QThread::msleep(static_cast<unsigned long>(duration.count()));
    }
    std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
    void writeOutput(const QByteArray& line) override { (void)platform::writeAll(STDOUT_FILENO, line + '\n'); }
    void writeError(const QByteArray& line) override { (void)platform::writeAll(STDERR_FILENO, line + '\n'); }

private:
    BridgeHTTPClient client_;
};

}  // namespace

std::optional<JSONRPCID> requestID(const QByteArray& line) {
    const nlohmann::json message = nlohmann::json::parse(line.begin(), line.end(), nullptr, false);
    if (!message.is_object()) return std::nullopt;
    const auto id = message.find("id");
    return id == message.end() ? std::nullopt : JSONRPCCodec::bridgeValue(*id);
}

Relay::Relay(QString configurationPath, Services& services)
    : configurationPath_(std::move(configurationPath)), services_(services) {}

void Relay::handle(const QByteArray& raw) {
    const QByteArray line = trimmedBlanks(raw);
    if (line.isEmpty()) return;
    const std::optional<Server> server = configuredServer();
    if (!server) return handleUnreachable(line);
    act(services_.post(line, server->url, server->token), line, false);
}

std::optional<Relay::Server> Relay::configuredServer() const {
    const std::optional<MCPConfiguration> configuration = MCPConfiguration::read(configurationPath_);
    if (!configuration) return std::nullopt;
    const std::optional<QUrl> url = MCPConfiguration::serverURL(configuration->port);
    if (!url) return std::nullopt;
    return Server{*url, configuration->token};
}

void Relay::act(const Transfer& transfer, const QByteArray& line, bool afterLaunch) {
    if (const auto* reply = std::get_if<Reply>(&transfer)) return services_.writeOutput(reply->body);
    if (const auto* failure = std::get_if<Failure>(&transfer)) return report(failure->message, line);
    if (std::holds_alternative<Unreachable>(transfer)) {
        if (afterLaunch) return report(unreachableMessage, line);
        return handleUnreachable(line);
    }
}

void Relay::handleUnreachable(const QByteArray& line) {
    if (launchAttempted_) return report(unreachableMessage, line);
    launchAttempted_ = true;
    const std::optional<Server> server = ensureServer();
    if (!server) return report(unreachableMessage, line);
    act(services_.post(line, server->url, server->token), line, true);
}

std::optional<Relay::Server> Relay::ensureServer() {
    if (services_.isTavlinRunning()) {
        log(u"Tavlin is running but not listening; is the MCP server turned on in Settings → AI tools?"_s);
        return std::nullopt;
    }
    if (const std::optional<QString> failure = services_.launchTavlin()) {
        log(u"Couldn't launch Tavlin: "_s + *failure);
        return std::nullopt;
    }
    log(u"Launched Tavlin; waiting for its MCP server…"_s);
    const QByteArray probe = JSONRPCCodec::serialize({{"jsonrpc", "2.0"}, {"id", "bridge-ping"}, {"method", "ping"}});
    const auto deadline = services_.now() + launchWaitLimit;
    while (services_.now() < deadline) {
        services_.sleep(probeInterval);
        const std::optional<Server> server = configuredServer();
        if (server && std::holds_alternative<Reply>(services_.post(probe, server->url, server->token))) return server;
    }
    return std::nullopt;
}

void Relay::report(const QString& message, const QByteArray& line) {
    log(message);
    if (const std::optional<JSONRPCID> id = requestID(line))
        services_.writeOutput(JSONRPCCodec::serialize(JSONRPCCodec::errorResponse(id, -32000, message.toStdString())));
}

void Relay::log(const QString& message) { services_.writeError((u"tavlin --mcp: "_s + message).toUtf8()); }

int run(const QString& configurationPath) {
    SystemServices services;
    Relay relay(configurationPath, services);
    std::string line;
    char chunk[65536];
    while (std::fgets(chunk, sizeof chunk, stdin)) {
        line += chunk;
        if (line.back() != '\n' && !std::feof(stdin)) continue;  // a line longer than one chunk
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        relay.handle(QByteArray::fromStdString(line));
        line.clear();
    }
    if (!line.empty()) relay.handle(QByteArray::fromStdString(line));
    return 0;
}

}  // namespace tavlin::mcp::MCPStdioBridge
