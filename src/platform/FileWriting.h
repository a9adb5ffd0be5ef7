#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

#include <sys/types.h>

namespace tavlin::platform {

// Every byte written, the write retried when a signal interrupts it.
bool writeAll(int descriptor, QByteArrayView bytes);

// Files replaced whole: the new contents go to a temporary file beside the
// old one, synced, then renamed over it, so that a crash leaves the old file
// or the new one.
struct FileWriteFailure {
    bool creating = false;  // the file could not be created, rather than written
    int error = 0;          // errno
};
// A new file at `path` (never an existing one) with `contents`, synced; a
// file that was created but could not be written is removed again. Its mode
// is `mode` under the umask, or exactly `mode` when `exactMode` is set.
std::optional<FileWriteFailure> writeNewFile(const QString& path, QByteArrayView contents, mode_t mode,
                                             bool exactMode = false);
// The permission bits of the regular file at `path`; nothing when there is none.
std::optional<mode_t> permissionsOf(const QString& path);
// A replacement for `path` at `temporary`: with the permissions of the file
// it replaces, within `mode` (a rewrite never widens who may read a file,
// nor a file holding a secret beyond what its writer allows), or `mode`
// under the umask when there is none.
std::optional<FileWriteFailure> writeReplacement(const QString& temporary, const QString& path, QByteArrayView contents,
                                                 mode_t mode);
// `from` renamed over `to`; when that fails, `from` is removed and the
// rename's errno returned.
std::optional<int> renameOver(const QString& from, const QString& to);

// The entries of the folder that holds `path` synced, so that a file
// renamed into it or removed from it stays so after a crash: the errno
// when that fails. A folder whose file system cannot sync folders counts
// as synced.
std::optional<int> syncFolderOf(const QString& path);

// The file at `path` replaced whole by `contents` (writeReplacement on a
// temporary file beside it, then renameOver): on failure the errno and the
// step that failed.
struct FileReplaceFailure {
    enum class Step { creating, writing, replacing } step;
    int error = 0;
};
std::optional<FileReplaceFailure> replaceFile(const QString& path, QByteArrayView contents, mode_t mode);
// The failed step for a message: "Couldn't create", "Couldn't write" or
// "Couldn't replace".
QString couldNot(FileReplaceFailure::Step step);

// `path` and the folders above it made where missing, each with `mode`; the
// errno of the first that could not be made.
std::optional<int> makeFolders(const QString& path, mode_t mode);

}  // namespace tavlin::platform
