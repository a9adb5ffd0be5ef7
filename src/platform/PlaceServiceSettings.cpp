#include "platform/PlaceServiceSettings.h"

#include "platform/Log.h"

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

bool isWebAddress(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() && (url.scheme() == u"https"_s || url.scheme() == u"http"_s);
}

// The stored address under `key`, when it is one; else `fallback`.
QString storedAddress(const UserDefaults& defaults, std::string_view key, const QString& fallback,
                      bool (*usable)(const QString&)) {
    const nlohmann::json value = defaults.object(key);
    if (value.is_null()) return fallback;
    const QString text = value.is_string() ? QString::fromStdString(value.get<std::string>()).trimmed() : QString();
    if (usable(text)) return text;
    qCWarning(lcPlatform).noquote() << u"%1: setting \"%2\" is ignored: it should be a web address%3; using %4"_s.arg(
        defaults.filePath(), QString::fromUtf8(key),
        key == PlaceServiceSettings::mapTilesKey ? u" with {z}, {x} and {y}"_s : QString(), fallback);
    return fallback;
}

bool isServiceAddress(const QString& text) { return isWebAddress(QUrl(text, QUrl::StrictMode)); }

bool isTileTemplate(const QString& text) {
    return text.contains(u"{z}"_s) && text.contains(u"{x}"_s) && text.contains(u"{y}"_s) &&
           isWebAddress(PlaceServiceSettings::tileAddress(text, 0, 0, 0));
}

}  // namespace

PlaceServiceSettings PlaceServiceSettings::read(const UserDefaults& defaults) {
    PlaceServiceSettings settings;
    settings.placeSearch =
        QUrl(storedAddress(defaults, placeSearchKey, settings.placeSearch.toString(), &isServiceAddress));
    settings.geocoder = QUrl(storedAddress(defaults, geocoderKey, settings.geocoder.toString(), &isServiceAddress));
    settings.mapTiles = storedAddress(defaults, mapTilesKey, settings.mapTiles, &isTileTemplate);
    const nlohmann::json enabled = defaults.object(enabledKey);
    if (!enabled.is_null()) settings.networkPlacesEnabled = defaults.boolean(enabledKey);
    return settings;
}

QStringList PlaceServiceSettings::keys() {
    QStringList names;
    for (const std::string_view key : {placeSearchKey, geocoderKey, mapTilesKey, enabledKey})
        names.append(QString::fromUtf8(key));
    return names;
}

QUrl PlaceServiceSettings::tileAddress(const QString& mapTiles, int zoom, int x, int y) {
    QString address = mapTiles;
    address.replace(u"{z}"_s, QString::number(zoom))
        .replace(u"{x}"_s, QString::number(x))
        .replace(u"{y}"_s, QString::number(y));
    return QUrl(address, QUrl::StrictMode);
}

}  // namespace tavlin::platform
