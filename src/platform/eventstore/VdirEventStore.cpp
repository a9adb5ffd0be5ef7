#include "platform/eventstore/VdirEventStore.h"

#include "platform/FileWriting.h"
#include "platform/Log.h"
#include "platform/XdgPaths.h"
#include "platform/eventstore/TodomanConfiguration.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QUuid>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

const QString kDefaultListName = u"Reminders"_s;

bool isItemName(const char* name) {
    const std::size_t length = std::strlen(name);
    return name[0] != '.' && length > 4 && std::strcmp(name + length - 4, ".ics") == 0;
}

QString parentOf(const QString& path) { return path.left(path.lastIndexOf(u'/')); }

bool isItemName(const QString& name) { return isItemName(QFile::encodeName(name).constData()); }
QString fileNameOf(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

// The first line of a small metadata file (displayname, color, order).
QString metadata(const QString& folder, const QString& name) {
    QFile file(folder + u'/' + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readLine(4096)).trimmed();
}

// Whether this process may add and remove files in the folder.
bool isWritableFolder(const QString& folder) { return ::access(QFile::encodeName(folder).constData(), W_OK) == 0; }

// The items of one list folder: ordered by path, the map keeps them together.
template <class Items>
auto itemsIn(Items& items, const QString& folder) {
    // Every path in the folder sorts between "<folder>/" and "<folder>0",
    // '0' following '/': found in two steps, not by a look at each item.
    const auto first = items.lower_bound(folder + u'/');
    const auto last = items.lower_bound(folder + u'0');
    // A plain pair of iterators: clang 14 cannot check libstdc++ 12's range concepts.
    struct Span {
        decltype(first) from, to;
        auto begin() const { return from; }
        auto end() const { return to; }
    };
    return Span{first, last};
}

// A write's temporary file: hidden, beside the item, named after it with a
// random part. Only names of this form are ever cleared away as leftovers.
QString temporaryNameFor(const QString& fileName) {
    return u'.' + fileName + u'.' + QUuid::createUuid().toString(QUuid::Id128).left(8) + u".tmp"_s;
}

bool isTemporaryName(const QString& name) {
    static const QRegularExpression pattern(u"^\\..+\\.ics\\.[0-9a-f]{8}\\.tmp$"_s);
    return pattern.match(name).hasMatch();
}

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A whole file in one buffer of its size, read in as few calls as it takes;
// `expectedSize` (from the folder's listing) saves asking for it.
std::optional<QByteArray> readWholeFile(const QString& path, long long expectedSize, QString& error) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        error = errorText(errno);
        return std::nullopt;
    }
    if (expectedSize < 0) {
        struct stat status {};
        expectedSize = ::fstat(descriptor, &status) == 0 ? status.st_size : 0;
    }
    QByteArray text(expectedSize + 1, Qt::Uninitialized);  // + 1 sees the end in one call
    qsizetype filled = 0;
    while (true) {
        if (filled == text.size()) text.resize(text.size() * 2);
        const ssize_t got = ::read(descriptor, text.data() + filled, static_cast<size_t>(text.size() - filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = errorText(errno);
            ::close(descriptor);
            return std::nullopt;
        }
        if (got == 0) break;
        filled += got;
    }
    ::close(descriptor);
    text.truncate(filled);
    return text;
}

StoreError writeError(const QString& path, const QString& reason) {
    return {.code = StoreError::writeFailed, .description = u"Couldn’t write “%1”: %2."_s.arg(path, reason)};
}

StoreError removeError(const QString& path, int error) {
    return {.code = StoreError::removeFailed,
            .description = u"Couldn’t remove “%1”: %2."_s.arg(path, errorText(error))};
}

}  // namespace

VdirEventStore::VdirEventStore() : VdirEventStore(Options()) {}

VdirEventStore::VdirEventStore(Options options) : options_(std::move(options)) {
    for (const QString& root : options_.roots.isEmpty() ? remindersRoots() : options_.roots)
        roots_ += QDir::cleanPath(QDir(root).absolutePath());
    connect(&watcher_, &FolderWatcher::eventsWaiting, this, [this] { noticesWaiting(); });
    (void)requestFullAccess();
}

VdirEventStore::~VdirEventStore() { pendingChange_.cancel(); }

