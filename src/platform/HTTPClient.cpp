#include "platform/HTTPClient.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

#include <algorithm>

namespace tavlin::platform {

namespace {

// What Qt's network thread may read of a body before this thread takes it.
constexpr qint64 readAhead = 1024 * 1024;

HTTPError::Kind kindOf(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError: return HTTPError::Kind::offline;
    case QNetworkReply::OperationCanceledError: return HTTPError::Kind::cancelled;  // aborted from outside
    default: return HTTPError::Kind::failed;
    }
}

bool isSuccess(int status) { return status >= 200 && status < 300; }

// One request in flight. The reply's connections hold it; the reply is let
// go (later, as it may be emitting) once the transfer has ended, and the
// task is finished at the next turn of the loop, so that whoever awaited it
// never runs inside QtNetwork's own signals.
struct Transfer {
    TaskCompletion<HTTPClient::Response> completion;
    QPointer<QNetworkReply> reply;
    QByteArray body;
    qint64 maximumBodySize = 0;
    ScheduledAction timer;
    bool ended = false;

    void succeed(HTTPClient::Response response) {
        if (!end()) return;
        postToMainLoop([completion = completion, response = std::move(response)]() mutable {
            completion.resolve(std::move(response));
        });
    }
    void fail(HTTPError error) {
        if (!end()) return;
        qCDebug(lcPlatform).noquote() << "HTTP" << (reply ? reply->url().toDisplayString() : QString())
                                      << "failed:" << error.what();
        postToMainLoop(
            [completion = completion, error = std::make_exception_ptr(std::move(error))] { completion.fail(error); });
    }

private:
    // Whether this call ended the transfer (only the first does).
    bool end() {
        if (ended) return false;
        ended = true;
        timer.cancel();
        if (reply) {
            if (reply->isRunning()) reply->abort();
            reply->deleteLater();
        }
        return true;
    }
};

HTTPClient::Response responseOf(QNetworkReply& reply, QByteArray body) {
    HTTPClient::Response response;
    response.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    for (const auto& [name, value] : reply.rawHeaderPairs()) response.headers.emplace_back(name, value);
    response.body = std::move(body);
    return response;
}

void readAvailable(Transfer& transfer) {
    if (!transfer.reply->isOpen()) return;  // closed by an error of the connection
    transfer.body += transfer.reply->readAll();
    if (transfer.body.size() > transfer.maximumBodySize) {
        transfer.body.clear();
        transfer.fail(HTTPError(HTTPError::Kind::tooLarge,
                                QStringLiteral("the answer is larger than %1 bytes").arg(transfer.maximumBodySize)));
    }
}

void finished(Transfer& transfer) {
    QNetworkReply& reply = *transfer.reply;
    readAvailable(transfer);
    if (transfer.ended) return;
    const QNetworkReply::NetworkError error = reply.error();
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // Qt reports a 4xx or 5xx answer as an error too; it is an answer all
    // the same. A transport error under a 2xx status is a broken answer.
    const bool answered = status > 0 && (error == QNetworkReply::NoError ||
                                         (!isSuccess(status) && error >= QNetworkReply::ContentAccessDenied));
    if (answered) {
        HTTPClient::Response response = responseOf(reply, std::move(transfer.body));
        if (isSuccess(status)) {
            transfer.succeed(std::move(response));
        } else {
            transfer.fail(
                HTTPError(HTTPError::Kind::status, QStringLiteral("HTTP status %1").arg(status), std::move(response)));
        }
        return;
    }
    transfer.fail(HTTPError(kindOf(error), reply.errorString()));
}

}  // namespace

std::optional<QByteArray> HTTPClient::Response::header(QByteArrayView name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    }
    return std::nullopt;
}

HTTPClient::Request HTTPClient::get(QUrl url) {
    Request request;
    request.url = std::move(url);
    return request;
}

