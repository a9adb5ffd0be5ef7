#include "support/FakeHTTPServer.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

constexpr qint64 pieceSize = 64 * 1024;
// Written ahead of the client at most, so that an endless body costs
// nothing while the client does not read.
constexpr qint64 writeAhead = 4 * pieceSize;

QByteArray reasonFor(int status) {
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

std::optional<QByteArray> headerIn(const std::vector<FakeHTTPServer::Header>& headers, QByteArrayView name) {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    }
    return std::nullopt;
}

}  // namespace

struct FakeHTTPServer::Connection {
    QTcpSocket* socket = nullptr;
    QByteArray buffer;
    bool busy = false;  // a request is being answered; the next ones wait
    bool closeAfter = false;

    // The body being written.
    bool streaming = false;
    QByteArray fixed;
    qint64 fixedOffset = 0;
    qint64 generatedLeft = 0;  // -1: never ends
    QByteArray fillerPiece;
    bool chunked = false;
    std::optional<qint64> cutAfter;
    qint64 written = 0;
};

std::optional<QByteArray> FakeHTTPServer::Request::header(QByteArrayView name) const { return headerIn(headers, name); }

FakeHTTPServer::Reply FakeHTTPServer::Reply::json(QByteArray body, int status) {
    Reply reply;
    reply.status = status;
    reply.headers.emplace_back("Content-Type", "application/json");
    reply.body = std::move(body);
    return reply;
}

FakeHTTPServer::FakeHTTPServer(quint16 port)
    : port_(port), context_(std::make_unique<QObject>()), listener_(std::make_unique<QTcpServer>()) {
    QObject::connect(listener_.get(), &QTcpServer::newConnection, context_.get(), [this] { accept(); });
    listen();
}

FakeHTTPServer::~FakeHTTPServer() {
    context_.reset();
    for (const auto& connection : connections_) delete connection->socket;
}

QUrl FakeHTTPServer::url(const QByteArray& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(QString::fromUtf8(path)));
}

void FakeHTTPServer::on(const QByteArray& path, Handler handler) { handlers_[path] = std::move(handler); }

void FakeHTTPServer::on(const QByteArray& path, Reply reply) {
    on(path, [reply](const Request&) { return reply; });
}

bool FakeHTTPServer::listen() {
    if (listener_->isListening()) return true;
    if (!listener_->listen(QHostAddress::LocalHost, port_)) return false;
    port_ = listener_->serverPort();
    return true;
}

bool FakeHTTPServer::isListening() const { return listener_->isListening(); }

void FakeHTTPServer::close() {
    listener_->close();
    held_.clear();
    for (const auto& connection : std::vector(connections_)) {
        connection->socket->abort();
        drop(connection);
    }
}

void FakeHTTPServer::releaseHeld() {
    for (const auto& answer : std::exchange(held_, {})) answer();
}

std::size_t FakeHTTPServer::heldCount() const { return held_.size(); }

std::vector<FakeHTTPServer::Request> FakeHTTPServer::requestsTo(const QByteArray& path) const {
    std::vector<Request> found;
    std::copy_if(requests_.begin(), requests_.end(), std::back_inserter(found),
                 [&](const Request& request) { return request.path == path; });
    return found;
}

int FakeHTTPServer::openConnections() const {
    return int(std::count_if(connections_.begin(), connections_.end(), [](const auto& connection) {
        return connection->socket->state() == QAbstractSocket::ConnectedState;
    }));
}

void FakeHTTPServer::accept() {
    while (QTcpSocket* socket = listener_->nextPendingConnection()) {
        socket->setParent(nullptr);
        const auto connection = std::make_shared<Connection>();
        connection->socket = socket;
        connections_.push_back(connection);
        const std::weak_ptr<Connection> weak = connection;
        QObject::connect(socket, &QTcpSocket::readyRead, context_.get(), [this, weak] {
            if (const auto alive = weak.lock()) readFrom(alive);
        });
        QObject::connect(socket, &QTcpSocket::bytesWritten, context_.get(), [this, weak] {
            if (const auto alive = weak.lock()) pump(alive);
        });
        QObject::connect(socket, &QTcpSocket::disconnected, context_.get(), [this, weak] {
            if (const auto alive = weak.lock()) drop(alive);
        });
        readFrom(connection);
    }
}

