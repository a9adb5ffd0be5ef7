#include "platform/UserDefaults.h"

#include "platform/JSONNesting.h"
#include "platform/Log.h"
#include "platform/XdgPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using nlohmann::json;
using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

// Far more than the settings of ten thousand reminders take.
constexpr qsizetype kMostBytes = 8 * 1024 * 1024;
// Deeper than any setting nests.
constexpr std::size_t kMostLevels = 64;

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString badFileName(const QString& filePath) {
    return filePath + u".bad-"_s + QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd'T'HHmmss'Z'");
}

}  // namespace

QString UserDefaults::standardFilePath() { return configHome() + u"/Tavlin/settings.json"_s; }

UserDefaults::UserDefaults(QString filePath) : filePath_(std::move(filePath)) { load(); }

// Only a regular file (or a link to one) is read: a FIFO or a device would
// hold the start for ever. A file too large or nested too deep to be
// settings is treated as one that does not parse.
void UserDefaults::load() {
    const QByteArray name = QFile::encodeName(filePath_);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0) {
        if (errno != ENOENT) cannotRead(errorText(errno));
        return;
    }
    if (!S_ISREG(status.st_mode)) return cannotRead(u"it is not a regular file"_s);
    // Not blocking, in case it is swapped for a FIFO in the meantime.
    const int descriptor = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) return cannotRead(errorText(errno));
    QByteArray bytes;
    bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    while (regular && bytes.size() <= kMostBytes) {
        char chunk[65536];
        const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            regular = got == 0;
            break;
        }
        bytes.append(chunk, got);
    }
    const int readError = errno;
    ::close(descriptor);
    if (!regular) return cannotRead(S_ISREG(status.st_mode) ? errorText(readError) : u"it is not a regular file"_s);
    if (bytes.size() > kMostBytes) return moveAside(u"is larger than settings can be"_s);
    if (jsonNestsDeeperThan(bytes, kMostLevels)) return moveAside(u"nests values more than 64 levels deep"_s);
    json parsed = json::parse(bytes.cbegin(), bytes.cend(), nullptr, /*allow_exceptions=*/false);
    if (parsed.is_object()) values_ = std::move(parsed);
    else moveAside(u"is not a JSON object"_s);
}

void UserDefaults::cannotRead(const QString& reason) {
    qCWarning(lcPlatform).noquote() << "cannot read" << filePath_ << "-" << reason << "- settings stay in memory";
    writable_ = false;
}

void UserDefaults::moveAside(const QString& reason) {
    const QString aside = badFileName(filePath_);
    if (QFile::rename(filePath_, aside)) {
        qCWarning(lcPlatform).noquote() << filePath_ << reason + u"; moved it to"_s << aside << "and use the defaults";
        return;
    }
    qCWarning(lcPlatform).noquote() << filePath_ << reason + u" and cannot be moved aside; settings stay in memory"_s;
    writable_ = false;
}

QStringList UserDefaults::keys() const {
    QStringList keys;
    for (auto entry = values_.begin(); entry != values_.end(); ++entry)
        keys.append(QString::fromStdString(entry.key()));
    return keys;
}

json UserDefaults::object(std::string_view key) const {
    const auto found = values_.find(key);
    return found == values_.end() ? json() : *found;
}

std::optional<QString> UserDefaults::string(std::string_view key) const {
    const json value = object(key);
    if (!value.is_string()) return std::nullopt;
    return QString::fromStdString(value.get<std::string>());
}

std::optional<QStringList> UserDefaults::stringArray(std::string_view key) const {
    const json value = object(key);
    if (!value.is_array()) return std::nullopt;
    QStringList strings;
    for (const json& element : value) {
        if (!element.is_string()) return std::nullopt;
        strings.append(QString::fromStdString(element.get<std::string>()));
    }
    return strings;
}

bool UserDefaults::boolean(std::string_view key) const {
    const json value = object(key);
    if (value.is_boolean()) return value.get<bool>();
    return value.is_number() && value.get<double>() != 0;
}

void UserDefaults::set(std::string_view key, json value) {
    if (value.is_null()) {
        removeObject(key);
        return;
    }
    json& stored = values_[std::string(key)];
    if (stored == value) return;
    stored = std::move(value);
    save();
}

void UserDefaults::removeObject(std::string_view key) {
    const auto found = values_.find(key);
    if (found == values_.end()) return;
    values_.erase(found);
    save();
}

void UserDefaults::save() const {
    if (!writable_) return;
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    QSaveFile file(filePath_);
    // Replace rather than throw on a string that is not UTF-8.
    const std::string text = values_.dump(2, ' ', false, json::error_handler_t::replace) + '\n';
    if (file.open(QIODevice::WriteOnly) && file.write(text.data(), qint64(text.size())) == qint64(text.size()) &&
        file.commit())
        return;
    qCWarning(lcPlatform) << "cannot write" << filePath_ << file.errorString();
}

}  // namespace tavlin::platform
