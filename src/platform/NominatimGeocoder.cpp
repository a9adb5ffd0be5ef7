#include "platform/NominatimGeocoder.h"

#include "platform/FileWriting.h"
#include "platform/Log.h"
#include "platform/PlaceServiceRequest.h"
#include "platform/XdgPaths.h"

#include <QFile>
#include <QFileInfo>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>

namespace tavlin::platform {

namespace {

using nlohmann::json;

// A coordinate given as a decimal text, as Nominatim gives them, or as a number.
std::optional<double> degrees(const json& place, const char* key) {
    const auto found = place.find(key);
    if (found == place.end()) return std::nullopt;
    if (found->is_number()) return found->get<double>();
    if (!found->is_string()) return std::nullopt;
    const std::string& text = found->get_ref<const std::string&>();
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

QString text(const json& place, const char* key) {
    const auto found = place.find(key);
    return found != place.end() && found->is_string() ? QString::fromStdString(found->get<std::string>()) : QString();
}

}  // namespace

std::optional<std::vector<Placemark>> readNominatimAnswer(QByteArrayView body) {
    const json answer = json::parse(body.begin(), body.end(), nullptr, /*allow_exceptions=*/false);
    if (!answer.is_array()) return std::nullopt;
    std::vector<Placemark> places;
    for (const json& place : answer) {
        if (!place.is_object()) continue;
        const std::optional<double> latitude = degrees(place, "lat");
        const std::optional<double> longitude = degrees(place, "lon");
        if (!latitude || !longitude) continue;
        const QString name = text(place, "name");
        if (auto checked = checkedPlacemark(name.isEmpty() ? text(place, "display_name") : name, *latitude, *longitude))
            places.push_back(std::move(*checked));
    }
    return places;
}

QString NominatimGeocoder::standardCacheFile() {
    return cacheHome() + QStringLiteral("/Tavlin/geocoded-addresses.json");
}

NominatimGeocoder::NominatimGeocoder(HTTPClient& http, Options options) : http_(http), options_(std::move(options)) {}

Task<std::vector<Placemark>> NominatimGeocoder::geocodeAddress(QString address) {
    address = address.trimmed();
    if (!options_.enabled) throw PlaceServiceError("network place services are turned off");
    if (address.isEmpty() || address.size() > 4 * maximumPlaceNameLength)
        throw PlaceServiceError("no place has such an address");
    loadCache();
    if (const auto known = answers_.constFind(address); known != answers_.cend()) co_return *known;

    // One request a second, counted from when each went out; those that
    // come sooner wait their turn.
    Clock& clock = options_.clock ? *options_.clock : Clock::main();
    const Clock::TimePoint now = clock.now();
    const Clock::TimePoint slot = nextRequest_ ? std::max(now, *nextRequest_) : now;
    nextRequest_ = slot + requestInterval;
    if (slot > now) {
        const bool waited = co_await sleep(slot - now, clock);
        if (!waited) throw PlaceServiceError("the geocoding was cancelled");
        if (const auto known = answers_.constFind(address); known != answers_.cend()) co_return *known;
    }
    QUrl search = options_.endpoint;
    search.setPath(search.path().endsWith(u'/') ? search.path() + QStringLiteral("search")
                                                : search.path() + QStringLiteral("/search"));
    std::vector<std::pair<QByteArray, QString>> items{
        {"q", address}, {"format", QStringLiteral("jsonv2")}, {"limit", QStringLiteral("1")}};
    // A box of about a hundred kilometres around the fix, preferred, not required.
    if (const std::optional<GeoLocation> near = options_.nearby ? options_.nearby() : std::nullopt) {
        const auto degrees = [](double value) { return QString::number(value, 'f', 2); };
        items.emplace_back("viewbox", QStringList{degrees(near->longitude - 0.5), degrees(near->latitude + 0.5),
                                                  degrees(near->longitude + 0.5), degrees(near->latitude - 0.5)}
                                          .join(u','));
    }
    const QUrl url = PlaceServiceRequest::withQuery(search, items);
    std::vector<Placemark> places = co_await requestPlaces(http_, url, &readNominatimAnswer);
    answers_.insert(address, places);
    saveCache();
    co_return places;
}

// {"<address>": [[latitude, longitude, "name"], …], …}; an unreadable file
// is a cache that starts empty.
void NominatimGeocoder::loadCache() {
    if (cacheLoaded_ || options_.cacheFile.isEmpty()) return;
    cacheLoaded_ = true;
    QFile file(options_.cacheFile);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = file.readAll();
    const json stored = json::parse(bytes.cbegin(), bytes.cend(), nullptr, /*allow_exceptions=*/false);
    if (!stored.is_object()) return;
    for (auto entry = stored.begin(); entry != stored.end(); ++entry) {
        if (!entry->is_array()) continue;
        std::vector<Placemark> places;
        for (const json& place : *entry) {
            if (!place.is_array() || place.size() != 3 || !place[0].is_number() || !place[1].is_number() ||
                !place[2].is_string())
                continue;
            if (auto checked = checkedPlacemark(QString::fromStdString(place[2].get<std::string>()),
                                                place[0].get<double>(), place[1].get<double>()))
                places.push_back(std::move(*checked));
        }
        answers_.insert(QString::fromStdString(entry.key()), std::move(places));
    }
}

void NominatimGeocoder::saveCache() const {
    if (options_.cacheFile.isEmpty()) return;
    json stored = json::object();
    for (auto entry = answers_.cbegin(); entry != answers_.cend(); ++entry) {
        json places = json::array();
        for (const Placemark& place : entry.value())
            places.push_back({place.location->latitude, place.location->longitude, place.name.toStdString()});
        stored[entry.key().toStdString()] = std::move(places);
    }
    if (const std::optional<int> error = makeFolders(QFileInfo(options_.cacheFile).path(), 0700)) {
        qCDebug(lcPlatform) << "cannot keep geocoded addresses in" << options_.cacheFile << "errno" << *error;
        return;
    }
    if (const auto failure = replaceFile(options_.cacheFile, QByteArray::fromStdString(stored.dump()), 0600))
        qCDebug(lcPlatform) << couldNot(failure->step) << options_.cacheFile << "errno" << failure->error;
}

}  // namespace tavlin::platform
