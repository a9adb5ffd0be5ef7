#pragma once

#include "support/ResponseBytes.h"
#include "support/TavlinProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <optional>

// The real tavlin binary without a display, in a home folder of its own with
// a copy of a fixture reminders folder, as an AI client meets it: every file
// where a program that knows only HOME looks for it.
class HeadlessTavlin {
public:
    struct Options {
        QString fixture;  // a reminders folder to copy; empty for an empty one
        bool mcpEnabled = true;
        QStringList environment;  // "NAME=value", e.g. TZ
        QStringList arguments;
    };

    explicit HeadlessTavlin(const Options& options) : options_(options) {
        QDir().mkpath(configHome() + QStringLiteral("/Tavlin"));
        QFile settings(configHome() + QStringLiteral("/Tavlin/settings.json"));
        if (settings.open(QIODevice::WriteOnly))
            settings.write(options.mcpEnabled ? R"({"mcpEnabled": true})" : R"({"mcpEnabled": false})");
        copyFolder(options.fixture, remindersFolder());
    }

    QString home() const { return home_.path(); }
    QString dataHome() const { return home_.filePath(QStringLiteral(".local/share")); }
    QString configHome() const { return home_.filePath(QStringLiteral(".config")); }
    QString remindersFolder() const { return dataHome() + QStringLiteral("/Tavlin/Reminders"); }
    QString configurationPath() const { return dataHome() + QStringLiteral("/Tavlin/mcp.json"); }
    QStringList environment() const {
        return QStringList{QStringLiteral("HOME=") + home(), QStringLiteral("XDG_DATA_HOME=") + dataHome(),
                           QStringLiteral("XDG_CONFIG_HOME=") + configHome()} +
               options_.environment;
    }

    // Starts it (again, after a stop) and waits until its server listens.
    bool start() {
        process_.emplace(TavlinProcess::Options{.arguments = options_.arguments, .environment = environment()});
        return process_->waitForError(options_.mcpEnabled ? "MCP server listening on" : "Tavlin is running");
    }
    bool stop(int signalNumber = SIGTERM) { return process_ && process_->signalAndFinish(signalNumber); }
    TavlinProcess& process() { return *process_; }

    QJsonObject configuration() const {
        QFile file(configurationPath());
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    }
    quint16 port() const { return static_cast<quint16>(configuration().value(QStringLiteral("port")).toInt()); }
    QByteArray token() const { return configuration().value(QStringLiteral("token")).toString().toLatin1(); }

    // One exchange on a fresh connection: the whole answer, head and body.
    QByteArray exchange(const QByteArray& request) const {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), port());
        if (!socket.waitForConnected(5000)) return {};
        socket.write(request);
        QByteArray answer;
        while (!isComplete(answer) && socket.waitForReadyRead(15000)) answer += socket.readAll();
        return answer;
    }
    // A JSON-RPC body posted with the token; the answer's body.
    QByteArray post(const QByteArray& body) const {
        const QByteArray answer =
            exchange("POST /mcp HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + token() +
                     "\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\n\r\n" + body);
        return answer.mid(answer.indexOf("\r\n\r\n") + 4);
    }

    // The files of the reminders folder, relative to it, sorted.
    QStringList reminderFiles() const {
        QStringList files;
        QDirIterator it(remindersFolder(), {QStringLiteral("*.ics")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) files << QDir(remindersFolder()).relativeFilePath(it.next());
        files.sort();
        return files;
    }

private:
    static bool isComplete(const QByteArray& answer) { return responseEnd(answer).has_value(); }

    static void copyFolder(const QString& from, const QString& to) {
        QDir().mkpath(to);
        if (from.isEmpty()) return;
        QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::copy(source, target);
        }
    }

    Options options_;
    QTemporaryDir home_;
    std::optional<TavlinProcess> process_;
};
