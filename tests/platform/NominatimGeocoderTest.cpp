#include "platform/NominatimGeocoder.h"

#include "PlaceServiceTesting.h"
#include "support/FakeHTTPServer.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <string>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

TEST(NominatimGeocoderTest, AnAnswersUsablePlacesAreReadAndTheOthersLeftOut) {
    const std::string longName(10'000, 'a');
    struct Case {
        std::string name;
        std::string body;
        std::optional<std::vector<Placemark>> expected;
    };
    const Case cases[] = {
        {"a place", R"([{"lat":"52.3731","lon":"4.8922","name":"Dam","display_name":"Dam, Amsterdam"}])",
         std::vector{Placemark{u"Dam"_s, GeoLocation{52.3731, 4.8922}}}},
        {"an address without a name", R"([{"lat":"52.3731","lon":"4.8922","name":"","display_name":"1 Dam"}])",
         std::vector{Placemark{u"1 Dam"_s, GeoLocation{52.3731, 4.8922}}}},
        {"nothing found", "[]", std::vector<Placemark>{}},
        {"coordinates that are no numbers or off the earth, a name of 10,000 characters: left out",
         R"([{"lat":"nan","lon":"4.89"},{"lat":"52.37","lon":"-200"},{"lat":"52.37 ","lon":"4.89"},{"lat":null,"lon":"4.89"},)"
         R"({"lat":"52.37","lon":"4.89","name":")" +
             longName + R"("},{"lat":52.5,"lon":13.4,"name":"Berlin"}])",
         std::vector{Placemark{u"Berlin"_s, GeoLocation{52.5, 13.4}}}},
        {"an error object", R"({"error":"Unable to geocode"})", std::nullopt},
        {"not JSON", "Bandwidth limit exceeded", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readNominatimAnswer(QByteArray::fromStdString(c.body)), c.expected);
    }
}

class NominatimGeocoderServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.on("/nominatim/search", [](const FakeHTTPServer::Request&) {
            return FakeHTTPServer::Reply::json(R"([{"lat":"52.3731","lon":"4.8922","name":"Dam"}])");
        });
    }

    NominatimGeocoder geocoder(bool enabled = true) {
        return NominatimGeocoder(http, {.endpoint = server.url("/nominatim"),
                                        .enabled = enabled,
                                        .nearby = [this] { return fix; },
                                        .cacheFile = cache.filePath(u"Tavlin/geocoded-addresses.json"_s),
                                        .clock = &clock});
    }
    std::vector<QString> askedFor() const {
        std::vector<QString> addresses;
        for (const FakeHTTPServer::Request& request : server.requests())
            addresses.push_back(
                QUrlQuery(QUrl(QString::fromUtf8(request.target))).queryItemValue(u"q"_s, QUrl::FullyDecoded));
        return addresses;
    }

    FakeHTTPServer server;
    ManualClock clock;
    HTTPClient http{"Tavlin/test", &clock};
    QTemporaryDir cache;
    std::optional<GeoLocation> fix;
    const std::vector<Placemark> dam{{u"Dam"_s, GeoLocation{52.3731, 4.8922}}};
};

TEST_F(NominatimGeocoderServiceTest, OneRequestASecondEachAddressOnceAndKeptBetweenRuns) {
    {
        NominatimGeocoder nominatim = geocoder();
        const PlaceOutcome first = outcomeOf(nominatim.geocodeAddress(u"Dam 1\nAmsterdam"_s));
        EXPECT_EQ(first.places, dam) << first.error.value_or("");
        // A second address waits for its second; the first again asks nothing.
        const Task<std::vector<Placemark>> second = nominatim.geocodeAddress(u"Dam 2, Amsterdam"_s);
        EXPECT_EQ(outcomeOf(nominatim.geocodeAddress(u"Dam 1\nAmsterdam"_s)).places, dam);
        runMainLoopUntil([] { return false; }, 100ms);
        EXPECT_EQ(askedFor(), std::vector{u"Dam 1\nAmsterdam"_s}) << "not before its second";
        clock.advance(NominatimGeocoder::requestInterval);
        EXPECT_EQ(outcomeOf(second).places, dam);
        EXPECT_EQ(askedFor(), (std::vector{u"Dam 1\nAmsterdam"_s, u"Dam 2, Amsterdam"_s}));
        EXPECT_EQ(server.requests().back().path, "/nominatim/search");
        EXPECT_FALSE(server.requests().back().target.contains("viewbox")) << "no fix, no bias";
        // Near the last fix, roughly.
        fix = GeoLocation{52.370216, 4.895168};
        const Task<std::vector<Placemark>> third = nominatim.geocodeAddress(u"Dam 3, Amsterdam"_s);
        clock.advance(NominatimGeocoder::requestInterval);
        EXPECT_EQ(outcomeOf(third).places, dam);
        EXPECT_EQ(QUrlQuery(QUrl(QString::fromUtf8(server.requests().back().target)))
                      .queryItemValue(u"viewbox"_s, QUrl::FullyDecoded),
                  u"4.40,52.87,5.40,51.87"_s);
    }
    // The next run knows both addresses without a request.
    NominatimGeocoder nextRun = geocoder();
    EXPECT_EQ(outcomeOf(nextRun.geocodeAddress(u"Dam 2, Amsterdam"_s)).places, dam);
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(NominatimGeocoderServiceTest, TurnedOffItFailsWithoutARequest) {
    NominatimGeocoder off = geocoder(false);
    EXPECT_TRUE(outcomeOf(off.geocodeAddress(u"Dam 1, Amsterdam"_s)).error);
    NominatimGeocoder on = geocoder();
    EXPECT_TRUE(outcomeOf(on.geocodeAddress(u" "_s)).error);
    EXPECT_TRUE(server.requests().empty());
}

}  // namespace
