#pragma once

#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

#include <optional>
#include <string_view>

namespace tavlin::platform {

// The user's settings: typed values by key in one JSON object, kept in
// memory and written to the file at once on every change (a temporary file
// in the same folder, then a rename, so readers never see half a file).
//
// A file that is not a JSON object (or is larger or nested deeper than
// settings can be) is never overwritten: it is moved aside to
// "<file>.bad-<UTC timestamp>" and the values start empty. When it can be
// neither read nor moved aside, or is no regular file, the values live in
// memory only.
//
// Main thread only. Other processes may read the file; one process writes it.
class UserDefaults {
public:
    // $XDG_CONFIG_HOME/Tavlin/settings.json, with ~/.config when the
    // variable is unset, empty or not an absolute path.
    static QString standardFilePath();

    explicit UserDefaults(QString filePath = standardFilePath());

    const QString& filePath() const { return filePath_; }

    // Every stored key, in no particular order.
    QStringList keys() const;
    // The stored value as it is, of whatever JSON type; null when absent.
    nlohmann::json object(std::string_view key) const;
    // A stored string; nothing when absent or of another type.
    std::optional<QString> string(std::string_view key) const;
    // A stored array of strings only; nothing when absent, not an array, or
    // holding anything but strings.
    std::optional<QStringList> stringArray(std::string_view key) const;
    // True for a stored true or a non-zero number; false for anything else,
    // an absent key included.
    bool boolean(std::string_view key) const;

    // A null value removes the key. The file is rewritten only when the
    // stored value changes.
    void set(std::string_view key, nlohmann::json value);
    void removeObject(std::string_view key);

private:
    void load();
    void cannotRead(const QString& reason);
    void moveAside(const QString& reason);
    void save() const;

    QString filePath_;
    nlohmann::json values_ = nlohmann::json::object();
    bool writable_ = true;
};

}  // namespace tavlin::platform