std::optional<StoreError> VdirEventStore::requestFullAccess() {
    auto error = prepareRoots();
    authorization_ = error ? AuthorizationStatus::denied : AuthorizationStatus::fullAccess;
    if (error) {
        qCWarning(lcStore).noquote() << "No access to reminders:" << error->description;
        return error;
    }
    synchronize();
    if (!std::exchange(leftoversRemoved_, true)) removeLeftoverTemporaryFiles();
    return std::nullopt;
}

// Each root must be a folder we may read and write; a missing one is made,
// and one without lists gets the first.
std::optional<StoreError> VdirEventStore::prepareRoots() {
    for (const QString& root : roots_) {
        const auto denied = [&](const QString& reason) {
            return StoreError{.code = StoreError::accessDenied,
                              .description = u"Tavlin can’t use the reminders folder “%1”: %2."_s.arg(root, reason)};
        };
        if (!QDir().mkpath(root)) return denied(u"it can’t be created"_s);
        if (::access(QFile::encodeName(root).constData(), R_OK | W_OK | X_OK) != 0) return denied(errorText(errno));
        const QDir folder(root);
        if (!folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()) continue;
        if (!folder.mkdir(kDefaultListName)) return denied(u"its first list can’t be created"_s);
        QFile name(folder.filePath(kDefaultListName + u"/displayname"_s));
        if (!name.open(QIODevice::WriteOnly) || name.write(kDefaultListName.toUtf8()) < 0)
            return denied(u"its first list can’t be named"_s);
    }
    return std::nullopt;
}

std::vector<ReminderList> VdirEventStore::lists() const {
    std::vector<ReminderList> lists;
    for (const Folder& folder : folders_)
        if (folder.isList) lists.push_back(folder.list);
    return lists;
}

// The list todoman files new to-dos in, when it reads these folders; else
// the list made for an empty root while it is there; else the first. Never
// simply the first by title: a list made beside "Reminders" would take
// every new reminder.
std::optional<ReminderList> VdirEventStore::defaultListForNewReminders() const {
    const std::vector<ReminderList> all = lists();
    const auto first = [&](const std::function<bool(const ReminderList&)>& wanted) {
        const auto found = std::find_if(all.begin(), all.end(), wanted);
        return found == all.end() ? std::nullopt : std::optional(*found);
    };
    if (const std::optional<TodomanConfiguration> todoman = TodomanConfiguration::read();
        todoman && !todoman->defaultList.isEmpty()) {
        // The list's identifier is its folder.
        if (auto named = first([&](const ReminderList& list) {
                return list.title == todoman->defaultList && todoman->readsFolder(list.identifier);
            }))
            return named;
    }
    if (auto made = first([&](const ReminderList& list) {
            return fileNameOf(list.identifier) == kDefaultListName && roots_.contains(parentOf(list.identifier));
        }))
        return made;
    return all.empty() ? std::nullopt : std::optional(all.front());
}

// While the notices come, a look at every file only guards against one
// that was missed, now and then; without them it is the only way to learn.
void VdirEventStore::refreshSourcesIfNecessary() {
    if (authorization_ != AuthorizationStatus::fullAccess) return;
    if (watcher_.isWorking() && std::chrono::steady_clock::now() - lastFullLook_ < options_.fullLookInterval) catchUp();
    else if (synchronize()) emit changed();
}

void VdirEventStore::catchUp() {
    if (authorization_ != AuthorizationStatus::fullAccess) return;
    takeNotices();
    if (applyNotices()) emit changed();
}

// With room for the reminders that writes add later: a vector of every
// reminder that must grow copies all of them, and the block it leaves may
// stay with the process. Room never written to takes no memory.
std::vector<Reminder> VdirEventStore::fetchIncompleteReminders() {
    const std::vector<const Reminder*> open = incompleteReminders();
    std::vector<Reminder> copies;
    copies.reserve(open.size() + open.size() / 8 + 64);
    for (const Reminder* reminder : open) copies.push_back(*reminder);
    return copies;
}

std::vector<const Reminder*> VdirEventStore::incompleteReminders() {
    return reminders([](const Reminder& reminder) { return !reminder.completed; });
}

std::vector<Reminder> VdirEventStore::fetchRemindersCompleted(Date since) {
    return copiesOf(reminders([since](const Reminder& reminder) { return completedSince(reminder, since); }));
}

