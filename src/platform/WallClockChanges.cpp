#include "platform/WallClockChanges.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>

#include <sys/timerfd.h>
#include <unistd.h>

namespace tavlin::platform {

WallClockChanges::WallClockChanges(QObject* parent) : QObject(parent) {
    descriptor_ = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (descriptor_ < 0 || !arm()) return;
    notifier_ = new QSocketNotifier(descriptor_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &WallClockChanges::onReadable);
}

WallClockChanges::~WallClockChanges() {
    delete notifier_;
    if (descriptor_ >= 0) ::close(descriptor_);
}

// An absolute expiry that never comes; only its cancellation matters.
bool WallClockChanges::arm() {
    itimerspec never{};
    never.it_value.tv_sec = INT32_MAX;
    return ::timerfd_settime(descriptor_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) == 0;
}

void WallClockChanges::onReadable() {
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(descriptor_, &expirations, sizeof expirations);
    if (got < 0 && errno == ECANCELED) {
        arm();
        emit changed();
    }
}

}  // namespace tavlin::platform
