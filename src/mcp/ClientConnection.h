#pragma once

#include "mcp/HTTPRequest.h"
#include "mcp/HTTPResponse.h"
#include "platform/Clock.h"
#include "platform/Task.h"

#include <QByteArray>
#include <QSocketNotifier>

#include <chrono>
#include <functional>
#include <memory>

namespace tavlin::mcp {

// One accepted connection of the AI tools server, on its own non-blocking
// socket: requests are read off it one at a time and answered in order, the
// connection kept open for the next one.
//
// - Pipelined requests wait in the buffer while one is answered. The buffer
//   holds at most one request of the largest size; while it is full nothing
//   more is read, so the sender is held back by TCP itself.
// - A peer that shuts down its sending side still gets the answers to the
//   requests it sent; then the connection closes.
// - A malformed request is answered and the connection closed; nothing
//   after it is read or run.
// - A connection that has been idle (no bytes, no request being answered)
//   for `idleLimit` is closed.
class ClientConnection : public std::enable_shared_from_this<ClientConnection> {
public:
    using Respond = std::function<platform::Task<HTTPResponse>(HTTPRequest)>;
    using Closed = std::function<void(ClientConnection*)>;

    // The largest buffer: a head of the largest size, its blank line and the
    // largest body.
    static constexpr qsizetype maxBufferBytes = 16384 + 4 + 4194304;
    static constexpr qsizetype chunkBytes = 65536;
    static constexpr std::chrono::minutes idleLimit{3};

    // Takes over `descriptor`. `closed` runs once, when the connection closes.
    ClientConnection(int descriptor, Respond respond, Closed closed);
    ~ClientConnection();
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    void start();
    void close();

private:
    void readAvailable();
    void processBuffer();
    bool takeNextRequest();
    platform::Task<> handle(HTTPRequest request);
    void send(const HTTPResponse& response, bool closeAfterSend);
    void writePending();
    void sendCompleted();
    void updateReading();
    void armIdleTimer();

    int descriptor_;
    Respond respond_;
    Closed closed_;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
    platform::ScheduledAction idleTimer_;

    QByteArray buffer_;    // received, not yet consumed
    QByteArray outgoing_;  // serialized, not yet taken by the kernel
    bool isHandling_ = false;
    bool peerFinished_ = false;
    bool stopsReading_ = false;  // after a malformed request
    bool closeAfterSend_ = false;
    bool isClosed_ = false;
    bool inProcessLoop_ = false;
};

}  // namespace tavlin::mcp