EventStore::Fetched VdirEventStore::fetchReminders(Date completedSince) {
    Fetched fetched{fetchIncompleteReminders()};
    // The look the first fetch made holds for the second.
    fetched.completed = copiesOf(reminders(
        [completedSince](const Reminder& reminder) { return EventStore::completedSince(reminder, completedSince); },
        false));
    return fetched;
}

std::vector<const Reminder*> VdirEventStore::reminders(const std::function<bool(const Reminder&)>& wanted, bool look) {
    if (authorization_ != AuthorizationStatus::fullAccess) return {};
    if (look) {
        if (watcher_.isWorking()) catchUp();
        else synchronize();
    }
    std::vector<const Reminder*> kept;
    for (const Folder& folder : folders_) {
        if (!folder.isList) continue;
        for (const auto& [path, item] : itemsIn(items_, folder.path))
            if (item.reminder && !item.shadowed && wanted(*item.reminder)) kept.push_back(&*item.reminder);
    }
    return kept;
}

std::optional<Reminder> VdirEventStore::reminder(const QString& identifier) {
    const Item* item = cachedItem(identifier);
    return item ? item->reminder : std::nullopt;
}

std::optional<QString> VdirEventStore::folderOf(const QString& identifier) {
    if (!cachedItem(identifier)) return std::nullopt;
    return parentOf(pathsById_.value(identifier));
}

std::optional<EventStore::Continuation> VdirEventStore::continuation(const QString& identifier) {
    if (!cachedItem(identifier)) return std::nullopt;
    const std::optional<ICalendarComponent> calendar = calendarAt(pathsById_.value(identifier));
    return calendar ? ICalendarReminder::continuation(*calendar) : std::nullopt;
}

// The item as it is on disk now: a file changed since the last look is read
// again, one that is gone is forgotten.
const VdirEventStore::Item* VdirEventStore::cachedItem(const QString& identifier) {
    if (authorization_ != AuthorizationStatus::fullAccess) return nullptr;
    catchUp();
    const QString path = pathsById_.value(identifier);
    if (path.isEmpty()) return nullptr;
    auto found = items_.find(path);
    const auto stamp = stampOf(path);
    if (stamp && found != items_.end() && found->second.stamp == *stamp) return &found->second;
    if (stamp) {
        synchronizeFiles({path});
    } else {
        // Gone from where it was: another program may have moved or renamed
        // it, which the notices (taken above) would have said.
        if (watcher_.isWorking()) synchronizeFiles({path});
        else synchronize();
        const QString moved = pathsById_.value(identifier);
        return moved.isEmpty() ? nullptr : &items_.at(moved);
    }
    return pathsById_.value(identifier) == path ? &items_.at(path) : nullptr;
}

std::optional<StoreError> VdirEventStore::writeItem(const Reminder& reminder, const std::optional<Continuation>& link) {
    const Date now = Date::now();
    const Item* existing = cachedItem(reminder.identifier);
    const QString oldPath = existing ? pathsById_.value(reminder.identifier) : QString();
    std::optional<ICalendarComponent> parsed = existing ? calendarAt(oldPath) : std::nullopt;
    if (existing && !parsed) return writeError(oldPath, u"it can’t be read again"_s);
    ICalendarComponent calendar = existing ? std::move(*parsed) : ICalendarReminder::newCalendar(reminder, now);
    bool changed = !existing;
    changed = ICalendarReminder::setContinuation(calendar, link) || changed;
    changed = ICalendarReminder::apply(reminder, calendar, now) || changed;
    const bool moves = existing && parentOf(oldPath) != reminder.listIdentifier;
    if (!changed && !moves) return std::nullopt;

    const QString path = !existing ? pathForNewItem(reminder.listIdentifier, reminder.identifier, {})
                         : moves   ? pathForNewItem(reminder.listIdentifier, reminder.identifier, fileNameOf(oldPath))
                                   : oldPath;
    const QByteArray written = calendar.serialized();
    if (auto error = replaceFile(path, written)) return error;
    if (moves && ::unlink(QFile::encodeName(oldPath).constData()) != 0 && errno != ENOENT) {
        const int error = errno;
        ::unlink(QFile::encodeName(path).constData());
        return removeError(oldPath, error);
    }
    // A crash that brought the old file back would show the reminder twice.
    if (moves) (void)syncFolderOf(oldPath);
    if (moves) items_.erase(oldPath);
    // What was written is what the file holds: not read again.
    items_.insert_or_assign(path,
                            itemFrom(calendar, written, parentOf(path), path, stampOf(path).value_or(FileStamp{})));
    pathsById_.insert(reminder.identifier, path);
    noteChanged(reminder.identifier);
    return std::nullopt;
}

