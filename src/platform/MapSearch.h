#pragma once

#include "platform/Geocoder.h"
#include "platform/Task.h"

#include <QString>

#include <vector>

namespace tavlin::platform {

// A search of the map in everyday words ("the dentist on Elm Street",
// "Central Station"), anywhere: the places found, best first. The task
// fails with a PlaceServiceError when the service cannot answer.
class MapSearch {
public:
    virtual ~MapSearch() = default;
    virtual Task<std::vector<Placemark>> search(QString query) = 0;
};

// No map search at all (the gallery, the probes, tests): every search fails
// at once.
class UnavailableMapSearch final : public MapSearch {
public:
    Task<std::vector<Placemark>> search(QString query) override;
};

}  // namespace tavlin::platform
