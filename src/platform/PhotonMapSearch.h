#pragma once

#include "platform/HTTPClient.h"
#include "platform/MapSearch.h"

#include <QByteArrayView>
#include <QHash>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

namespace tavlin::platform {

// Photon's search (a GeoJSON answer: features whose points are [longitude,
// latitude] and whose properties hold the name): the places of an answer,
// best first, those without a usable point or name left out; nothing when
// the answer is not such a document.
std::optional<std::vector<Placemark>> readPhotonAnswer(QByteArrayView body);

// The map search of Photon's public service (made for searching as one
// types), or of any server with its API. Answers are kept for the run, so
// a name looked up again asks nothing; places near the user's last
// location come first. Off, or given a name no place has (empty, or
// longer than any place's name), it fails at once without a request.
class PhotonMapSearch final : public MapSearch {
public:
    struct Options {
        QUrl endpoint;
        bool enabled = true;
        // The user's last location fix, when there is one.
        std::function<std::optional<GeoLocation>()> nearby;
    };

    PhotonMapSearch(HTTPClient& http, Options options);

    Task<std::vector<Placemark>> search(QString query) override;

private:
    HTTPClient& http_;
    Options options_;
    QHash<QString, std::vector<Placemark>> answers_;
};

}  // namespace tavlin::platform
