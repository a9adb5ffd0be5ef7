#include "mcp/ClientConnection.h"

#include "mcp/HTTPRequestParser.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tavlin::mcp {

namespace {

// An answer from which this much memory is worth giving back.
constexpr qsizetype kLargeReplyBytes = 1024 * 1024;

}  // namespace

ClientConnection::ClientConnection(int descriptor, Respond respond, Closed closed, Idle idle)
    : descriptor_(descriptor),
      respond_(std::move(respond)),
      closed_(std::move(closed)),
      idle_(std::move(idle)),
      idleSince_(platform::Clock::main().now()) {}

ClientConnection::~ClientConnection() {
    if (!isClosed_) ::close(descriptor_);
}

void ClientConnection::start() {
    ::fcntl(descriptor_, F_SETFL, ::fcntl(descriptor_, F_GETFL) | O_NONBLOCK);
    readNotifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
    writeNotifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    const std::weak_ptr<ClientConnection> weak = weak_from_this();
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, [weak] {
        if (const auto self = weak.lock()) self->readAvailable();
    });
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, [weak] {
        if (const auto self = weak.lock()) self->writePending();
    });
    watchDeadline();
    // What the client sent before it was accepted counts from now, not from
    // whenever the loop next looks.
    readArrived();
}

void ClientConnection::readArrived() {
    if (!isClosed_ && readNotifier_->isEnabled()) readAvailable();
}

void ClientConnection::readAvailable() {
    const qsizetype room = std::min(chunkBytes, maxBufferBytes - buffer_.size());
    if (room <= 0) return updateReading();
    const qsizetype oldSize = buffer_.size();
    buffer_.resize(oldSize + room);
    const ssize_t received = ::recv(descriptor_, buffer_.data() + oldSize, static_cast<size_t>(room), 0);
    buffer_.resize(oldSize + std::max<ssize_t>(received, 0));
    if (received < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) close();
        return;
    }
    if (received == 0) peerFinished_ = true;
    // The first byte of a request starts its clock; later ones do not.
    if (oldSize == 0 && received > 0) requestStarted_ = platform::Clock::main().now();
    updateReading();
    processBuffer();
    watchDeadline();
}

// Reading pauses while the buffer is full, and ends once the peer has
// finished or a malformed request has been answered.
void ClientConnection::updateReading() {
    if (isClosed_) return;
    readNotifier_->setEnabled(!peerFinished_ && !stopsReading_ && buffer_.size() < maxBufferBytes);
}

// Takes requests from the buffer one at a time, each only once the answer to
// the one before has been handed to the kernel. Answers that come at once
// continue this loop instead of nesting a new one.
void ClientConnection::processBuffer() {
    if (inProcessLoop_) return;
    const auto self = shared_from_this();
    inProcessLoop_ = true;
    while (!isHandling_ && !isClosed_ && !stopsReading_ && outgoing_.isEmpty() && takeNextRequest()) {
    }
    inProcessLoop_ = false;
}

bool ClientConnection::takeNextRequest() {
    // Once the peer has stopped sending, it may have gone altogether: what
    // it left is not run for no one.
    if (peerFinished_ && peerHasGone()) {
        close();
        return false;
    }
    auto outcome = HTTPRequestParser::parse(buffer_);
    if (std::holds_alternative<HTTPRequestParser::Incomplete>(outcome)) {
        if (peerFinished_) close();
        else if (!headArrived_ && HTTPRequestParser::holdsWholeHead(buffer_))
            headArrived_ = platform::Clock::main().now();
        return false;
    }
    if (const auto* malformed = std::get_if<HTTPRequestParser::Malformed>(&outcome)) {
        buffer_.clear();
        stopsReading_ = true;
        updateReading();
        send(HTTPResponse::text(malformed->status, malformed->reason), true);
        return false;
    }
    auto& complete = std::get<HTTPRequestParser::Request>(outcome);
    buffer_.remove(0, complete.consumed);
    // Bytes after it are the next request's, here since now at the latest.
    requestStarted_ = buffer_.isEmpty() ? std::nullopt : std::optional(platform::Clock::main().now());
    headArrived_.reset();
    isHandling_ = true;
    updateReading();
    platform::detach(handle(std::move(complete.request)));
    return true;
}

