// Random settings files through the settings reader. A file that is a JSON
// object no deeper than settings nest is read as it stands; any other is
// moved aside whole and the settings start from their defaults; either way
// the settings are read, keep their rules, and a change reaches the file.

#include "FuzzSupport.h"
#include "platform/UserDefaults.h"
#include "store/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;
using namespace tavlin;
using tavlin::fuzz::require;

namespace {

void ignoreMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

const QTemporaryDir& folder() {
    static const QTemporaryDir made = [] {
        qInstallMessageHandler(ignoreMessages);
        return QTemporaryDir();
    }();
    return made;
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QDir place(folder().path());
    for (const QString& name : place.entryList(QDir::Files)) place.remove(name);
    const QString path = place.filePath(u"settings.json"_s);
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "the input is written");
    }

    platform::UserDefaults defaults(path);
    const QStringList aside = place.entryList({u"settings.json.bad-*"_s}, QDir::Files);
    if (aside.isEmpty()) {
        const nlohmann::json parsed = nlohmann::json::parse(bytes.cbegin(), bytes.cend(), nullptr, false);
        require(parsed.is_object(), "only an object is read");
        require(static_cast<std::size_t>(defaults.keys().size()) == parsed.size(), "an object is read whole");
    } else {
        require(aside.size() == 1 && contentsOf(place.filePath(aside.front())) == bytes,
                "a file that is not read is moved aside whole");
        require(defaults.keys().isEmpty(), "settings moved aside start from the defaults");
    }

    const store::Settings settings(defaults);
    require(settings.primaryScope() != settings.secondaryScope(), "the two scopes differ");
    defaults.set("fuzzWritten", 1);
    require(platform::UserDefaults(path).object("fuzzWritten") == 1, "a change reaches the file");
    return 0;
}