HTTPClient::Request HTTPClient::postJSON(QUrl url, QByteArray json) {
    Request request;
    request.method = "POST";
    request.url = std::move(url);
    request.headers.emplace_back("Content-Type", "application/json");
    request.body = std::move(json);
    return request;
}

QByteArray HTTPClient::defaultUserAgent() {
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QByteArray("Tavlin") : "Tavlin/" + version.toUtf8();
}

HTTPClient::HTTPClient(QByteArray userAgent, Clock* clock)
    : userAgent_(std::move(userAgent)), clock_(clock), network_(std::make_unique<QNetworkAccessManager>()) {}

HTTPClient::~HTTPClient() {
    // Every transfer still running ends as cancelled, not abandoned.
    for (QNetworkReply* reply : network_->findChildren<QNetworkReply*>()) reply->abort();
}

Task<HTTPClient::Response> HTTPClient::send(Request request) {
    QNetworkRequest outgoing(request.url);
    outgoing.setAttribute(QNetworkRequest::RedirectPolicyAttribute, request.followRedirects
                                                                        ? QNetworkRequest::SameOriginRedirectPolicy
                                                                        : QNetworkRequest::ManualRedirectPolicy);
    outgoing.setRawHeader("User-Agent", userAgent_);
    if (!request.bearerToken.isEmpty())
        outgoing.setRawHeader("Authorization", "Bearer " + request.bearerToken.toUtf8());
    for (const auto& [name, value] : request.headers) outgoing.setRawHeader(name, value);

    const auto transfer = std::make_shared<Transfer>();
    transfer->maximumBodySize = request.maximumBodySize;
    transfer->reply = request.method == "GET" && request.body.isEmpty()
                          ? network_->get(outgoing)
                          : network_->sendCustomRequest(outgoing, request.method, request.body);
    QNetworkReply* reply = transfer->reply;
    // Qt's network thread reads on while this thread is busy, and holds back
    // what it read while more is on its way: unbounded, a body that never
    // ends would fill memory and never reach the size check here. (Qt 6.4
    // bounds only a GET's reading so; a POST's is bounded by its timeout.)
    reply->setReadBufferSize(std::min<qint64>(transfer->maximumBodySize + 1, readAhead));

    QObject::connect(reply, &QNetworkReply::metaDataChanged, [transfer] {
        if (transfer->ended) return;
        const QVariant length = transfer->reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > transfer->maximumBodySize) {
            transfer->fail(HTTPError(HTTPError::Kind::tooLarge,
                                     QStringLiteral("the answer announces %1 bytes").arg(length.toLongLong())));
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, [transfer] {
        if (!transfer->ended) readAvailable(*transfer);
    });
    QObject::connect(reply, &QNetworkReply::finished, [transfer] {
        if (!transfer->ended) finished(*transfer);
    });
    // A reply that goes before its end (the client was destroyed) is cancelled.
    QObject::connect(reply, &QObject::destroyed, [transfer] {
        transfer->fail(HTTPError(HTTPError::Kind::cancelled, QStringLiteral("the client went")));
    });
    const std::weak_ptr<Transfer> weak = transfer;
    transfer->completion.onCancel([weak](const TaskCompletion<Response>&) {
        if (const auto running = weak.lock()) {
            running->fail(HTTPError(HTTPError::Kind::cancelled, QStringLiteral("cancelled")));
        }
    });
    Clock& clock = clock_ ? *clock_ : Clock::main();
    transfer->timer = clock.schedule(request.timeout, [weak, timeout = request.timeout] {
        if (const auto running = weak.lock()) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(timeout).count();
            running->fail(HTTPError(HTTPError::Kind::timedOut, QStringLiteral("no whole answer within %1 ms").arg(ms)));
        }
    });
    return transfer->completion.task();
}

HTTPError::HTTPError(Kind kind, const QString& message, HTTPClient::Response response)
    : std::runtime_error(message.toStdString()), kind_(kind), response_(std::move(response)) {}

}  // namespace tavlin::platform
