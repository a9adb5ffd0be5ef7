#include "platform/PlaceServiceSettings.h"

#include "support/LogCapture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <string>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

TEST(PlaceServiceSettingsTest, TheStoredServicesAreUsedAndUnusableOnesGiveThePublicOnesWithAWarning) {
    const PlaceServiceSettings defaults;
    EXPECT_EQ(defaults.placeSearch, QUrl(u"https://photon.komoot.io/api"_s));
    EXPECT_EQ(defaults.geocoder, QUrl(u"https://nominatim.openstreetmap.org"_s));
    EXPECT_EQ(defaults.mapTiles, u"https://tile.openstreetmap.org/{z}/{x}/{y}.png"_s);
    EXPECT_TRUE(defaults.networkPlacesEnabled);

    struct Case {
        std::string name;
        QByteArray json;
        PlaceServiceSettings expected;
        int warnings = 0;
    };
    const auto with = [&](auto change) {
        PlaceServiceSettings settings = defaults;
        change(settings);
        return settings;
    };
    const std::vector<Case> cases = {
        {"nothing stored", "{}", defaults},
        {"our own servers",
         R"({"placeSearchURL": "http://127.0.0.1:2322/api", "geocoderURL": "https://geo.example.org/nominatim",
             "mapTilesURL": "https://tiles.example.org/{z}/{x}/{y}@2x.png"})",
         with([](PlaceServiceSettings& s) {
             s.placeSearch = QUrl(u"http://127.0.0.1:2322/api"_s);
             s.geocoder = QUrl(u"https://geo.example.org/nominatim"_s);
             s.mapTiles = u"https://tiles.example.org/{z}/{x}/{y}@2x.png"_s;
         })},
        {"turned off", R"({"networkPlacesEnabled": false})",
         with([](PlaceServiceSettings& s) { s.networkPlacesEnabled = false; })},
        {"not web addresses",
         R"({"placeSearchURL": "file:///etc/passwd", "geocoderURL": 42, "mapTilesURL": "https://tiles.example.org/{z}/{x}.png"})",
         defaults, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        writeTestFile(folder.filePath(u"settings.json"_s), c.json);
        const UserDefaults stored(folder.filePath(u"settings.json"_s));
        LogCapture log("com.quorvandell.tavlin.platform", QtWarningMsg);
        const PlaceServiceSettings read = PlaceServiceSettings::read(stored);
        EXPECT_EQ(read.placeSearch, c.expected.placeSearch);
        EXPECT_EQ(read.geocoder, c.expected.geocoder);
        EXPECT_EQ(read.mapTiles, c.expected.mapTiles);
        EXPECT_EQ(read.networkPlacesEnabled, c.expected.networkPlacesEnabled);
        EXPECT_EQ(log.take(QtWarningMsg).size(), c.warnings);
    }
    EXPECT_EQ(PlaceServiceSettings::tileAddress(defaults.mapTiles, 15, 16830, 10770),
              QUrl(u"https://tile.openstreetmap.org/15/16830/10770.png"_s));
}

}  // namespace
