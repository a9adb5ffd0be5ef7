#include "platform/eventstore/FolderWatcher.h"

#include "platform/Log.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include <sys/inotify.h>
#include <unistd.h>

namespace tavlin::platform {

namespace {

// Whatever another program may do to an item: write it in place (modify,
// close), make or remove it, rename it in or out, change its mode.
constexpr std::uint32_t kMask = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

}  // namespace

FolderWatcher::FolderWatcher() : descriptor_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (descriptor_ < 0) {
        qCWarning(lcStore).noquote() << "Can’t follow changes of the reminders folders:" << std::strerror(errno);
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        // Quiet until the notices are taken, so that a burst wakes the owner once.
        notifier_->setEnabled(false);
        emit eventsWaiting();
    });
}

FolderWatcher::~FolderWatcher() {
    notifier_.reset();
    if (descriptor_ >= 0) ::close(descriptor_);
}

void FolderWatcher::fail() {
    if (!failed_) qCWarning(lcStore) << "Changes of the reminders folders are now found by looking at them";
    failed_ = true;
    if (notifier_) notifier_->setEnabled(false);
}

void FolderWatcher::setFolders(const QStringList& folders) {
    if (!isWorking()) return;
    for (auto it = watches_.begin(); it != watches_.end();) {
        if (folders.contains(it.key())) {
            ++it;
            continue;
        }
        ::inotify_rm_watch(descriptor_, it.value());
        folders_.remove(it.value());
        it = watches_.erase(it);
    }
    for (const QString& folder : folders) {
        if (watches_.contains(folder)) continue;
        const int watch = ::inotify_add_watch(descriptor_, QFile::encodeName(folder).constData(), kMask);
        if (watch < 0) {
            // A folder gone meanwhile is found by the next look; anything else is a refusal.
            if (errno == ENOENT || errno == ENOTDIR) continue;
            qCWarning(lcStore).noquote() << "Can’t follow changes of" << folder << ":" << std::strerror(errno);
            fail();
            return;
        }
        folders_.insert(watch, folder);
        watches_.insert(folder, watch);
    }
}

std::vector<FolderWatcher::Event> FolderWatcher::takeEvents() {
    std::vector<Event> events;
    if (!isWorking()) return events;
    alignas(inotify_event) char buffer[16384];
    while (true) {
        const ssize_t got = ::read(descriptor_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        for (ssize_t offset = 0; offset < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                // Notices were lost: nothing can say what changed.
                fail();
                return {};
            }
            const auto folder = folders_.constFind(event->wd);
            if (folder == folders_.cend()) continue;
            if (event->mask & IN_IGNORED) {
                watches_.remove(*folder);
                folders_.remove(event->wd);
                continue;
            }
            events.push_back({.folder = *folder,
                              .name = event->len ? QFile::decodeName(event->name) : QString(),
                              .folderGone = (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0});
        }
    }
    notifier_->setEnabled(true);
    return events;
}

}  // namespace tavlin::platform
