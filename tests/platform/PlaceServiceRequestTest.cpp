// Every way a place service can fail is the one error the places know,
// for the map search and the geocoder alike, and within a few seconds.

#include "platform/PlaceServiceRequest.h"

#include "platform/NominatimGeocoder.h"
#include "platform/PhotonMapSearch.h"

#include "PlaceServiceTesting.h"
#include "support/FakeHTTPServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

TEST(PlaceServiceRequestTest, EveryFailureIsAPlaceServiceErrorWithinAFewSeconds) {
    struct Case {
        std::string name;
        FakeHTTPServer::Reply reply;
        bool serverGone = false;
    };
    FakeHTTPServer::Reply endless;
    endless.generatedBytes = -1;
    FakeHTTPServer::Reply tenMegabytes;
    tenMegabytes.generatedBytes = 10 * 1024 * 1024;
    FakeHTTPServer::Reply silent;
    silent.silent = true;
    FakeHTTPServer::Reply cut = FakeHTTPServer::Reply::json(R"({"features":[]})");
    cut.cutAfter = 4;
    const std::vector<Case> cases = {
        {"offline", {}, true},
        {"not found", FakeHTTPServer::Reply::json("{}", 404)},
        {"a server error", FakeHTTPServer::Reply::json("{}", 500)},
        {"the rate limit", FakeHTTPServer::Reply::json(R"({"error":"too many requests"})", 429)},
        {"no answer", silent},
        {"malformed JSON", FakeHTTPServer::Reply::json("{\"features\": [")},
        {"an HTML page", FakeHTTPServer::Reply{.body = "<html><body>Maintenance</body></html>"}},
        {"10 MB", tenMegabytes},
        {"an answer without end", endless},
        {"cut off", cut},
    };
    for (const Case& c : cases) {
        for (const bool geocoding : {false, true}) {
            SCOPED_TRACE(c.name + (geocoding ? " geocoding" : " searching"));
            FakeHTTPServer server;
            server.on("/api", c.reply);
            server.on("/search", c.reply);
            if (c.serverGone) server.close();
            ManualClock clock;
            HTTPClient http("Tavlin/test", &clock);
            PhotonMapSearch search(http, {.endpoint = server.url("/api")});
            NominatimGeocoder geocoder(http, {.endpoint = server.url("/"), .clock = &clock});
            const Task<std::vector<Placemark>> lookup =
                geocoding ? geocoder.geocodeAddress(u"1 Main Street"_s) : search.search(u"Dam Square"_s);
            // What never ends gives up when its time is up.
            runMainLoopUntil([&] { return lookup.isDone() || server.requests().size() == 1; });
            runMainLoopUntil([&] { return lookup.isDone(); }, 200ms);
            clock.advance(PlaceServiceRequest::timeout);
            const PlaceOutcome outcome = outcomeOf(lookup);
            EXPECT_FALSE(outcome.places);
            EXPECT_TRUE(outcome.error);
        }
    }
}

TEST(PlaceServiceRequestTest, TheUserAgentNamesTavlinItsVersionAndWhereItLives) {
    const QByteArray agent = PlaceServiceRequest::userAgent();
    EXPECT_TRUE(agent.startsWith("Tavlin")) << agent.toStdString();
    EXPECT_TRUE(agent.contains("https://quorvandell.com/tavlin/")) << agent.toStdString();
}

}  // namespace
