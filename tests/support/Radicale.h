#pragma once

#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <optional>

// A Radicale CalDAV server for one test: on 127.0.0.1 at a free port, no
// authentication, its collections in a temporary folder, no configuration
// but what is given here. Requests go to this server only.
class Radicale {
public:
    static bool isInstalled() { return !QStandardPaths::findExecutable(QStringLiteral("radicale")).isEmpty(); }
    static constexpr const char* missing =
        "Radicale is not installed (Debian package radicale; scripts/install-deps installs it)";

    struct Response {
        int status = 0;  // 0 when no answer came
        QByteArray body;
        QByteArray etag;
    };

    // Starts it and waits until it answers; isRunning() says whether it did,
    // log() why not.
    Radicale() {
        manager_.setProxy(QNetworkProxy::NoProxy);
        for (int attempt = 0; attempt < 3 && !isRunning(); ++attempt) start();
    }
    ~Radicale() {
        if (!process_ || process_->state() == QProcess::NotRunning) return;
        process_->terminate();
        if (!process_->waitForFinished(5000)) process_->kill();
        process_->waitForFinished(5000);
    }
    Radicale(const Radicale&) = delete;
    Radicale& operator=(const Radicale&) = delete;

    bool isRunning() const { return process_ && process_->state() == QProcess::Running && port_ != 0; }
    QByteArray log() const { return log_; }
    // "http://127.0.0.1:<port>" followed by `path` (which starts with "/").
    QString url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path); }

    // One request, answered within ten seconds or not at all.
    Response request(const QByteArray& verb, const QString& path, const QByteArray& body = {},
                     const QByteArray& contentType = {}) {
        QNetworkRequest request{QUrl(url(path))};
        if (!contentType.isEmpty()) request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
        std::unique_ptr<QNetworkReply> reply(manager_.sendCustomRequest(request, verb, body));
        if (!runMainLoopUntil([&] { return reply->isFinished(); }, std::chrono::seconds(10))) return {};
        return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                reply->rawHeader("ETag")};
    }

private:
    static quint16 freePort() {
        QTcpServer probe;
        return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
    }

    // The port is free when chosen; another program may take it before the
    // server binds it, which the caller tries again for.
    void start() {
        port_ = freePort();
        process_ = std::make_unique<QProcess>();
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->start(QStringLiteral("radicale"),
                        {QStringLiteral("--config"), QString(), QStringLiteral("--server-hosts"),
                         QStringLiteral("127.0.0.1:%1").arg(port_), QStringLiteral("--auth-type"),
                         QStringLiteral("none"), QStringLiteral("--rights-type"), QStringLiteral("authenticated"),
                         QStringLiteral("--storage-filesystem-folder"), storage_.path(), QStringLiteral("--web-type"),
                         QStringLiteral("none"), QStringLiteral("--logging-level"), QStringLiteral("warning")});
        const bool answers = runMainLoopUntil(
            [&] {
                if (process_->state() == QProcess::NotRunning) return true;
                QTcpSocket socket;
                socket.connectToHost(QHostAddress::LocalHost, port_);
                return socket.waitForConnected(100);
            },
            std::chrono::seconds(20));
        log_ += process_->readAll();
        if (!answers || process_->state() != QProcess::Running) {
            process_->kill();
            process_->waitForFinished(5000);
            log_ += process_->readAll();
            port_ = 0;
        }
    }

    QTemporaryDir storage_;
    std::unique_ptr<QProcess> process_;
    quint16 port_ = 0;
    QByteArray log_;
    QNetworkAccessManager manager_;
};
