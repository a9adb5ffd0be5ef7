#include "platform/FileWriting.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
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

std::optional<FileWriteFailure> writeNewFile(const QString& path, QByteArrayView contents, mode_t mode,
                                             bool exactMode) {
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) return FileWriteFailure{.creating = true, .error = errno};
    const bool written =
        (!exactMode || ::fchmod(descriptor, mode) == 0) && writeAll(descriptor, contents) && ::fsync(descriptor) == 0;
    const int error = errno;
    ::close(descriptor);
    if (written) return std::nullopt;
    ::unlink(name.constData());
    return FileWriteFailure{.creating = false, .error = error};
}

std::optional<mode_t> permissionsOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return status.st_mode & 0777;
}

std::optional<FileWriteFailure> writeReplacement(const QString& temporary, const QString& path, QByteArrayView contents,
                                                 mode_t mode) {
    const std::optional<mode_t> kept = permissionsOf(path);
    return writeNewFile(temporary, contents, kept ? *kept & mode : mode, kept.has_value());
}

std::optional<int> renameOver(const QString& from, const QString& to) {
    const QByteArray fromName = QFile::encodeName(from);
    if (::rename(fromName.constData(), QFile::encodeName(to).constData()) == 0) return std::nullopt;
    const int error = errno;
    ::unlink(fromName.constData());
    return error;
}

std::optional<int> syncFolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    const bool synced = ::fsync(descriptor) == 0 || errno == EINVAL || errno == ENOTSUP;
    const int error = errno;
    ::close(descriptor);
    return synced ? std::nullopt : std::optional(error);
}

std::optional<FileReplaceFailure> replaceFile(const QString& path, QByteArrayView contents, mode_t mode) {
    const QString temporary = path + QStringLiteral(".tmp-") + QString::number(::getpid());
    ::unlink(QFile::encodeName(temporary).constData());  // left by a crash of an earlier process with our pid
    if (const std::optional<FileWriteFailure> failure = writeReplacement(temporary, path, contents, mode)) {
        using Step = FileReplaceFailure::Step;
        return FileReplaceFailure{failure->creating ? Step::creating : Step::writing, failure->error};
    }
    if (const std::optional<int> error = renameOver(temporary, path))
        return FileReplaceFailure{FileReplaceFailure::Step::replacing, *error};
    return std::nullopt;
}

QString couldNot(FileReplaceFailure::Step step) {
    switch (step) {
    case FileReplaceFailure::Step::creating: return QStringLiteral("Couldn't create");
    case FileReplaceFailure::Step::writing: return QStringLiteral("Couldn't write");
    case FileReplaceFailure::Step::replacing: break;
    }
    return QStringLiteral("Couldn't replace");
}

std::optional<int> makeFolders(const QString& path, mode_t mode) {
    QString prefix = path.startsWith(u'/') ? QStringLiteral("/") : QString();
    for (const QString& part : path.split(u'/', Qt::SkipEmptyParts)) {
        prefix += part;
        const QByteArray native = QFile::encodeName(prefix);
        prefix += u'/';
        if (::mkdir(native.constData(), mode) == 0) continue;
        if (errno != EEXIST) return errno;
        struct stat status {};
        if (::stat(native.constData(), &status) != 0) return errno;
        if (!S_ISDIR(status.st_mode)) return ENOTDIR;
    }
    return std::nullopt;
}

}  // namespace tavlin::platform
