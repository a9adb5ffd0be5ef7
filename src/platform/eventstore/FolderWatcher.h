#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace tavlin::platform {

// The kernel's notices of changes in a few folders (inotify): files made,
// written, removed or renamed in them, and the folders themselves going.
// Unlike QFileSystemWatcher it names the file and sees a file written in
// place. When the system refuses (no inotify, its limit of watches reached,
// its queue overflowed) isWorking() turns false for good, and the owner
// must look at the folders itself.
class FolderWatcher final : public QObject {
    Q_OBJECT

public:
    struct Event {
        QString folder;
        QString name;             // empty for the folder itself
        bool folderGone = false;  // removed, or moved away
    };

    FolderWatcher();
    ~FolderWatcher() override;

    bool isWorking() const { return descriptor_ >= 0 && !failed_; }
    // Watches exactly these folders from now on.
    void setFolders(const QStringList& folders);
    // The notices the kernel holds now, read at once: a change made just
    // before the call is among them.
    std::vector<Event> takeEvents();
    // For tests: acts as if the system had refused a watch.
    void fail();

signals:
    // Notices wait to be taken.
    void eventsWaiting();

private:
    int descriptor_ = -1;
    bool failed_ = false;
    QHash<int, QString> folders_;  // by watch
    QHash<QString, int> watches_;  // by folder
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tavlin::platform
