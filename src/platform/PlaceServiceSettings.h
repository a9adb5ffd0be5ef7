#pragma once

#include "platform/UserDefaults.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace tavlin::platform {

// Where the network's place services are, and whether they are used at
// all: read from the user's settings file at launch. A key that is absent
// or unusable (not an http or https address; a tile address without {z},
// {x} and {y}) gives the public OpenStreetMap service, with a warning.
struct PlaceServiceSettings {
    static constexpr std::string_view placeSearchKey = "placeSearchURL";
    static constexpr std::string_view geocoderKey = "geocoderURL";
    static constexpr std::string_view mapTilesKey = "mapTilesURL";
    static constexpr std::string_view enabledKey = "networkPlacesEnabled";

    QUrl placeSearch{QStringLiteral("https://photon.komoot.io/api")};
    QUrl geocoder{QStringLiteral("https://nominatim.openstreetmap.org")};
    QString mapTiles = QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png");
    // Off: no place name, address or map region leaves the machine.
    bool networkPlacesEnabled = true;

    static PlaceServiceSettings read(const UserDefaults& defaults);
    // The keys, for the settings that warn about keys they do not know.
    static QStringList keys();
    // The tile's address from the template.
    static QUrl tileAddress(const QString& mapTiles, int zoom, int x, int y);
};

}  // namespace tavlin::platform