// Only a file read whole that still holds the alarms the decision was made
// on is written; anything else is left for the next look.
std::optional<StoreError> VdirEventStore::writeAcknowledgement(const Reminder& saved,
                                                               const std::vector<std::size_t>& alarmIndices, Date at,
                                                               std::optional<Date> snoozeUntil) {
    const Item* existing = cachedItem(saved.identifier);
    if (!existing || existing->problem != Problem::none || !existing->reminder ||
        existing->reminder->alarms != saved.alarms)
        return std::nullopt;
    const QString path = pathsById_.value(saved.identifier);
    std::optional<ICalendarComponent> calendar = calendarAt(path);
    if (!calendar) return writeError(path, u"it can’t be read again"_s);
    if (!ICalendarReminder::acknowledge(*calendar, alarmIndices, at, snoozeUntil)) return std::nullopt;
    if (auto error = replaceFile(path, calendar->serialized())) return error;
    items_.insert_or_assign(path, readItem(parentOf(path), path, stampOf(path).value_or(FileStamp{})));
    noteChanged(saved.identifier);
    return std::nullopt;
}

std::optional<QString> VdirEventStore::locationOf(const QString& identifier) {
    const QString path = pathsById_.value(identifier);
    return path.isEmpty() ? std::nullopt : std::optional(path);
}

std::optional<StoreError> VdirEventStore::removeItem(const QString& identifier) {
    const QString path = pathsById_.value(identifier);
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT) return removeError(path, errno);
    // Once gone, gone for good: a crash must not bring it back.
    (void)syncFolderOf(path);
    items_.erase(path);
    pathsById_.remove(identifier);
    noteChanged(identifier);
    return std::nullopt;
}

std::optional<QByteArray> VdirEventStore::itemTag(const QString& identifier) {
    if (!cachedItem(identifier)) return std::nullopt;
    QString error;
    const std::optional<QByteArray> text = readWholeFile(pathsById_.value(identifier), -1, error);
    if (!text) return std::nullopt;
    return QCryptographicHash::hash(*text, QCryptographicHash::Sha256).toHex().left(32);
}

VdirEventStore::FileStamp VdirEventStore::stampFrom(const struct stat& status) {
    return {status.st_mtim, status.st_size, status.st_ino};
}

std::optional<VdirEventStore::FileStamp> VdirEventStore::stampOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return std::nullopt;
    return stampFrom(status);
}

bool VdirEventStore::synchronize() {
    // What the notices would say, this look sees.
    takeNotices();
    dirtyPaths_.clear();
    foldersChanged_ = false;
    lastFullLook_ = std::chrono::steady_clock::now();

    const std::vector<ReminderList> listsBefore = lists();
    std::vector<Folder> folders = scanFolders();
    std::map<QString, Item> items;
    std::vector<UnreadFile> unread;
    bool changed = false;
    for (const Folder& folder : folders) changed = synchronizeFolder(folder.path, items, unread) || changed;
    std::vector<Item> read = readItems(unread);
    // What is left in items_ was removed, or is the former state of a file read again.
    std::vector<QString> changedIds;
    for (const auto& [path, item] : items_)
        if (item.reminder) changedIds.push_back(item.reminder->identifier);
    for (const Item& item : read)
        if (item.reminder) changedIds.push_back(item.reminder->identifier);
    for (std::size_t i = 0; i < unread.size(); ++i) items.insert_or_assign(unread[i].path, std::move(read[i]));
    changed = changed || !items_.empty();
    items_ = std::move(items);
    for (Folder& folder : folders) folder.isList = !holdsOnlyEvents(folder.path);
    folders_ = std::move(folders);
    const bool listsChanged = lists() != listsBefore;
    changed = changed || listsChanged;
    if (changed) {
        rebuildIndex();
        reportProblems();
        // Told one by one, a first read or a sync of thousands would fill
        // the list of changes with what a fetch of everything tells better.
        constexpr std::size_t kMostChangesNoted = 1024;
        if (listsChanged || changedIds.size() > kMostChangesNoted) noteEverythingChanged();
        else
            for (const QString& identifier : changedIds) noteChanged(identifier);
    }
    watchFolders();
    return changed;
}