platform::Task<> ClientConnection::handle(HTTPRequest request) {
    const auto self = shared_from_this();
    const HTTPResponse response = co_await respond_(std::move(request));
    isHandling_ = false;
    idleSince_ = platform::Clock::main().now();
    if (isClosed_) co_return;
    send(response, false);
    watchDeadline();
    if (idle_ && !isClosed_) idle_();
}

void ClientConnection::send(const HTTPResponse& response, bool closeAfterSend) {
    sendsLargeReply_ = sendsLargeReply_ || response.body.size() >= kLargeReplyBytes;
    outgoing_ += response.serialize();
    closeAfterSend_ = closeAfterSend_ || closeAfterSend;
    writePending();
}

void ClientConnection::writePending() {
    const auto self = shared_from_this();
    while (!outgoing_.isEmpty()) {
        const ssize_t sent =
            ::send(descriptor_, outgoing_.constData(), static_cast<size_t>(outgoing_.size()), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            writeNotifier_->setEnabled(true);
            return;
        }
        if (sent < 0) return close();  // the peer is gone: nothing more can be answered
        outgoing_.remove(0, sent);
        idleSince_ = platform::Clock::main().now();  // the peer is taking the answer
    }
    writeNotifier_->setEnabled(false);
    if (std::exchange(sendsLargeReply_, false)) {
        // What building and sending a large answer took goes back to the
        // system rather than staying with the process.
        outgoing_ = QByteArray();
        ::malloc_trim(0);
    }
    sendCompleted();
}

void ClientConnection::sendCompleted() {
    if (closeAfterSend_) return close();
    // A peer that finished while the answer was made may have gone: its end,
    // already here, is seen before the next request is taken, whether or not
    // the loop has read it yet.
    if (!peerFinished_ && peerHasFinished()) peerFinished_ = true;
    if (peerFinished_) {
        // A peer that has gone answers what it is sent with a reset; give it
        // a turn of the loop to arrive before the next request is taken.
        platform::postToMainLoop([weak = weak_from_this()] {
            if (const auto self = weak.lock()) self->processBuffer();
        });
        return;
    }
    processBuffer();
    watchDeadline();
}

bool ClientConnection::peerHasFinished() const {
    char byte = 0;
    return ::recv(descriptor_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

bool ClientConnection::peerHasGone() const {
    pollfd state{.fd = descriptor_, .events = POLLIN, .revents = 0};
    return ::poll(&state, 1, 0) > 0 && (state.revents & (POLLERR | POLLHUP)) != 0;
}

std::optional<platform::Clock::TimePoint> ClientConnection::deadline() const {
    if (isClosed_ || isHandling_) return std::nullopt;
    if (!requestStarted_ || !outgoing_.isEmpty()) return idleSince_ + idleLimit;
    if (headArrived_) return *headArrived_ + idleLimit;
    return *requestStarted_ + headLimit;
}

// Requests come and go far more often than a deadline passes, so the timer is
// set again only when the deadline comes earlier than the timer.
void ClientConnection::watchDeadline() {
    const std::optional<platform::Clock::TimePoint> due = deadline();
    if (!due || (timerDue_ && *timerDue_ <= *due)) return;
    deadlineTimer_.cancel();
    timerDue_ = due;
    deadlineTimer_ = platform::Clock::main().schedule(*due - platform::Clock::main().now(), [weak = weak_from_this()] {
        if (const auto self = weak.lock()) self->deadlinePassed();
    });
}

void ClientConnection::deadlinePassed() {
    timerDue_.reset();
    const std::optional<platform::Clock::TimePoint> due = deadline();
    if (due && *due <= platform::Clock::main().now()) close();
    else watchDeadline();
}

void ClientConnection::close() {
    if (isClosed_) return;
    isClosed_ = true;
    deadlineTimer_.cancel();
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    ::close(descriptor_);
    // Kept until the next turn of the loop: this may run inside a notifier's
    // own signal, which must not be destroyed under it.
    platform::postToMainLoop([keep = shared_from_this()] {});
    closed_(this);
}

}  // namespace tavlin::mcp
