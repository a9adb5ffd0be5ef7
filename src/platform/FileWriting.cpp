#include "platform/FileWriting.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace tavlin::platform {

bool writeAll(int descriptor, QByteArrayView bytes) {
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        left -= written;
    }
    return true;
}

std::optional<FileWriteFailure> writeNewFile(const QString& path, QByteArrayView contents, mode_t mode) {
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) return FileWriteFailure{.creating = true, .error = errno};
    const bool written = writeAll(descriptor, contents) && ::fsync(descriptor) == 0;
    const int error = errno;
    ::close(descriptor);
    if (written) return std::nullopt;
    ::unlink(name.constData());
    return FileWriteFailure{.creating = false, .error = error};
}

std::optional<int> renameOver(const QString& from, const QString& to) {
    const QByteArray fromName = QFile::encodeName(from);
    if (::rename(fromName.constData(), QFile::encodeName(to).constData()) == 0) return std::nullopt;
    const int error = errno;
    ::unlink(fromName.constData());
    return error;
}

}  // namespace tavlin::platform