bool VdirEventStore::synchronizeFiles(const QSet<QString>& paths) {
    std::vector<UnreadFile> unread;
    std::vector<QString> changedIds;
    QSet<QString> touchedFolders;
    bool rebuild = shadowedCount_ > 0;
    const auto forget = [&](std::map<QString, Item>::iterator found) {
        if (const std::optional<Reminder>& old = found->second.reminder) {
            changedIds.push_back(old->identifier);
            if (pathsById_.value(old->identifier) == found->first) pathsById_.remove(old->identifier);
        }
        items_.erase(found);
    };
    for (const QString& path : paths) {
        const QString folder = parentOf(path);
        // A file outside the known folders waits for the look at the folders.
        if (std::none_of(folders_.begin(), folders_.end(), [&](const Folder& f) { return f.path == folder; })) continue;
        const auto found = items_.find(path);
        const std::optional<FileStamp> stamp = stampOf(path);
        if (stamp && found != items_.end() && found->second.stamp == *stamp) continue;
        if (found == items_.end() && !stamp) continue;
        touchedFolders.insert(folder);
        if (found != items_.end()) forget(found);
        if (stamp) unread.push_back({folder, path, *stamp});
    }
    if (touchedFolders.isEmpty()) return false;
    std::vector<Item> read = readItems(unread);
    for (std::size_t i = 0; i < unread.size(); ++i) {
        Item& item = read[i];
        if (item.reminder) {
            const QString& identifier = item.reminder->identifier;
            changedIds.push_back(identifier);
            if (pathsById_.contains(identifier)) rebuild = true;  // which one is shown follows the list order
            else pathsById_.insert(identifier, unread[i].path);
        }
        items_.insert_or_assign(unread[i].path, std::move(item));
    }
    // An item may turn a calendar into a list, or its last one a list into a calendar.
    bool listsChanged = false;
    for (Folder& folder : folders_) {
        if (!touchedFolders.contains(folder.path)) continue;
        const bool isList = !holdsOnlyEvents(folder.path);
        listsChanged = listsChanged || isList != folder.isList;
        folder.isList = isList;
    }
    if (rebuild || listsChanged) rebuildIndex();
    reportProblems();
    if (listsChanged) noteEverythingChanged();
    else
        for (const QString& identifier : changedIds) noteChanged(identifier);
    return true;
}

// The folders of every root, each root's in the order of their `order`
// files (those without one last), then by title.
std::vector<VdirEventStore::Folder> VdirEventStore::scanFolders() const {
    std::vector<Folder> all;
    for (const QString& root : roots_) {
        const QString rootTitle = metadata(root, u"displayname"_s);
        const ReminderSource source{root, rootTitle.isEmpty() ? fileNameOf(root) : rootTitle};
        std::vector<Folder> folders;
        for (const QString& name : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString path = root + u'/' + name;
            const QString title = metadata(path, u"displayname"_s);
            bool isNumber = false;
            const int order = metadata(path, u"order"_s).toInt(&isNumber);
            folders.push_back({.path = path,
                               .list = {path, title.isEmpty() ? name : title, source, metadata(path, u"color"_s),
                                        isWritableFolder(path)},
                               .order = isNumber ? std::optional(order) : std::nullopt});
        }
        std::stable_sort(folders.begin(), folders.end(), [](const Folder& a, const Folder& b) {
            if (a.order.has_value() != b.order.has_value()) return a.order.has_value();
            if (a.order != b.order) return *a.order < *b.order;
            return a.list.title.localeAwareCompare(b.list.title) < 0;
        });
        all.insert(all.end(), folders.begin(), folders.end());
    }
    return all;
}

