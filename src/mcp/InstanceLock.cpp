#include "mcp/InstanceLock.h"

#include <QFile>

#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavlin::mcp {

namespace {

int openLockFile(const QString& path, int flags) {
    return ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0600);
}

}  // namespace

std::unique_ptr<InstanceLock> InstanceLock::acquire(const QString& path) {
    return acquire(path, std::chrono::milliseconds(0));
}

std::unique_ptr<InstanceLock> InstanceLock::acquire(const QString& path, std::chrono::milliseconds limit,
                                                    std::chrono::milliseconds pollInterval) {
    const int descriptor = openLockFile(path, O_RDWR | O_CREAT);
    if (descriptor < 0) return nullptr;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        // Only another holder is worth waiting for.
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            ::close(descriptor);
            return nullptr;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(descriptor));
}

bool InstanceLock::isHeldElsewhere(const QString& path) {
    const int descriptor = openLockFile(path, O_RDONLY);
    if (descriptor < 0) return false;
    const bool held = ::flock(descriptor, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(descriptor);
    return held;
}

InstanceLock::~InstanceLock() { ::close(descriptor_); }

}  // namespace tavlin::mcp
