#pragma once

#include "platform/Clock.h"
#include "platform/eventstore/EventStore.h"
#include "platform/eventstore/FolderWatcher.h"

#include <QHash>
#include <QSet>

#include <chrono>
#include <ctime>
#include <functional>
#include <map>
#include <memory>

struct stat;

namespace tavlin::platform {

// Reminders as a vdir: each root folder is an account, each folder in it a
// list, each `.ics` file in that an item holding one VTODO — the layout that
// todoman reads and writes and vdirsyncer syncs with CalDAV servers.
//
// - A root is titled by its `displayname` file, else its folder name; a list
//   by its `displayname` file, else its folder name; lists are ordered by
//   their `order` file (a number), then by title; `color` gives the colour.
//   Every root is a local account (source type 0); a list takes changes
//   when the folder may be written to.
//   A folder that holds only events is a calendar, not a list. An empty root
//   gets the list "Reminders". New reminders go to todoman's `default_list`
//   when todoman reads these folders, else to that "Reminders" while it is
//   there, else to the first list.
// - Items we create are named `<uid>.ics`; an item keeps its file name when
//   rewritten, and a move to another list writes the new file before the
//   old one goes. Writes go to a `.tmp` file, synced, then renamed.
// - A file that does not parse is skipped and never written or removed.
//   Each such file is logged at debug level, and one line counts them at
//   start (and again when the count changes). Files are cached by
//   modification time, size and inode.
// - At start, temporary files of our own writes that a crash left behind
//   (older than a minute) are removed.
// - The roots and lists are watched (inotify): the files the kernel names
//   are read again when their stamp changed, and a change by another program
//   emits `changed` once its writes have settled. Only a change of the
//   folders themselves (or their names, colours, order) looks at every
//   file, as does refreshSourcesIfNecessary now and then, in case a notice
//   was missed. Where the system refuses to watch, every look at the store
//   looks at every file.
class VdirEventStore final : public EventStore {
    Q_OBJECT

public:
    struct Options {
        QStringList roots;  // empty: remindersRoots() (XdgPaths.h)
        // How long the folders must be quiet before a change is reported.
        std::chrono::milliseconds settleDelay{30};
        // For tests: runs when a write's temporary file is complete, before
        // it replaces the item; false stops the write there, as a crash would.
        std::function<bool(const QString& temporaryPath)> beforeReplace;
        // How often refreshSourcesIfNecessary looks at every file while the
        // folders are watched.
        std::chrono::seconds fullLookInterval{600};
    };

    VdirEventStore();
    explicit VdirEventStore(Options options);
    ~VdirEventStore() override;

    AuthorizationStatus authorizationStatus() const override { return authorization_; }
    std::optional<StoreError> requestFullAccess() override;
    std::vector<ReminderList> lists() const override;
    std::optional<ReminderList> defaultListForNewReminders() const override;
    void refreshSourcesIfNecessary() override;
    std::vector<Reminder> fetchIncompleteReminders() override;
    std::vector<const Reminder*> incompleteReminders() override;
    std::vector<Reminder> fetchRemindersCompleted(Date since) override;
    Fetched fetchReminders(Date completedSince) override;
    void catchUp() override;
    std::optional<Reminder> reminder(const QString& identifier) override;
    std::optional<QString> folderOf(const QString& identifier) override;
    std::optional<QString> locationOf(const QString& identifier) override;
    // Whether changes are learnt from the kernel's notices.
    bool followsChanges() const { return watcher_.isWorking(); }
    // For tests: acts as if the system refused to watch from now on.
    void stopFollowingChanges() { watcher_.fail(); }

protected:
    std::optional<Continuation> continuation(const QString& identifier) override;
    std::optional<StoreError> writeItem(const Reminder& reminder, const std::optional<Continuation>& link) override;
    std::optional<StoreError> removeItem(const QString& identifier) override;
    std::optional<StoreError> writeAcknowledgement(const Reminder& saved, const std::vector<std::size_t>& alarmIndices,
                                                   Date at, std::optional<Date> snoozeUntil) override;
    // A digest of the item's file as it is now.
    std::optional<QByteArray> itemTag(const QString& identifier) override;

private:
    struct FileStamp {
        std::timespec modified{};
        long long size = -1;
        unsigned long long inode = 0;
        friend bool operator==(const FileStamp& a, const FileStamp& b) {
            return a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec &&
                   a.size == b.size && a.inode == b.inode;
        }
    };
    // Why a file is skipped, or read only as far as it can be.
    enum class Problem { none, unreadable, malformed, noTodo, noUid, notUtf8, undefinedTimeZone };
    // One file as last read. Without a reminder it holds no to-do we can
    // use (or it did not parse).
    // Only what was read of the file is kept, not the file: a write reads
    // it again.
    struct Item {
        FileStamp stamp;
        std::optional<Reminder> reminder;
        bool holdsEvents = false;
        bool shadowed = false;  // another file holds the same UID
        Problem problem = Problem::none;
    };
    struct Folder {
        QString path;
        ReminderList list;
        std::optional<int> order;
        bool isList = true;  // false for a calendar of events
    };