bool VdirEventStore::synchronizeFolder(const QString& folder, std::map<QString, Item>& items,
                                       std::vector<UnreadFile>& unread) {
    const QString prefix = folder + u'/';
    auto known = items_.lower_bound(prefix);
    const auto isKnownHere = [&] { return known != items_.end() && known->first.startsWith(prefix); };
    DIR* directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory) {
        // Reported, and what we knew of it kept: a folder we cannot read is not empty.
        qCWarning(lcStore).noquote() << "Can’t read the list folder" << folder << ":" << errorText(errno);
        while (isKnownHere()) items.insert(items_.extract(known++));
        return false;
    }
    std::vector<std::pair<QString, FileStamp>> entries;  // by file name
    while (const dirent* entry = ::readdir(directory)) {
        struct stat status {};
        if (isItemName(entry->d_name) && ::fstatat(::dirfd(directory), entry->d_name, &status, 0) == 0 &&
            S_ISREG(status.st_mode))
            entries.emplace_back(QFile::decodeName(entry->d_name), stampFrom(status));
    }
    ::closedir(directory);
    // Both in name order: one pass pairs each file with what we knew of it.
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto knownName = [&] { return QStringView(known->first).sliced(prefix.size()); };
    bool changed = false;
    for (const auto& [name, stamp] : entries) {
        while (isKnownHere() && knownName() < name) {
            ++known;
            changed = true;  // gone
        }
        if (isKnownHere() && knownName() == name && known->second.stamp == stamp) {
            items.insert(items.end(), items_.extract(known++));
        } else {
            unread.push_back({folder, prefix + name, stamp});
            changed = true;
        }
    }
    return changed || isKnownHere();
}

// Parsing is most of the work of reading, and the files do not depend on
// one another: many are read on a few threads, each taking the next file
// not yet taken, and the caller merges what they read.
std::vector<VdirEventStore::Item> VdirEventStore::readItems(const std::vector<UnreadFile>& files) const {
    constexpr std::size_t kFilesPerThread = 256;
    constexpr unsigned kMostThreads = 4;
    std::vector<Item> read(files.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++)
            read[i] = readItem(files[i].folder, files[i].path, files[i].stamp);
    };
    const auto helpers = static_cast<unsigned>(std::min<std::size_t>(
        {files.size() / kFilesPerThread, kMostThreads, std::max(1u, std::thread::hardware_concurrency())}));
    if (helpers > 1) ICalendarReminder::prepareForThreads();
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < helpers; ++i) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    return read;
}

// A file that does not parse is kept as an item without a reminder, so that
// it is neither read again until it changes nor ever written or removed.
VdirEventStore::Item VdirEventStore::skipped(Item& item, Problem problem, const QString& path,
                                             const QByteArray& reason) {
    qCDebug(lcStore).noquote() << "Skipping" << path << ":" << QString::fromUtf8(reason);
    item.problem = problem;
    return item;
}

VdirEventStore::Item VdirEventStore::readItem(const QString& folder, const QString& path, FileStamp stamp) const {
    Item item{.stamp = stamp};
    const auto skip = [&](Problem problem, const QByteArray& reason) { return skipped(item, problem, path, reason); };
    QString readError;
    const std::optional<QByteArray> whole = readWholeFile(path, stamp.size, readError);
    if (!whole) return skip(Problem::unreadable, readError.toUtf8());
    QByteArray error;
    const auto calendar = ICalendarComponent::parse(*whole, &error);
    if (!calendar) return skip(Problem::malformed, error);
    return itemFrom(*calendar, *whole, folder, path, stamp);
}

VdirEventStore::Item VdirEventStore::itemFrom(const ICalendarComponent& calendar, const QByteArrayView& text,
                                              const QString& folder, const QString& path, FileStamp stamp) {
    Item item{.stamp = stamp};
    const auto skip = [&](Problem problem, const QByteArray& reason) { return skipped(item, problem, path, reason); };
    if (calendar.name() != "VCALENDAR") return skip(Problem::malformed, "not an iCalendar object");
    const ICalendarComponent* todo = ICalendarReminder::todo(calendar);
    item.holdsEvents = !todo && calendar.component("VEVENT");
    if (!todo && !item.holdsEvents) return skip(Problem::noTodo, "neither a to-do nor an event");
    if (todo) {
        item.reminder = ICalendarReminder::read(*todo);
        if (!item.reminder) return skip(Problem::noUid, "a to-do without a UID");
        item.reminder->listIdentifier = folder;  // shared by the folder's items
        // Read as far as it goes: shown, and only the fields edited are written.
        const auto approximate = [&](Problem problem, const char* reason) {
            qCDebug(lcStore).noquote() << "Reading" << path << "as far as it goes:" << reason;
            item.problem = problem;
        };
        const ICalendarProperty* due = todo->property("DUE");
        if (!text.isValidUtf8()) approximate(Problem::notUtf8, "not in UTF-8");
        else if (due && due->parameter("TZID") && item.reminder->dueDateComponents &&
                 item.reminder->dueDateComponents->hasTime() && !item.reminder->dueDateComponents->timeZone)
            approximate(Problem::undefinedTimeZone, "its due date's time zone is not defined; read as local time");
    }
    return item;
}

