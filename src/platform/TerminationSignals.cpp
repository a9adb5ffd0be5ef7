#include "platform/TerminationSignals.h"

#include "platform/Log.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>
#include <cstring>

namespace tavlin::platform {

namespace {

int writeEnd = -1;

// Only async-signal-safe calls here: the main loop does the rest.
extern "C" void forwardSignal(int signalNumber) {
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
}

void handle(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    Q_ASSERT(writeEnd == -1);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets_) != 0) {
        qCWarning(lcPlatform) << "cannot watch for termination signals:" << strerror(errno);
        return;
    }
    writeEnd = sockets_[0];
    notifier_ = std::make_unique<QSocketNotifier>(sockets_[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPendingSignal);
    handle(SIGINT, forwardSignal);
    handle(SIGTERM, forwardSignal);
}

TerminationSignals::~TerminationSignals() {
    if (writeEnd == -1) return;
    handle(SIGINT, SIG_DFL);
    handle(SIGTERM, SIG_DFL);
    writeEnd = -1;
    notifier_.reset();
    ::close(sockets_[0]);
    ::close(sockets_[1]);
}

void TerminationSignals::readPendingSignal() {
    unsigned char byte = 0;
    if (::read(sockets_[1], &byte, 1) == 1) Q_EMIT terminationRequested(byte);
}

}  // namespace tavlin::platform
