#include "platform/PhotonMapSearch.h"

#include "platform/PlaceServiceRequest.h"

#include <nlohmann/json.hpp>

namespace tavlin::platform {

namespace {

using nlohmann::json;

std::optional<Placemark> featurePlace(const json& feature) {
    if (!feature.is_object()) return std::nullopt;
    const auto geometry = feature.find("geometry");
    if (geometry == feature.end() || !geometry->is_object()) return std::nullopt;
    const auto coordinates = geometry->find("coordinates");
    if (coordinates == geometry->end() || !coordinates->is_array() || coordinates->size() < 2 ||
        !(*coordinates)[0].is_number() || !(*coordinates)[1].is_number())
        return std::nullopt;
    QString name;
    if (const auto properties = feature.find("properties"); properties != feature.end() && properties->is_object()) {
        const auto found = properties->find("name");
        if (found != properties->end() && found->is_string()) name = QString::fromStdString(found->get<std::string>());
    }
    return checkedPlacemark(name, (*coordinates)[1].get<double>(), (*coordinates)[0].get<double>());
}

}  // namespace

std::optional<std::vector<Placemark>> readPhotonAnswer(QByteArrayView body) {
    const json answer = json::parse(body.begin(), body.end(), nullptr, /*allow_exceptions=*/false);
    if (!answer.is_object()) return std::nullopt;
    const auto features = answer.find("features");
    if (features == answer.end() || !features->is_array()) return std::nullopt;
    std::vector<Placemark> places;
    for (const json& feature : *features)
        if (std::optional<Placemark> place = featurePlace(feature)) places.push_back(std::move(*place));
    return places;
}

PhotonMapSearch::PhotonMapSearch(HTTPClient& http, Options options) : http_(http), options_(std::move(options)) {}

Task<std::vector<Placemark>> PhotonMapSearch::search(QString query) {
    query = query.trimmed();
    if (!options_.enabled) throw PlaceServiceError("network place services are turned off");
    if (query.isEmpty() || query.size() > maximumPlaceNameLength) throw PlaceServiceError("no place has such a name");
    if (const auto known = answers_.constFind(query); known != answers_.cend()) co_return *known;

    std::vector<std::pair<QByteArray, QString>> items{{"q", query}, {"limit", QStringLiteral("5")}};
    if (const std::optional<GeoLocation> near = options_.nearby ? options_.nearby() : std::nullopt) {
        items.emplace_back("lat", QString::number(near->latitude, 'f', 2));
        items.emplace_back("lon", QString::number(near->longitude, 'f', 2));
    }
    const QUrl url = PlaceServiceRequest::withQuery(options_.endpoint, items);
    std::vector<Placemark> places = co_await requestPlaces(http_, url, &readPhotonAnswer);
    answers_.insert(query, places);
    co_return places;
}

}  // namespace tavlin::platform
