#include "platform/eventstore/TodomanConfiguration.h"

#include "platform/XdgPaths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

// As Python's os.path.expandvars, then expanduser: "$NAME" and "${NAME}"
// of variables that are set, then a leading "~".
QString expanded(const QString& path) {
    static const QRegularExpression variable(u"\\$(?:([A-Za-z_][A-Za-z0-9_]*)|\\{([^}]*)\\})"_s);
    QString result;
    qsizetype from = 0;
    for (auto matches = variable.globalMatch(path); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        const QString name = match.hasCaptured(1) ? match.captured(1) : match.captured(2);
        result += path.mid(from, match.capturedStart() - from);
        result += qEnvironmentVariableIsSet(name.toLocal8Bit().constData())
                      ? qEnvironmentVariable(name.toLocal8Bit().constData())
                      : match.captured();
        from = match.capturedEnd();
    }
    result += path.mid(from);
    if (result == u"~"_s || result.startsWith(u"~/"_s)) result = QDir::homePath() + result.mid(1);
    return result;
}

}  // namespace

std::optional<TodomanConfiguration> TodomanConfiguration::read() {
    QStringList folders{configHome()};
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    folders += dirs.isEmpty() ? QStringList{u"/etc/xdg"_s} : dirs.split(u':', Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        QFile file(folder + u"/todoman/config.py"_s);
        if (!file.exists()) continue;
        // todoman takes the first file it finds, readable or not.
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        return parse(QString::fromUtf8(file.read(64 * 1024)));
    }
    return std::nullopt;
}

TodomanConfiguration TodomanConfiguration::parse(const QString& text) {
    static const QRegularExpression setting(
        u"^\\s*(path|default_list)\\s*=\\s*(?:\"([^\"\\\\]*)\"|'([^'\\\\]*)')\\s*(?:#.*)?$"_s,
        QRegularExpression::MultilineOption);
    TodomanConfiguration configuration;
    for (auto matches = setting.globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        const QString value = match.hasCaptured(2) ? match.captured(2) : match.captured(3);
        // The last assignment is the one Python keeps.
        if (match.captured(1) == u"path"_s) configuration.path = expanded(value);
        else configuration.defaultList = value;
    }
    return configuration;
}

bool TodomanConfiguration::readsFolder(const QString& folder) const {
    if (path.isEmpty()) return false;
    // A glob's "*" stops at "/", as todoman's does.
    const QRegularExpression glob(QRegularExpression::wildcardToRegularExpression(QDir::cleanPath(path)));
    return glob.isValid() && glob.match(folder).hasMatch();
}

}  // namespace tavlin::platform
