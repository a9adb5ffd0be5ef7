#pragma once

#include "platform/Clock.h"
#include "platform/Task.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

class QNetworkAccessManager;

namespace tavlin::platform {

// One HTTP exchange as a task, over QtNetwork on the main loop: the request
// goes out at once and the task finishes when the whole answer is in, or
// fails with an HTTPError. Nothing here blocks the loop.
class HTTPClient {
public:
    using Header = std::pair<QByteArray, QByteArray>;

    struct Request {
        QByteArray method = "GET";
        QUrl url;
        std::vector<Header> headers;  // sent as given, after the client's User-Agent
        QByteArray body;              // sent when not empty (or for POST)
        QString bearerToken;          // "Authorization: Bearer …" when not empty
        // From the request's start to the answer's last byte.
        Clock::Duration timeout = std::chrono::seconds(30);
        // An answer whose body grows past this is cut off: the transfer is
        // aborted at once, also when the length is announced up front.
        qint64 maximumBodySize = 8 * 1024 * 1024;
        // Only to the same scheme, host and port; otherwise a redirect is
        // answered as it stands (an HTTPError with its status).
        bool followRedirects = false;
    };

    struct Response {
        int status = 0;
        std::vector<Header> headers;  // as received, in order
        QByteArray body;

        // The first header of this name (names compare without case).
        std::optional<QByteArray> header(QByteArrayView name) const;
    };

    // A request to GET `url`.
    static Request get(QUrl url);
    // A request to POST `json` to `url`, as application/json.
    static Request postJSON(QUrl url, QByteArray json);

    // `clock` measures the timeouts; none: Clock::main() at each request.
    explicit HTTPClient(QByteArray userAgent = defaultUserAgent(), Clock* clock = nullptr);
    ~HTTPClient();
    HTTPClient(const HTTPClient&) = delete;
    HTTPClient& operator=(const HTTPClient&) = delete;

    // Cancelling the task aborts the transfer (an HTTPError, cancelled). A
    // client destroyed mid-transfer ends its transfers the same way.
    Task<Response> send(Request request);

    // "Tavlin/<version>".
    static QByteArray defaultUserAgent();

private:
    QByteArray userAgent_;
    Clock* clock_;
    std::unique_ptr<QNetworkAccessManager> network_;
};

// Why an exchange gave no answer to use.
class HTTPError : public std::runtime_error {
public:
    enum class Kind {
        offline,    // no connection: refused, no such host, no network
        timedOut,   // the request's timeout passed first
        tooLarge,   // the body grew past the request's maximum
        status,     // an answer, but its status is not 2xx (see response())
        failed,     // the connection broke, or the answer was no HTTP
        cancelled,  // the task was cancelled, or the client went
    };

    HTTPError(Kind kind, const QString& message, HTTPClient::Response response = {});

    Kind kind() const { return kind_; }
    // The HTTP status of a `status` error, else 0.
    int status() const { return response_.status; }
    // The answer of a `status` error (its body cut at the maximum size).
    const HTTPClient::Response& response() const { return response_; }

private:
    Kind kind_;
    HTTPClient::Response response_;
};

}  // namespace tavlin::platform
