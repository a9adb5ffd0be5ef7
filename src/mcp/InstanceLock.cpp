#include "mcp/InstanceLock.h"

#include <QFile>

#include <cerrno>

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
    const int descriptor = openLockFile(path, O_RDWR | O_CREAT);
    if (descriptor < 0) return nullptr;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return nullptr;
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
