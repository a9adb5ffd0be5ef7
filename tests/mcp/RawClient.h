#pragma once

#include "support/ResponseBytes.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A client on a plain socket, for tests of a server on this thread's event
// loop: every wait keeps the loop turning so the server can answer.
class RawClient {
public:
    // A `receiveBufferBytes` other than 0 keeps the receive window that small,
    // so that the client takes what it is sent a little at a time.
    explicit RawClient(quint16 port, int receiveBufferBytes = 0) : descriptor_(::socket(AF_INET, SOCK_STREAM, 0)) {
        if (receiveBufferBytes > 0)
            ::setsockopt(descriptor_, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(descriptor_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::fcntl(descriptor_, F_SETFL, ::fcntl(descriptor_, F_GETFL) | O_NONBLOCK);
    }
    ~RawClient() { close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool isConnected() const { return connected_; }

    // Sends everything, turning the loop while the socket is full; false when
    // `limitMs` passes first (the server stopped reading).
    bool send(const QByteArray& bytes, int limitMs = 5000) {
        QElapsedTimer elapsed;
        elapsed.start();
        qsizetype sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n =
                ::send(descriptor_, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
            if (n > 0) sent += n;
            else if (elapsed.elapsed() > limitMs) return false;
            else QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        sentBytes_ += sent;
        return true;
    }
    qint64 sentBytes() const { return sentBytes_; }

    void shutdownWrite() { ::shutdown(descriptor_, SHUT_WR); }
    // Goes away altogether, as a client that gave up waiting does.
    void close() {
        if (descriptor_ >= 0) ::close(std::exchange(descriptor_, -1));
    }

    // Reads until `done` holds for what has arrived, the server closes, or
    // `limitMs` passes.
    const QByteArray& readUntil(const std::function<bool(const QByteArray&)>& done, int limitMs = 5000) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!done(received_) && !closed_ && elapsed.elapsed() < limitMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            pull();
        }
        return received_;
    }
    // The answers complete so far, each a whole response.
    std::vector<QByteArray> responses(std::size_t count, int limitMs = 5000) {
        readUntil([count](const QByteArray& bytes) { return split(bytes).size() >= count; }, limitMs);
        return split(received_);
    }
    bool hasClosed() const { return closed_; }
    // True once the server has closed its side.
    bool waitForClose(int limitMs = 5000) {
        readUntil([](const QByteArray&) { return false; }, limitMs);
        return closed_;
    }
    // Lets the loop turn for a while without expecting anything.
    void idle(int ms) {
        readUntil([](const QByteArray&) { return false; }, ms);
    }

    // Whole responses: a head, then Content-Length bytes of body.
    static std::vector<QByteArray> split(const QByteArray& bytes) {
        std::vector<QByteArray> result;
        qsizetype start = 0;
        while (const std::optional<qsizetype> end = responseEnd(bytes, start)) {
            result.push_back(bytes.mid(start, *end - start));
            start = *end;
        }
        return result;
    }

private:
    void pull() {
        char chunk[65536];
        while (true) {
            const ssize_t n = ::recv(descriptor_, chunk, sizeof chunk, 0);
            if (n > 0) received_.append(chunk, n);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) closed_ = true;
            if (n <= 0) return;
        }
    }

    int descriptor_;
    bool connected_ = false;
    bool closed_ = false;
    qint64 sentBytes_ = 0;
    QByteArray received_;
};

// The bytes of one request to the server.
inline QByteArray httpRequest(const QByteArray& method, const QByteArray& target, const QList<QByteArray>& headers,
                              const QByteArray& body = {}) {
    QByteArray bytes = method + ' ' + target + " HTTP/1.1\r\n";
    for (const QByteArray& header : headers) bytes += header + "\r\n";
    if (!body.isEmpty() || method == "POST") bytes += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return bytes + "\r\n" + body;
}