std::optional<ICalendarComponent> VdirEventStore::calendarAt(const QString& path) {
    QString error;
    const std::optional<QByteArray> text = readWholeFile(path, -1, error);
    return text ? ICalendarComponent::parse(*text) : std::nullopt;
}

// Only a folder with items, all of them events, is a calendar; an empty one
// is a list that has nothing yet.
bool VdirEventStore::holdsOnlyEvents(const QString& folder) const {
    bool anyEvent = false;
    for (const auto& [path, item] : itemsIn(items_, folder)) {
        if (item.reminder) return false;
        anyEvent = anyEvent || item.holdsEvents;
    }
    return anyEvent;
}

// Identifiers are unique: of two files with one UID, the first in list order
// is the reminder, and the other is reported.
void VdirEventStore::rebuildIndex() {
    pathsById_.clear();
    shadowedCount_ = 0;
    for (const Folder& folder : folders_) {
        if (!folder.isList) continue;
        for (auto& [path, item] : itemsIn(items_, folder.path)) {
            if (!item.reminder) continue;
            const QString& identifier = item.reminder->identifier;
            const auto found = pathsById_.constFind(identifier);
            item.shadowed = found != pathsById_.cend();
            shadowedCount_ += item.shadowed ? 1 : 0;
            if (item.shadowed) qCDebug(lcStore).noquote() << "Skipping" << path << ": its UID is also in" << *found;
            else pathsById_.insert(identifier, path);
        }
    }
}

void VdirEventStore::watchFolders() {
    QStringList wanted = roots_;
    for (const Folder& folder : folders_) wanted += folder.path;
    watcher_.setFolders(wanted);
}

// One line for what a user would otherwise wonder about: reminders that do
// not show, or show at a time other than the file meant. Events in
// calendars are neither.
void VdirEventStore::reportProblems() {
    static const std::pair<Problem, const char*> skipped[] = {
        {Problem::unreadable, "unreadable"},
        {Problem::malformed, "unparsable"},
        {Problem::noTodo, "without a to-do"},
        {Problem::noUid, "with a to-do without a UID"},
    };
    static const std::pair<Problem, const char*> approximated[] = {
        {Problem::notUtf8, "not in UTF-8"},
        {Problem::undefinedTimeZone, "with a due time in an undefined time zone, read as local time"},
    };
    std::map<Problem, int> counts;
    int duplicates = 0;
    for (const auto& [path, item] : items_) {
        ++counts[item.problem];
        duplicates += item.shadowed ? 1 : 0;
    }
    // "3 (1 unparsable, 2 without a to-do)"
    const auto describe = [&](const auto& problems, int extra, const char* extraText) {
        QStringList parts;
        int total = extra;
        for (const auto& [problem, text] : problems) {
            if (const int count = counts[problem]) parts += u"%1 %2"_s.arg(count).arg(QString::fromUtf8(text));
            total += counts[problem];
        }
        if (extra) parts += u"%1 %2"_s.arg(extra).arg(QString::fromUtf8(extraText));
        return std::pair(total, u"%1 (%2)"_s.arg(total).arg(parts.join(u", "_s)));
    };
    const auto [skippedCount, skippedText] = describe(skipped, duplicates, "with a UID another file has");
    const auto [approximatedCount, approximatedText] = describe(approximated, 0, "");
    QStringList clauses;
    if (skippedCount) clauses += u"skipped "_s + skippedText;
    if (approximatedCount) clauses += u"read "_s + approximatedText + u" as far as they go"_s;
    const QString report = clauses.isEmpty() ? QString() : u"Reminders folders: "_s + clauses.join(u"; "_s) + u'.';
    if (report == std::exchange(reportedProblems_, report) || report.isEmpty()) return;
    qCWarning(lcStore).noquote() << report
                                 << u"QT_LOGGING_RULES=\"%1.debug=true\" names each file."_s.arg(
                                        QLatin1StringView(lcStore().categoryName()));
}

