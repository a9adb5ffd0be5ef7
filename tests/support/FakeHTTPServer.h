#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QUrl>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QObject;
class QTcpServer;
class QTcpSocket;

// An HTTP/1.1 server for tests, on a free port of the loopback address. Each
// path answers from a handler the test sets; every request is recorded.
// Runs on the main loop: the test drives it with runMainLoopUntil.
// Requests may come one after another on a kept-alive connection; request
// bodies must come with a Content-Length (as QtNetwork sends them).
class FakeHTTPServer {
public:
    using Header = std::pair<QByteArray, QByteArray>;

    struct Request {
        QByteArray method;
        QByteArray target;  // path and query, as sent
        QByteArray path;    // without the query
        std::vector<Header> headers;
        QByteArray body;

        // The first header of this name (names compare without case).
        std::optional<QByteArray> header(QByteArrayView name) const;
    };

    struct Reply {
        int status = 200;
        std::vector<Header> headers;  // Content-Length (or chunked coding) is added
        QByteArray body;
        // Waits this long before answering (real time).
        std::chrono::milliseconds delay{0};
        // Holds the answer until releaseHeld().
        bool held = false;
        // Accepts the request and never says anything.
        bool silent = false;
        // Then this many bytes more of `filler` after `body`; -1 for a body
        // that never ends. Written as the client takes them.
        qint64 generatedBytes = 0;
        QByteArray filler = "x";
        // Chunked coding instead of a Content-Length (always, for a body
        // that never ends).
        bool chunked = false;
        // Closes the connection after this many bytes of the body, in the
        // middle of the answer.
        std::optional<qint64> cutAfter;

        static Reply json(QByteArray body, int status = 200);
    };

    using Handler = std::function<Reply(const Request&)>;

    // Listens at once on 127.0.0.1, at `port` (0: a free one).
    explicit FakeHTTPServer(quint16 port = 0);
    ~FakeHTTPServer();
    FakeHTTPServer(const FakeHTTPServer&) = delete;
    FakeHTTPServer& operator=(const FakeHTTPServer&) = delete;

    quint16 port() const { return port_; }
    // http://127.0.0.1:<port><path>
    QUrl url(const QByteArray& path = "/") const;

    // Requests to `path` (the query left aside) answer from `handler`, or
    // with `reply` each time; any other path answers 404.
    void on(const QByteArray& path, Handler handler);
    void on(const QByteArray& path, Reply reply);

    // Stops listening and drops every connection (the server is gone);
    // listen() takes the same port again.
    void close();
    bool listen();
    bool isListening() const;

    // Answers every held reply.
    void releaseHeld();
    std::size_t heldCount() const;

    // Every request so far, in the order they arrived.
    const std::vector<Request>& requests() const { return requests_; }
    std::vector<Request> requestsTo(const QByteArray& path) const;
    // Connections the clients have open now.
    int openConnections() const;
    // Body bytes written so far, over every answer.
    qint64 bodyBytesWritten() const { return bodyBytesWritten_; }

private:
    struct Connection;

    void accept();
    void readFrom(const std::shared_ptr<Connection>& connection);
    void answer(const std::shared_ptr<Connection>& connection, Reply reply);
    void pump(const std::shared_ptr<Connection>& connection);
    void drop(const std::shared_ptr<Connection>& connection);

    quint16 port_ = 0;
    // Holds the server's connections to sockets and timers: gone first.
    std::unique_ptr<QObject> context_;
    std::unique_ptr<QTcpServer> listener_;
    std::vector<std::function<void()>> held_;
    std::map<QByteArray, Handler> handlers_;
    std::vector<Request> requests_;
    std::vector<std::shared_ptr<Connection>> connections_;
    qint64 bodyBytesWritten_ = 0;
};