void FakeHTTPServer::drop(const std::shared_ptr<Connection>& connection) {
    const auto found = std::find(connections_.begin(), connections_.end(), connection);
    if (found == connections_.end()) return;
    connections_.erase(found);
    connection->streaming = false;
    connection->socket->disconnect(context_.get());
    connection->socket->deleteLater();
}

void FakeHTTPServer::readFrom(const std::shared_ptr<Connection>& connection) {
    connection->buffer += connection->socket->readAll();
    if (connection->busy) return;
    const qsizetype headEnd = connection->buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) return;
    const QList<QByteArray> lines = connection->buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.front().trimmed().split(' ');
    Request request;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0) request.headers.emplace_back(lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed());
    }
    const qint64 length = request.header("Content-Length").value_or("0").toLongLong();
    if (connection->buffer.size() < headEnd + 4 + length) return;  // the body is still coming
    request.body = connection->buffer.mid(headEnd + 4, length);
    connection->buffer.remove(0, headEnd + 4 + length);
    if (requestLine.size() == 3) {
        request.method = requestLine[0];
        request.target = requestLine[1];
        const qsizetype query = request.target.indexOf('?');
        request.path = query < 0 ? request.target : request.target.left(query);
    }
    requests_.push_back(request);
    connection->busy = true;
    connection->closeAfter = request.header("Connection").value_or("").compare("close", Qt::CaseInsensitive) == 0;

    const auto handler = handlers_.find(request.path);
    Reply reply = requestLine.size() != 3      ? Reply{.status = 400}
                  : handler == handlers_.end() ? Reply{.status = 404}
                                               : handler->second(request);
    if (reply.silent) return;
    const std::weak_ptr<Connection> weak = connection;
    auto send = [this, weak, reply] {
        if (const auto alive = weak.lock()) answer(alive, reply);
    };
    if (reply.held) {
        held_.push_back(std::move(send));
    } else if (reply.delay.count() > 0) {
        QTimer::singleShot(reply.delay, context_.get(), std::move(send));
    } else {
        send();
    }
}

void FakeHTTPServer::answer(const std::shared_ptr<Connection>& connection, Reply reply) {
    Connection& out = *connection;
    out.chunked = reply.chunked || reply.generatedBytes < 0;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonFor(reply.status) + "\r\n";
    for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
    if (out.chunked) head += "Transfer-Encoding: chunked\r\n";
    else head += "Content-Length: " + QByteArray::number(reply.body.size() + reply.generatedBytes) + "\r\n";
    if (out.closeAfter) head += "Connection: close\r\n";
    out.socket->write(head + "\r\n");

    out.streaming = true;
    out.fixed = std::move(reply.body);
    out.fixedOffset = 0;
    out.generatedLeft = reply.generatedBytes;
    out.fillerPiece.clear();
    if (!reply.filler.isEmpty()) {
        while (out.fillerPiece.size() < pieceSize) out.fillerPiece += reply.filler;
    }
    out.cutAfter = reply.cutAfter;
    out.written = 0;
    pump(connection);
}

void FakeHTTPServer::pump(const std::shared_ptr<Connection>& connection) {
    Connection& out = *connection;
    while (out.streaming && out.socket->bytesToWrite() < writeAhead) {
        QByteArray piece;
        if (out.fixedOffset < out.fixed.size()) {
            piece = out.fixed.mid(out.fixedOffset, pieceSize);
            out.fixedOffset += piece.size();
        } else if (out.generatedLeft != 0 && !out.fillerPiece.isEmpty()) {
            piece = out.generatedLeft < 0 ? out.fillerPiece : out.fillerPiece.left(out.generatedLeft);
            if (out.generatedLeft > 0) out.generatedLeft -= piece.size();
        }
        if (out.cutAfter) piece.truncate(std::max<qint64>(0, *out.cutAfter - out.written));
        if (!piece.isEmpty()) {
            out.socket->write(out.chunked ? QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n" : piece);
            out.written += piece.size();
            bodyBytesWritten_ += piece.size();
        }
        if (out.cutAfter && out.written >= *out.cutAfter) {
            out.streaming = false;
            out.socket->disconnectFromHost();
            return;
        }
        if (piece.isEmpty()) {
            // The whole body is out.
            if (out.chunked) out.socket->write("0\r\n\r\n");
            out.streaming = false;
            out.busy = false;
            if (out.closeAfter) {
                out.socket->disconnectFromHost();
            } else if (!out.buffer.isEmpty()) {
                readFrom(connection);
            }
        }
    }
}
