#include "mcp/MCPConfiguration.h"

#include "mcp/MCPServer.h"
#include "platform/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;
using nlohmann::json;

namespace tavlin::mcp {

namespace {

QString folderPath() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) data = QDir::homePath() + u"/.local/share"_s;
    return data + u"/Tavlin"_s;
}

QString systemError(const QString& what, const QString& path, int error) {
    return what + u" "_s + path + u": "_s + QString::fromLocal8Bit(std::strerror(error));
}

// Blanks or control characters at the ends or inside (CR, LF, NUL) make a
// token that no Authorization header can carry.
bool isPresentable(const QString& token) {
    if (token.isEmpty() || token.trimmed() != token) return false;
    return std::none_of(token.begin(), token.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

}  // namespace

std::optional<QString> MCPConfiguration::createPrivateFolder(const QString& path) {
    if (const std::optional<int> error = platform::makeFolders(path, 0700))
        return systemError(u"Couldn't create"_s, path, *error);
    return std::nullopt;
}

QString MCPConfiguration::filePath() { return folderPath() + u"/mcp.json"_s; }

QString MCPConfiguration::instanceLockPath() { return folderPath() + u"/tavlin.lock"_s; }

QString MCPConfiguration::makeToken() {
    QString token;
    QRandomGenerator* random = QRandomGenerator::system();  // the kernel's cryptographic source
    for (int i = 0; i < 32; ++i) token += u"%1"_s.arg(static_cast<int>(random->bounded(256)), 2, 16, QChar(u'0'));
    return token;
}

std::optional<MCPConfiguration> MCPConfiguration::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    const json object = json::parse(bytes.begin(), bytes.end(), nullptr, /*allow_exceptions=*/false);
    if (!object.is_object()) return std::nullopt;
    const auto token = object.find("token");
    if (token == object.end() || !token->is_string()) return std::nullopt;
    MCPConfiguration configuration{.token = QString::fromStdString(token->get<std::string>())};
    const auto port = object.find("port");
    if (port != object.end() && !port->is_null()) {
        if (!port->is_number_integer() || port->get<std::int64_t>() < 0 || port->get<std::int64_t>() > 65535)
            return std::nullopt;
        configuration.port = static_cast<quint16>(port->get<std::int64_t>());
    }
    return configuration;
}

QString MCPConfiguration::launchToken(const QString& path) {
    const std::optional<MCPConfiguration> stored = read(path);
    return stored && isPresentable(stored->token) ? stored->token : makeToken();
}

std::optional<QString> MCPConfiguration::save(const QString& path) const {
    const QString folder = QFileInfo(path).absolutePath();
    if (auto failure = createPrivateFolder(folder)) return failure;

    json object = {{"token", token.toStdString()}};
    if (port) object["port"] = *port;
    const std::string text = object.dump(2) + '\n';  // nlohmann's objects keep their keys sorted

    if (const auto failure = platform::replaceFile(path, text, 0600))
        return systemError(platform::couldNot(failure->step), path, failure->error);
    return std::nullopt;
}

std::optional<QUrl> MCPConfiguration::serverURL(std::optional<quint16> port) {
    if (!port) return std::nullopt;
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(u"127.0.0.1"_s);
    url.setPort(*port);
    url.setPath(u"/mcp"_s);
    return url;
}

QString MCPConfiguration::clientConfigSnippet(const QString& executable) {
    const json object = {
        {"mcpServers", {{"tavlin", {{"command", executable.toStdString()}, {"args", json::array({"--mcp"})}}}}}};
    // nlohmann's objects keep their keys sorted, and it never escapes "/".
    return QString::fromStdString(object.dump(2, ' ', false, json::error_handler_t::replace));
}

QString MCPConfiguration::setupInstructions(const QString& executable, const std::optional<QUrl>& serverURL,
                                            const QString& configurationPath) {
    // Not listening: where it listens when it can have its own port.
    const QUrl endpoint = serverURL.value_or(*MCPConfiguration::serverURL(MCPServer::defaultPort));
    return u"Please add Tavlin as an MCP server in your configuration, so you can read and manage my reminders.\n\n"
           "Tavlin is a Linux desktop app that runs a local Model Context Protocol server. Use whichever transport "
           "you support.\n\nOption 1, stdio (preferred):\n- Server name: tavlin\n- Command: "_s +
           executable +
           u"\n- Arguments: --mcp\n- No environment variables or token needed. The command starts Tavlin if it "
           "isn't running.\n\nIn the common \"mcpServers\" JSON format:\n"_s +
           clientConfigSnippet(executable) +
           u"\n\nOption 2, Streamable HTTP, if you can't start a local process:\n- URL: "_s +
           endpoint.toString(QUrl::FullyEncoded) +
           u"\n- Header: Authorization: Bearer <token>\n- Read the token from the \"token\" key in "_s +
           configurationPath +
           u". The \"port\" key in that file has the current port if the one above stops working.\n\nOnce "
           "connected, list the tools to see what Tavlin offers. Creating a reminder takes the same natural "
           "language as Tavlin's own quick add, for example \"call mum friday 3pm #family !!\"."_s;
}

}  // namespace tavlin::mcp
