#pragma once

#include "platform/Clock.h"
#include "platform/Geocoder.h"
#include "platform/HTTPClient.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace tavlin::platform {

// Nominatim's search in its JSON form (an array of places whose "lat" and
// "lon" are decimal texts): the places of an answer, best first, those
// without usable coordinates or name left out; nothing when the answer is
// not such a document.
std::optional<std::vector<Placemark>> readNominatimAnswer(QByteArrayView body);

// Postal addresses geocoded by Nominatim's public service (or any server
// with its API), under its usage policy: at most one request a second,
// each answer kept for the run, and (as the addresses are those of the
// user's contacts, asked for again and again) on disk between runs. Off, or
// given an address no place has, it fails at once without a request.
class NominatimGeocoder final : public Geocoder {
public:
    static constexpr std::chrono::seconds requestInterval{1};

    struct Options {
        QUrl endpoint;  // the service's root; searches go to its /search
        bool enabled = true;
        // The user's last location fix, when there is one: places near it
        // come first.
        std::function<std::optional<GeoLocation>()> nearby;
        // The answers kept between runs; none: only for the run.
        QString cacheFile;
        Clock* clock = nullptr;  // spaces the requests; none: Clock::main()
    };
    // $XDG_CACHE_HOME/Tavlin/geocoded-addresses.json
    static QString standardCacheFile();

    NominatimGeocoder(HTTPClient& http, Options options);

    Task<std::vector<Placemark>> geocodeAddress(QString address) override;

private:
    void loadCache();
    void saveCache() const;

    HTTPClient& http_;
    Options options_;
    QHash<QString, std::vector<Placemark>> answers_;
    bool cacheLoaded_ = false;
    // When the next request may go out.
    std::optional<Clock::TimePoint> nextRequest_;
};

}  // namespace tavlin::platform
