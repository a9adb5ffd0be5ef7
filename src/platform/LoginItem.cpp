#include "platform/LoginItem.h"

#include "platform/FileWriting.h"
#include "platform/XdgPaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

LoginItemError fileError(const QString& what, const QString& path, int error) {
    return {what + u' ' + path + u": "_s + QString::fromLocal8Bit(std::strerror(error))};
}

// One argument of an Exec line: always quoted, with the characters that
// quoting leaves special escaped, and "%" doubled so that it is not a field
// code. Backslashes are escaped once more, as every string value's are.
QString execArgument(const QString& argument) {
    QString quoted = u"\""_s;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        if (c == u'%') quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\') value += u"\\\\"_s;
        else if (c == u'\n') value += u"\\n"_s;
        else if (c == u'\t') value += u"\\t"_s;
        else if (c == u'\r') value += u"\\r"_s;
        else value += c;
    }
    return value;
}

// The keys of the [Desktop Entry] group, their values as written; nothing
// when the file cannot be read.
std::optional<QHash<QString, QString>> entryValues(const QString& path) {
    QHash<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == u"[Desktop Entry]"_s;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || equals < 0) continue;
        const QString key = line.first(equals).trimmed();
        if (!values.contains(key)) values.insert(key, line.sliced(equals + 1).trimmed());
    }
    return values;
}

// The first argument of an Exec value: the string value's escapes undone,
// then the argument's quoting (execArgument's reverse).
QString firstExecArgument(const QString& value) {
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            unescaped += value[i];
            continue;
        }
        const QChar next = value[++i];
        unescaped += next == u's' ? u' ' : next == u'n' ? u'\n' : next == u't' ? u'\t' : next == u'r' ? u'\r' : next;
    }
    QString argument;
    const bool quoted = unescaped.startsWith(u'"');
    for (qsizetype i = quoted ? 1 : 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (quoted ? c == u'"' : c.isSpace()) break;
        if (quoted && c == u'\\' && i + 1 < unescaped.size()) {
            argument += unescaped[++i];
            continue;
        }
        argument += c;
        if (c == u'%' && i + 1 < unescaped.size() && unescaped[i + 1] == u'%') ++i;
    }
    return argument;
}

// Two names of one program file: symbolic links and relative paths resolved.
bool sameProgram(const QString& first, const QString& second) {
    const auto resolved = [](const QString& program) {
        const QString found = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
        return QFileInfo(found).canonicalFilePath();
    };
    const QString canonical = resolved(first);
    return !canonical.isEmpty() && canonical == resolved(second);
}

}  // namespace

QString LoginItem::standardEntryPath() { return configHome() + u"/autostart/com.quorvandell.tavlin.desktop"_s; }

LoginItem LoginItem::mainApp() { return LoginItem(standardEntryPath(), QCoreApplication::applicationFilePath()); }

LoginItem::LoginItem(QString entryPath, QString executable)
    : entryPath_(std::move(entryPath)), executable_(std::move(executable)) {}

QByteArray LoginItem::entryText(const QString& executable) {
    return (u"[Desktop Entry]\n"
            u"Type=Application\n"
            u"Name=Tavlin\n"
            u"Exec="_s +
            execArgument(executable) + u'\n')
        .toUtf8();
}

std::optional<LoginItemError> LoginItem::registerItem() const {
    const QString folder = QFileInfo(entryPath_).absolutePath();
    if (const std::optional<int> error = makeFolders(folder, 0700))
        return fileError(u"Couldn't create"_s, folder, *error);
    if (const std::optional<FileReplaceFailure> failure = replaceFile(entryPath_, entryText(executable_), 0644))
        return fileError(couldNot(failure->step), entryPath_, failure->error);
    return std::nullopt;
}

std::optional<LoginItemError> LoginItem::unregisterItem() const {
    if (::unlink(QFile::encodeName(entryPath_).constData()) == 0 || errno == ENOENT) return std::nullopt;
    return fileError(u"Couldn't remove"_s, entryPath_, errno);
}

bool LoginItem::isEnabled() const {
    const std::optional<QHash<QString, QString>> values = entryValues(entryPath_);
    return values && values->value(u"Hidden"_s) != u"true"_s &&
           values->value(u"X-GNOME-Autostart-enabled"_s) != u"false"_s;
}

std::optional<QString> LoginItem::entryExecutable() const {
    const std::optional<QHash<QString, QString>> values = entryValues(entryPath_);
    if (!values || !values->contains(u"Exec"_s)) return std::nullopt;
    return firstExecArgument(values->value(u"Exec"_s));
}

std::optional<LoginItemError> LoginItem::followExecutable() const {
    if (!isEnabled()) return std::nullopt;
    const std::optional<QString> started = entryExecutable();
    if (started && sameProgram(*started, executable_)) return std::nullopt;
    return registerItem();
}

}  // namespace tavlin::platform
