#include "platform/PhotonMapSearch.h"

#include "PlaceServiceTesting.h"
#include "support/FakeHTTPServer.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QUrlQuery>

#include <string>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

QByteArray feature(const std::string& coordinates, const std::string& name) {
    return QByteArray::fromStdString(R"({"type":"Feature","geometry":{"type":"Point","coordinates":)" + coordinates +
                                     R"(},"properties":{"osm_id":1)" + (name.empty() ? "" : R"(,"name":)" + name) +
                                     "}}");
}

QByteArray answer(const std::vector<QByteArray>& features) {
    QByteArray text = R"({"type":"FeatureCollection","features":[)";
    for (std::size_t i = 0; i < features.size(); ++i) text += (i ? "," : "") + features[i];
    return text + "]}";
}

TEST(PhotonMapSearchTest, AnAnswersUsablePlacesAreReadAndTheOthersLeftOut) {
    const std::string longName = '"' + std::string(10'000, 'a') + '"';
    struct Case {
        std::string name;
        QByteArray body;
        std::optional<std::vector<Placemark>> expected;
    };
    const Case cases[] = {
        {"a place", answer({feature("[4.8922,52.3731]", R"("Dam Square")")}),
         std::vector{Placemark{u"Dam Square"_s, GeoLocation{52.3731, 4.8922}}}},
        {"a place without a name", answer({feature("[4.8922,52.3731]", "")}),
         std::vector{Placemark{QString(), GeoLocation{52.3731, 4.8922}}}},
        {"a name over lines", answer({feature("[4.8922,52.3731]", R"("Dam\nSquare")")}),
         std::vector{Placemark{u"Dam Square"_s, GeoLocation{52.3731, 4.8922}}}},
        {"no places", answer({}), std::vector<Placemark>{}},
        {"beyond the poles, beyond the date line, no point, a name of 10,000 characters: all left out",
         answer({feature("[4.89,91]", R"("North")"), feature("[181,52]", R"("East")"), feature("[4.89]", R"("Half")"),
                 feature(R"(["4.89","52.37"])", R"("Texts")"), feature("[4.89,52.37]", longName),
                 feature("[4.8922,52.3731]", R"("Dam Square")")}),
         std::vector{Placemark{u"Dam Square"_s, GeoLocation{52.3731, 4.8922}}}},
        {"a coordinate too large for a number", answer({feature("[4.89,1e400]", R"("Far")")}), std::nullopt},
        {"not JSON", "<html>Bad gateway</html>", std::nullopt},
        {"NaN", answer({feature("[NaN,52.37]", R"("Nowhere")")}), std::nullopt},
        {"not a collection", R"([{"lat":52.37}])", std::nullopt},
        {"cut off", answer({feature("[4.8922,52.3731]", R"("Dam Square")")}).chopped(3), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readPhotonAnswer(c.body), c.expected);
    }
}

class PhotonMapSearchServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.on("/api", [this](const FakeHTTPServer::Request& request) {
            queries.push_back(QUrlQuery(QUrl(QString::fromUtf8(request.target))));
            return FakeHTTPServer::Reply::json(answer({feature("[4.8922,52.3731]", R"("Dam Square")")}));
        });
    }

    PhotonMapSearch search(bool enabled = true) {
        return PhotonMapSearch(http,
                               {.endpoint = server.url("/api"), .enabled = enabled, .nearby = [this] { return fix; }});
    }

    FakeHTTPServer server;
    HTTPClient http{"Tavlin/test"};
    std::optional<GeoLocation> fix;
    std::vector<QUrlQuery> queries;
};

TEST_F(PhotonMapSearchServiceTest, ANameIsLookedUpOnceARunNearTheLastFix) {
    PhotonMapSearch photon = search();
    const PlaceOutcome first = outcomeOf(photon.search(u" Dam & Co + 1 "_s));
    ASSERT_TRUE(first.places) << first.error.value_or("");
    EXPECT_EQ(*first.places, (std::vector{Placemark{u"Dam Square"_s, GeoLocation{52.3731, 4.8922}}}));
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_EQ(queries[0].queryItemValue(u"q"_s, QUrl::FullyDecoded), u"Dam & Co + 1"_s);
    EXPECT_FALSE(queries[0].hasQueryItem(u"lat"_s)) << "no fix, no bias";

    EXPECT_EQ(outcomeOf(photon.search(u"Dam & Co + 1"_s)).places, first.places);
    EXPECT_EQ(queries.size(), 1u) << "the second lookup asks nothing";

    fix = GeoLocation{52.370216, 4.895168};
    EXPECT_TRUE(outcomeOf(photon.search(u"Central Station"_s)).places);
    ASSERT_EQ(queries.size(), 2u);
    EXPECT_EQ(queries[1].queryItemValue(u"lat"_s), u"52.37"_s) << "near, not exactly where";
    EXPECT_EQ(queries[1].queryItemValue(u"lon"_s), u"4.90"_s);
}

TEST_F(PhotonMapSearchServiceTest, TurnedOffOrGivenNoNameItFailsWithoutARequest) {
    PhotonMapSearch off = search(false);
    EXPECT_TRUE(outcomeOf(off.search(u"Dam Square"_s)).error);
    PhotonMapSearch on = search();
    for (const QString& name : {QString(), u"   "_s, QString(10'000, u'a')}) {
        SCOPED_TRACE(name.size());
        EXPECT_TRUE(outcomeOf(on.search(name)).error);
    }
    EXPECT_TRUE(server.requests().empty());
}

}  // namespace
