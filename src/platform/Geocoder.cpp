#include "platform/Geocoder.h"

#include <cmath>

namespace tavlin::platform {

std::optional<Placemark> checkedPlacemark(QString name, double latitude, double longitude) {
    if (!(std::abs(latitude) <= 90 && std::abs(longitude) <= 180)) return std::nullopt;  // NaN too
    if (name.size() > maximumPlaceNameLength) return std::nullopt;
    for (QChar& character : name)
        if (character.category() == QChar::Other_Control) character = u' ';
    return Placemark{.name = name.trimmed(), .location = GeoLocation{latitude, longitude}};
}

Task<std::vector<Placemark>> UnavailableGeocoder::geocodeAddress(QString) {
    return failedPlaceRequest<std::vector<Placemark>>("there is no geocoding service here");
}

}  // namespace tavlin::platform
