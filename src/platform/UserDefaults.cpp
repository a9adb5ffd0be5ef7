#include "platform/UserDefaults.h"

#include "platform/Log.h"
#include "platform/XdgPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using nlohmann::json;
using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

QString badFileName(const QString& filePath) {
    return filePath + u".bad-"_s + QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd'T'HHmmss'Z'");
}

}  // namespace

QString UserDefaults::standardFilePath() { return configHome() + u"/Tavlin/settings.json"_s; }

UserDefaults::UserDefaults(QString filePath) : filePath_(std::move(filePath)) { load(); }

void UserDefaults::load() {
    QFile file(filePath_);
    if (!file.exists()) return;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcPlatform) << "cannot read" << filePath_ << file.errorString() << "- settings stay in memory";
        writable_ = false;
        return;
    }
    const QByteArray bytes = file.readAll();
    json parsed = json::parse(bytes.cbegin(), bytes.cend(), nullptr, /*allow_exceptions=*/false);
    if (parsed.is_object()) values_ = std::move(parsed);
    else moveAside();
}

void UserDefaults::moveAside() {
    const QString aside = badFileName(filePath_);
    if (QFile::rename(filePath_, aside)) {
        qCWarning(lcPlatform) << filePath_ << "is not a JSON object; moved it to" << aside << "and use the defaults";
        return;
    }
    qCWarning(lcPlatform) << filePath_ << "is not a JSON object and cannot be moved aside; settings stay in memory";
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
