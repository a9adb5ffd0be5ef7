#include "platform/Geocoder.h"

namespace tavlin::platform {

Task<std::vector<Placemark>> UnavailableGeocoder::geocodeAddress(QString) {
    return failedPlaceRequest<std::vector<Placemark>>("there is no geocoding service on this system");
}

}  // namespace tavlin::platform