// Temporary files of writes cut short by a crash or a kill. A young one
// may belong to a write that runs now, in another instance.
void VdirEventStore::removeLeftoverTemporaryFiles() const {
    constexpr auto kLeftoverAge = std::chrono::minutes(1);
    const auto now = std::chrono::system_clock::now();
    int removed = 0;
    for (const Folder& folder : folders_) {
        // A folder may hold ten thousand items: only hidden names are looked at.
        DIR* directory = ::opendir(QFile::encodeName(folder.path).constData());
        if (!directory) continue;
        while (const dirent* entry = ::readdir(directory)) {
            if (entry->d_name[0] != '.' || !isTemporaryName(QFile::decodeName(entry->d_name))) continue;
            struct stat status {};
            if (::fstatat(::dirfd(directory), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
                !S_ISREG(status.st_mode))
                continue;
            // A file dated well after now was written before the clock was
            // set back: it is as old as one dated well before.
            const auto modified = std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec);
            const auto age = now > modified ? now - modified : modified - now;
            if (age >= kLeftoverAge && ::unlinkat(::dirfd(directory), entry->d_name, 0) == 0) ++removed;
        }
        ::closedir(directory);
    }
    if (removed > 0)
        qCInfo(lcStore).noquote() << u"Removed %1 temporary files that interrupted writes left."_s.arg(removed);
}

void VdirEventStore::takeNotices() {
    const bool wasWorking = watcher_.isWorking();
    for (const FolderWatcher::Event& event : watcher_.takeEvents()) {
        static const QStringList kMetadata{u"displayname"_s, u"color"_s, u"order"_s};
        if (event.name.isEmpty() || event.folderGone || roots_.contains(event.folder) || kMetadata.contains(event.name))
            foldersChanged_ = true;
        else if (isItemName(event.name)) dirtyPaths_.insert(event.folder + u'/' + event.name);
        // Temporary files and anything else are no item.
    }
    // Notices lost: nothing but a look at everything says what changed.
    if (wasWorking && !watcher_.isWorking()) foldersChanged_ = true;
}

bool VdirEventStore::applyNotices() {
    if (foldersChanged_) return synchronize();
    if (dirtyPaths_.isEmpty()) return false;
    return synchronizeFiles(std::exchange(dirtyPaths_, {}));
}

// A write by another program is a burst of notices (temporary file, rename);
// they are taken at once, and the change read once they have been quiet for
// a moment.
void VdirEventStore::noticesWaiting() {
    takeNotices();
    pendingChange_.cancel();
    pendingChange_ = Clock::main().schedule(options_.settleDelay, [self = QPointer(this)] {
        if (self && self->authorization_ == AuthorizationStatus::fullAccess && self->applyNotices())
            emit self->changed();
    });
}

// A temporary file beside the item, synced, then renamed over it: a crash
// leaves the old file or the new one, and readers skip the temporary one.
// The folder is synced after the rename: until then a crash may still undo
// it, and a reminder said to be saved would be lost.
std::optional<StoreError> VdirEventStore::replaceFile(const QString& path, const QByteArray& contents) {
    const QString folder = parentOf(path);
    const QString temporary = folder + u'/' + temporaryNameFor(fileNameOf(path));
    if (const std::optional<FileWriteFailure> failure = writeReplacement(temporary, path, contents, 0666))
        return writeError(path, errorText(failure->error));
    if (options_.beforeReplace && !options_.beforeReplace(temporary)) return writeError(path, u"interrupted"_s);
    if (const std::optional<int> error = renameOver(temporary, path)) return writeError(path, errorText(*error));
    if (const std::optional<int> error = syncFolderOf(path)) return writeError(path, errorText(*error));
    return std::nullopt;
}

// `<uid>.ics` for an identifier that makes a safe file name, a fresh name
// otherwise or when that one is taken; a moved item keeps its name if it can.
QString VdirEventStore::pathForNewItem(const QString& folder, const QString& identifier,
                                       const QString& keptName) const {
    static const QRegularExpression unsafe(u"[^A-Za-z0-9@._-]"_s);
    QString name = keptName;
    if (name.isEmpty() && !identifier.contains(unsafe) && !identifier.startsWith(u'.')) name = identifier + u".ics"_s;
    if (name.isEmpty() || QFile::exists(folder + u'/' + name))
        name = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + u".ics"_s;
    return folder + u'/' + name;
}

}  // namespace tavlin::platform
