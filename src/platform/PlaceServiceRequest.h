#pragma once

#include "platform/Geocoder.h"
#include "platform/HTTPClient.h"
#include "platform/Task.h"

#include <QByteArrayView>
#include <QUrl>

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

namespace tavlin::platform {

// What the network's place services (map search, geocoder, map tiles) ask
// of each request: a User-Agent that names Tavlin, its version and where
// the project is, as the public services require; an answer within a few
// seconds and of a size a place can have.
struct PlaceServiceRequest {
    static constexpr std::chrono::seconds timeout{5};
    static constexpr qint64 maximumAnswer = 2 * 1024 * 1024;

    static QByteArray userAgent();
    static HTTPClient::Request get(QUrl url);
    // `url` with these query items added, every reserved character of the
    // values escaped ("&", "+" and "=" included: servers read "+" as a blank).
    static QUrl withQuery(QUrl url, const std::vector<std::pair<QByteArray, QString>>& items);
};

// The places of one answer, read by `read` (nothing for an answer that is
// not its kind of document). Any failure is a PlaceServiceError.
Task<std::vector<Placemark>> requestPlaces(HTTPClient& http, QUrl url,
                                           std::optional<std::vector<Placemark>> (*read)(QByteArrayView));

}  // namespace tavlin::platform
