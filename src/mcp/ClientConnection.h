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
#include <optional>

namespace tavlin::mcp {

// One accepted connection of the AI tools server, on its own non-blocking
// socket: requests are read off it one at a time and answered in order, the
// connection kept open for the next one.
//
// - Pipelined requests wait in the buffer while one is answered. The buffer
//   holds at most one request of the largest size; while it is full nothing
//   more is read, so the sender is held back by TCP itself.
// - A peer that shuts down its sending side still gets the answers to the
//   requests it sent; then the connection closes. A peer that has gone
//   altogether gets nothing more: the requests it left in the buffer are
//   dropped, and only one already being answered runs to its end.
// - A malformed request is answered and the connection closed; nothing
//   after it is read or run.
// - Time limits, none of them restarted by a byte received: a request's
//   head must be whole within `headLimit` of its first byte, and its body
//   within `idleLimit` of the head; a connection with no request is closed
//   `idleLimit` after its last answer (or its start). A connection still
//   sending an answer is not idle: it is closed only when the peer takes
//   nothing of it for `idleLimit`.
class ClientConnection : public std::enable_shared_from_this<ClientConnection> {
public:
    using Respond = std::function<platform::Task<HTTPResponse>(HTTPRequest)>;
    using Closed = std::function<void(ClientConnection*)>;
    using Idle = std::function<void()>;

    // The largest buffer: a head of the largest size, its blank line and the
    // largest body.
    static constexpr qsizetype maxBufferBytes = 16384 + 4 + 4194304;
    static constexpr qsizetype chunkBytes = 65536;
    static constexpr std::chrono::seconds headLimit{10};
    static constexpr std::chrono::seconds idleLimit{60};

    // Takes over `descriptor`. `closed` runs once, when the connection
    // closes; `idle` each time a request's answer has been handed over.
    ClientConnection(int descriptor, Respond respond, Closed closed, Idle idle = {});
    ~ClientConnection();
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    void start();
    void close();
    // Reads what has arrived, as the socket's notifier would: a request
    // that is whole by now starts to be answered.
    void readArrived();

    // A request is being answered, or its answer sent: the connection is at
    // work, not idle.
    bool isBusy() const { return isHandling_ || !outgoing_.isEmpty(); }
    // Since when the connection has waited on its peer: the first byte of a
    // request still arriving, else its last answer (or its start).
    platform::Clock::TimePoint waitingSince() const {
        return requestStarted_ && !isHandling_ ? *requestStarted_ : idleSince_;
    }

private:
    void readAvailable();
    void processBuffer();
    bool takeNextRequest();
    platform::Task<> handle(HTTPRequest request);
    void send(const HTTPResponse& response, bool closeAfterSend);
    void writePending();
    void sendCompleted();
    void updateReading();
    // Nothing is left to read but the end: the peer has stopped sending.
    bool peerHasFinished() const;
    // The peer has closed its socket, not only its sending side.
    bool peerHasGone() const;
    // When the connection is to be closed as it stands; nothing while it
    // answers a request.
    std::optional<platform::Clock::TimePoint> deadline() const;
    // Makes sure a timer fires no later than deadline(); a timer that fires
    // early looks again.
    void watchDeadline();
    void deadlinePassed();

    int descriptor_;
    Respond respond_;
    Closed closed_;
    Idle idle_;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
    platform::ScheduledAction deadlineTimer_;
    std::optional<platform::Clock::TimePoint> timerDue_;

    QByteArray buffer_;    // received, not yet consumed
    QByteArray outgoing_;  // serialized, not yet taken by the kernel
    bool sendsLargeReply_ = false;
    // When the last request was answered, or the kernel last took bytes of
    // an answer.
    platform::Clock::TimePoint idleSince_;
    // When the first byte of the request in the buffer arrived, and when its
    // head was whole.
    std::optional<platform::Clock::TimePoint> requestStarted_;
    std::optional<platform::Clock::TimePoint> headArrived_;
    bool isHandling_ = false;
    bool peerFinished_ = false;
    bool stopsReading_ = false;  // after a malformed request
    bool closeAfterSend_ = false;
    bool isClosed_ = false;
    bool inProcessLoop_ = false;
};

}  // namespace tavlin::mcp
