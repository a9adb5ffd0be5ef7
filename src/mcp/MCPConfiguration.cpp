#include "mcp/MCPConfiguration.h"

#include "platform/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using nlohmann::json;

namespace tavlin::mcp {

namespace {

QString folderPath() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) data = QDir::homePath() + u"/.local/share"_s;
    return data + u"/Tavlin"_s;
}

QString systemError(const QString& what, const QString& path) {
    return what + u" "_s + path + u": "_s + QString::fromLocal8Bit(std::strerror(errno));
}

// Blanks or control characters at the ends or inside (CR, LF, NUL) make a
// token that no Authorization header can carry.
bool isPresentable(const QString& token) {
    if (token.isEmpty() || token.trimmed() != token) return false;
    return std::none_of(token.begin(), token.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

}  // namespace

std::optional<QString> MCPConfiguration::createPrivateFolder(const QString& path) {
    QString prefix;
    for (const QString& part : path.split(u'/', Qt::SkipEmptyParts)) {
        prefix += u'/' + part;
        const QByteArray native = QFile::encodeName(prefix);
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return systemError(u"Couldn't create"_s, prefix);
    }
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

    const QString temporary = path + u".tmp-"_s + QString::number(::getpid());
    ::unlink(QFile::encodeName(temporary).constData());  // left by a crash of an earlier process with our pid
    if (const auto failure = platform::writeNewFile(temporary, text, 0600)) {
        errno = failure->error;
        return systemError(failure->creating ? u"Couldn't create"_s : u"Couldn't write"_s, temporary);
    }
    if (const std::optional<int> error = platform::renameOver(temporary, path)) {
        errno = *error;
        return systemError(u"Couldn't replace"_s, path);
    }
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

}  // namespace tavlin::mcp
