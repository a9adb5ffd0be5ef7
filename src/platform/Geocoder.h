#pragma once

#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"

#include <QString>

#include <optional>
#include <stdexcept>
#include <vector>

namespace tavlin::platform {

// A place a geocoder or a map search found.
struct Placemark {
    QString name;  // empty when the service gives none
    std::optional<GeoLocation> location;

    friend bool operator==(const Placemark&, const Placemark&) = default;
};

// A place as a service gave it, when it is one that may be shown and
// stored: coordinates on the earth, a name of at most maximumNameLength
// characters (its line breaks and other control characters made spaces).
inline constexpr qsizetype maximumPlaceNameLength = 500;
std::optional<Placemark> checkedPlacemark(QString name, double latitude, double longitude);

// Why a service found nothing at all: it is not there, or it failed.
class PlaceServiceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Turns a postal address into places, best first. The task fails with a
// PlaceServiceError when the service cannot answer.
class Geocoder {
public:
    virtual ~Geocoder() = default;
    virtual Task<std::vector<Placemark>> geocodeAddress(QString address) = 0;
};

// No geocoding at all (the gallery, the probes, tests): every request fails
// at once, and a place is then kept by its name alone.
class UnavailableGeocoder final : public Geocoder {
public:
    Task<std::vector<Placemark>> geocodeAddress(QString address) override;
};

// A task that has already failed with a PlaceServiceError.
template <class T>
Task<T> failedPlaceRequest(const char* why) {
    TaskCompletion<T> completion;
    completion.fail(std::make_exception_ptr(PlaceServiceError(why)));
    return completion.task();
}

}  // namespace tavlin::platform
