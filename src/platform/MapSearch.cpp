#include "platform/MapSearch.h"

namespace tavlin::platform {

Task<std::vector<Placemark>> UnavailableMapSearch::search(QString) {
    return failedPlaceRequest<std::vector<Placemark>>("there is no map search service here");
}

}  // namespace tavlin::platform