    static FileStamp stampFrom(const struct stat& status);
    static std::optional<FileStamp> stampOf(const QString& path);

    std::optional<StoreError> prepareRoots();
    // Reads what changed on disk since the last look at every file; true
    // when anything did.
    bool synchronize();
    // Reads again the files the notices named; true when anything changed.
    bool synchronizeFiles(const QSet<QString>& paths);

    std::vector<Folder> scanFolders() const;
    struct UnreadFile {
        QString folder;
        QString path;
        FileStamp stamp;
    };
    // Moves the items of `folder` that did not change from items_ to
    // `items`, and adds the others to `unread`; true when any changed.
    bool synchronizeFolder(const QString& folder, std::map<QString, Item>& items, std::vector<UnreadFile>& unread);
    // Reads files, on a few threads when there are many.
    std::vector<Item> readItems(const std::vector<UnreadFile>& files) const;
    // Safe on any thread: it reads the file and nothing of the store.
    Item readItem(const QString& folder, const QString& path, FileStamp stamp) const;
    static Item skipped(Item& item, Problem problem, const QString& path, const QByteArray& reason);
    // What a calendar parsed from `text` holds, read as readItem reads it.
    static Item itemFrom(const ICalendarComponent& calendar, const QByteArrayView& text, const QString& folder,
                         const QString& path, FileStamp stamp);
    // The file as it is now, to be written.
    static std::optional<ICalendarComponent> calendarAt(const QString& path);
    bool holdsOnlyEvents(const QString& folder) const;
    const Item* cachedItem(const QString& identifier);
    // `look`: take in the changes on disk first.
    std::vector<const Reminder*> reminders(const std::function<bool(const Reminder&)>& wanted, bool look = true);
    void rebuildIndex();
    void watchFolders();
    void removeLeftoverTemporaryFiles() const;
    // Logs how many files are skipped and why, when that changed.
    void reportProblems();
    // Takes the watcher's notices into dirtyPaths_ and foldersChanged_.
    void takeNotices();
    void noticesWaiting();
    // Takes in what the notices named; true when anything changed.
    bool applyNotices();
    std::optional<StoreError> replaceFile(const QString& path, const QByteArray& contents);
    QString pathForNewItem(const QString& folder, const QString& identifier, const QString& keptName) const;

    Options options_;
    QStringList roots_;
    AuthorizationStatus authorization_ = AuthorizationStatus::notDetermined;
    std::vector<Folder> folders_;        // lists and calendars, in list order
    std::map<QString, Item> items_;      // by path, so a folder's items lie together
    QHash<QString, QString> pathsById_;  // identifier → path, lists only
    int shadowedCount_ = 0;
    FolderWatcher watcher_;
    QSet<QString> dirtyPaths_;     // item files named by notices, not yet read again
    bool foldersChanged_ = false;  // a folder came, went or was renamed, retitled, reordered
    std::chrono::steady_clock::time_point lastFullLook_;
    bool leftoversRemoved_ = false;
    QString reportedProblems_;
    ScheduledAction pendingChange_;
};

}  // namespace tavlin::platform
