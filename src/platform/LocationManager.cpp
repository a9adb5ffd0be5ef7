#include "platform/LocationManager.h"

#include "platform/LocationGeoClue.h"

namespace tavlin::platform {

std::unique_ptr<LocationManager> makeSystemLocationManager() { return std::make_unique<GeoClueLocationManager>(); }

}  // namespace tavlin::platform
