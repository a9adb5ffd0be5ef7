#include "platform/LoginItem.h"

#include "platform/FileWriting.h"
#include "platform/XdgPaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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
    QFile file(entryPath_);
    if (!file.open(QIODevice::ReadOnly)) return false;
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
        const QString value = line.sliced(equals + 1).trimmed();
        if (key == u"Hidden"_s && value == u"true"_s) return false;
        if (key == u"X-GNOME-Autostart-enabled"_s && value == u"false"_s) return false;
    }
    return true;
}

}  // namespace tavlin::platform
