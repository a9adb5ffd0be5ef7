#include "panel/LocationPreviewLookup.h"

#include "panel/widgets/LocationPreviewCards.h"
#include "platform/MapSnapshotter.h"
#include "platform/NominatimGeocoder.h"
#include "platform/PhotonMapSearch.h"
#include "platform/TileMapSnapshotter.h"

#include "FakeCommitStore.h"
#include "PanelModelFixture.h"
#include "support/FakeHTTPServer.h"
#include "support/FixtureTiles.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QUrlQuery>

#include <chrono>
#include <limits>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace tavlin::panel;
using tavlin::platform::GeoLocation;
using tavlin::platform::MapRegion;
using tavlin::platform::MapSnapshotter;
using tavlin::platform::Task;
using tavlin::store::ResolvedLocation;

namespace {

// The plain grid, counting the maps asked of it: their sizes and the radius
// each was drawn for (a sixth of the region's height). With a clock, each
// map comes `delay` late on it.
class CountingSnapshotter final : public MapSnapshotter {
public:
    Task<std::optional<Snapshot>> snapshot(MapRegion region, QSize size) override {
        sizes.push_back(size);
        radii.push_back(region.latitudinalMetres / 6);
        if (clock) {
            const bool slept = co_await tavlin::platform::sleep(delay, *clock);
            if (!slept) co_return std::nullopt;
        }
        co_return co_await grid.snapshot(region, size);
    }

    tavlin::platform::GridMapSnapshotter grid;
    std::vector<QSize> sizes;
    std::vector<double> radii;
    tavlin::platform::Clock* clock = nullptr;
    std::chrono::milliseconds delay{};
};

// The panel over a store whose map search (the resolver's last resort, and
// here its only one) knows a gym and a park, counting its lookups in
// `geography.queries`; typed lines are added to `added`.
class LocationPreviewLookupTest : public PanelModelFixture {
protected:
    void SetUp() override {
        geography.answers[u"gym"_s] = {{.name = u"Gym"_s, .location = GeoLocation{52.3676, 4.9041}}};
        geography.answers[u"park"_s] = {{.name = u"Vondelpark"_s, .location = GeoLocation{52.358, 4.8686}}};
        commits = added;
        makeModel();
    }

    void type(const char* line) { model->typedLine().setQuery(QString::fromUtf8(line)); }

    // What the panel holds for `name`: "none", "failed", or the place's name
    // and radius, "(map)" when its map is drawn.
    QString preview(const QString& name) const {
        const auto found = model->placePreviews().locationPreviews().find(name);
        if (found == model->placePreviews().locationPreviews().end()) return u"none"_s;
        const LocationPreviewEntry& entry = found->second;
        if (entry.failed) return u"failed"_s;
        if (!entry.resolved) return u"nothing"_s;
        return u"%1 %2%3"_s.arg(entry.resolved->name)
            .arg(entry.resolved->radius)
            .arg(entry.snapshot ? u" (map)"_s : QString());
    }
    QStringList previewNames() const {
        QStringList names;
        for (const auto& [name, entry] : model->placePreviews().locationPreviews()) names << name;
        return names;
    }

    CountingSnapshotter maps;
    tavlin::platform::ScopedMapSnapshotter useMaps{maps};
    std::shared_ptr<FakeCommitStore> added = std::make_shared<FakeCommitStore>();
};

}  // namespace

TEST_F(LocationPreviewLookupTest, ANameIsLookedUpAPauseAfterTheLastKey) {
    for (const char* line : {"swim @g", "swim @gy", "swim @gym"}) {
        type(line);
        advance(300ms);
    }
    EXPECT_TRUE(geography.queries.isEmpty());
    EXPECT_TRUE(model->placePreviews().locationPreviews().empty());

    advance(100ms);
    EXPECT_EQ(geography.queries, QStringList{u"gym"_s});
    EXPECT_EQ(previewNames(), QStringList{u"gym"_s});
    EXPECT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s);
    EXPECT_EQ(maps.sizes, std::vector<QSize>{QSize(408, 130)});
    EXPECT_TRUE(model->placePreviews().locationPreviewTask().isDone());
}

TEST_F(LocationPreviewLookupTest, ARadiusWrittenLaterRedrawsTheMapAtOnceWithoutALookup) {
    type("swim @gym");
    advance(400ms);
    ASSERT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s);

    type("swim @gym within 300m");
    EXPECT_EQ(preview(u"gym"_s), u"Gym 300 (map)"_s);
    EXPECT_EQ(maps.radii, (std::vector<double>{100, 300}));
    EXPECT_TRUE(model->placePreviews().locationPreviewTask().isDone());  // no pause: nothing is new

    // Without a radius in the line the entry's own stands: nothing is drawn.
    type("swim @gym");
    advance(1s);
    EXPECT_EQ(preview(u"gym"_s), u"Gym 300 (map)"_s);
    EXPECT_EQ(maps.radii.size(), 2u);
    EXPECT_EQ(geography.queries, QStringList{u"gym"_s});
}

TEST_F(LocationPreviewLookupTest, ANameThatMatchesNothingFailsAndIsNotLookedUpAgain) {
    type("call mom @nowhere");
    advance(400ms);
    EXPECT_EQ(preview(u"nowhere"_s), u"failed"_s);

    type("call mom @nowhere; swim @gym within 250m");
    advance(1s);
    EXPECT_EQ(geography.queries, (QStringList{u"nowhere"_s, u"gym"_s}));
    EXPECT_EQ(preview(u"nowhere"_s), u"failed"_s);
    EXPECT_EQ(preview(u"gym"_s), u"Gym 250 (map)"_s);
}

TEST_F(LocationPreviewLookupTest, PlacesAreLookedUpOneAfterTheOtherInTheOrderWritten) {
    geography.delay = 100ms;
    type("walk @park; swim @gym");
    advance(400ms);
    EXPECT_EQ(geography.queries, QStringList{u"park"_s});
    advance(100ms);
    EXPECT_EQ(preview(u"park"_s), u"Vondelpark 100 (map)"_s);
    EXPECT_EQ(preview(u"gym"_s), u"none"_s);
    EXPECT_EQ(geography.queries, (QStringList{u"park"_s, u"gym"_s}));
    advance(100ms);
    EXPECT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s);
}

TEST_F(LocationPreviewLookupTest, PreviewsAndChosenRadiiLastWhileTheLineNamesTheirPlaces) {
    type("swim @gym");
    advance(400ms);
    model->placePreviews().setLocationRadiusOverride(u"gym"_s, 500);
    EXPECT_EQ(preview(u"gym"_s), u"Gym 500 (map)"_s);

    // A second place: the first keeps its preview and radius meanwhile.
    type("swim @gym; walk @park");
    EXPECT_EQ(preview(u"gym"_s), u"Gym 500 (map)"_s);
    advance(400ms);
    EXPECT_EQ(previewNames(), (QStringList{u"gym"_s, u"park"_s}));

    type("walk @park");
    EXPECT_EQ(previewNames(), QStringList{u"park"_s});
    EXPECT_TRUE(model->placePreviews().locationRadiusOverrides().empty());

    // The gym named again is looked up anew, at its own radius.
    type("walk @park; swim @gym");
    advance(400ms);
    EXPECT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s);

    model->placePreviews().setLocationRadiusOverride(u"park"_s, 250);
    type("walk");
    EXPECT_TRUE(model->placePreviews().locationPreviews().empty());
    EXPECT_TRUE(model->placePreviews().locationRadiusOverrides().empty());
    EXPECT_EQ(geography.queries, (QStringList{u"gym"_s, u"park"_s, u"gym"_s}));
}

TEST_F(LocationPreviewLookupTest, ALookupOfALineThatChangedOrOfAPanelThatWentWritesNothing) {
    geography.delay = 100ms;
    type("swim @gym");
    advance(450ms);  // the gym is being looked up
    type("swim");
    advance(1s);
    EXPECT_TRUE(model->placePreviews().locationPreviews().empty());

    // The task alone, its panel gone before its lookup answers.
    Task<> task = resolveLocationPreviews({{.name = u"park"_s}}, &model->placePreviews(), QSize(408, 130));
    advance(450ms);
    model.reset();
    advance(1s);
    EXPECT_TRUE(task.isDone());
}

TEST_F(LocationPreviewLookupTest, TheMapIsAsWideAsTheCardsMapAreaInThePanelsWidth) {
    struct Case {
        std::optional<double> stored;
        bool follows;
        double panelWidth;
        QSize size;
    };
    const Case cases[] = {
        {1000, true, 440, {768, 130}},  // the stored width, held within 360…800
        {300, true, 440, {328, 130}},
        {1000, false, 440, {408, 130}},  // the width it opened with
        {std::nullopt, true, 520, {488, 130}},
    };
    for (const Case& c : cases) {
        settings.setPinnedPanelWidth(c.stored);
        makeModel({.panelWidth = c.panelWidth, .followsStoredWidth = c.follows});
        type("swim @gym");
        advance(400ms);
        EXPECT_EQ(maps.sizes.back(), c.size) << c.stored.value_or(0) << " " << c.follows;
    }
}

TEST_F(LocationPreviewLookupTest, ARadiusSetOnACardIsTheNamesRadiusUnlessItIsNoDistance) {
    type("swim @gym; walk @park");
    model->placePreviews().setLocationRadiusOverride(u"gym"_s, 300);
    model->placePreviews().setLocationRadiusOverride(u"park"_s, 1000);
    model->placePreviews().setLocationRadiusOverride(u"gym"_s, 675);
    for (const double noDistance :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 0.0, -100.0})
        model->placePreviews().setLocationRadiusOverride(u"gym"_s, noDistance);
    EXPECT_EQ(model->placePreviews().locationRadiusOverrides(),
              (std::map<QString, double>{{u"gym"_s, 675}, {u"park"_s, 1000}}));
}

TEST_F(LocationPreviewLookupTest, TheCardOfAPlaceFollowsItsPreviewAndReturnSavesTheRadiusChosenOnIt) {
    type("swim @gym");
    const LocationRequest gym = model->locationRequests().at(0);
    const std::unique_ptr<tavlin::rows::LocationPreviewCard> card(widgets::locationPreviewCard(*model, gym));
    // Nothing yet: the loading look.
    EXPECT_EQ(card->inputs().requestedName, u"gym"_s);
    EXPECT_FALSE(card->inputs().resolved || card->inputs().snapshot || card->inputs().failed);

    advance(400ms);
    EXPECT_EQ(card->inputs().resolved->radius, 100);
    EXPECT_TRUE(card->inputs().snapshot);

    card->onRadiusChange(675);
    EXPECT_EQ(card->inputs().resolved->radius, 675);
    model->fieldActions().submit();
    ASSERT_EQ(added->places.size(), 1u);
    EXPECT_EQ(added->places[0]->name, u"Gym"_s);
    EXPECT_EQ(added->places[0]->radius, 675);

    // A name that matches nothing is saved as it is written.
    type("call mom @nowhere");
    const std::unique_ptr<tavlin::rows::LocationPreviewCard> nowhere(
        widgets::locationPreviewCard(*model, model->locationRequests().at(0)));
    advance(400ms);
    EXPECT_TRUE(nowhere->inputs().failed);
    model->fieldActions().submit();
    ASSERT_EQ(added->places.size(), 2u);
    EXPECT_EQ(added->places[1], std::nullopt);
    EXPECT_EQ(added->added[1].locationName, u"nowhere"_s);
}

// A new radius is drawn on the card a moment later; Return in that moment
// saves the radius of the line as it is committed, not the card's earlier
// one.
TEST_F(LocationPreviewLookupTest, ReturnWhileTheMapIsRedrawnSavesTheRadiusOfTheCommittedLine) {
    maps.clock = &clock;
    maps.delay = 200ms;
    struct Case {
        const char* line;
        std::optional<double> chosenOnCard;
        double saved;
    };
    const Case cases[] = {
        {"swim @gym within 300m", std::nullopt, 300},
        {"swim @gym within 300m; stretch", std::nullopt, 300},  // a line of several tasks
        {"swim @gym", 675, 675},
        {"swim @gym within 300m", 675, 675},  // the card's choice stands over the line's
    };
    for (const Case& c : cases) {
        type("swim @gym");
        advance(600ms);
        ASSERT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s);
        type(c.line);
        if (c.chosenOnCard) model->placePreviews().setLocationRadiusOverride(u"gym"_s, *c.chosenOnCard);
        ASSERT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s) << "the map is still drawn";
        model->fieldActions().submit();
        ASSERT_TRUE(added->places.at(0)) << c.line;
        EXPECT_EQ(added->places.at(0)->radius, c.saved) << c.line;
        advance(1s);
        EXPECT_TRUE(model->placePreviews().locationPreviews().empty());
        added->places.clear();
    }
}

namespace {

// The panel over the network's place services, played by a local server:
// a map search that knows a clinic, and tiles for the map around it.
class LocationPreviewOverTheNetworkTest : public PanelModelFixture {
protected:
    static constexpr GeoLocation clinic{52.3601, 4.8567};

    void SetUp() override {
        server.on("/api", [this](const FakeHTTPServer::Request& request) {
            searched << QUrlQuery(QUrl(QString::fromUtf8(request.target))).queryItemValue(u"q"_s, QUrl::FullyDecoded);
            if (searched.last() != u"dentist west"_s) return FakeHTTPServer::Reply::json("{}", 503);
            return FakeHTTPServer::Reply::json(
                R"({"features":[{"geometry":{"coordinates":[4.8567,52.3601]},"properties":{"name":"Tandarts West"}}]})");
        });
        const QSize mapSize(440 - 32, 130);
        const MapRegion region{{clinic.latitude, clinic.longitude}, 600, 600};
        const tavlin::platform::MapProjection projection(
            region.center, tavlin::platform::metresPerPointFitting(region, mapSize), mapSize);
        for (const tavlin::platform::PlacedTile& tile : tavlin::platform::tilesCovering(projection, mapSize))
            server.on(fixtureTilePath(tile.key), FakeHTTPServer::Reply{.body = fixtureTilePNG(tile.key)});
        tiles = tavlin::platform::tilesCovering(projection, mapSize);

        Reminder earlier = reminder("earlier");
        earlier.alarms = {
            tavlin::platform::Alarm::on({u"Clinic"_s, GeoLocation{9, 9}, 0}, tavlin::platform::AlarmProximity::enter)};
        seed({.lists = defaultLists, .reminders = {earlier}});
        store = std::make_unique<tavlin::store::ReminderStore>(
            backend, settings, power, networkPlaces, tavlin::store::WallClock{[this] { return wallNow(); }, calendar});
        store->start();
        clock.runDueActions();
        makeModel();
    }
    void TearDown() override {
        model.reset();
        store.reset();
    }

    FakeHTTPServer server;
    QStringList searched;
    std::vector<tavlin::platform::PlacedTile> tiles;
    QTemporaryDir tileCache;
    tavlin::platform::HTTPClient http{"Tavlin/test"};
    tavlin::platform::PhotonMapSearch photon{http, {.endpoint = server.url("/api")}};
    tavlin::platform::NominatimGeocoder nominatim{http, {.endpoint = server.url("/")}};
    tavlin::store::PlaceResolver networkPlaces{contacts, photon, nominatim};
    tavlin::platform::TileMapSnapshotter maps{
        http, {.mapTiles = server.url("/tiles/").toString() + u"{z}/{x}/{y}.png"_s, .cacheFolder = tileCache.path()}};
    tavlin::platform::ScopedMapSnapshotter useMaps{maps};
};

}  // namespace

TEST_F(LocationPreviewOverTheNetworkTest, ATypedPlaceIsFoundAndItsCardShowsTheStitchedMapWithItsRing) {
    model->typedLine().setQuery(u"teeth @dentist west"_s);
    const std::unique_ptr<tavlin::rows::LocationPreviewCard> card(
        widgets::locationPreviewCard(*model, model->locationRequests().at(0)));
    advance(400ms);
    ASSERT_TRUE(runMainLoopUntil([&] { return card->inputs().snapshot.has_value() || card->inputs().failed; }));
    ASSERT_TRUE(card->inputs().resolved);
    EXPECT_EQ(*card->inputs().resolved, (ResolvedLocation{u"Tandarts West"_s, 52.3601, 4.8567, 100}));
    const tavlin::store::LocationPreview::MapSnapshot& map = *card->inputs().snapshot;
    EXPECT_EQ(map.attribution, u"© OpenStreetMap contributors"_s);
    for (const tavlin::platform::PlacedTile& tile : tiles) {
        const QPoint middle = tile.rect.intersected(QRectF(QPointF(0, 0), map.image.size())).center().toPoint();
        EXPECT_TRUE(showsFixtureTile(map.image.pixelColor(middle), tile.key)) << tile.key.x << " " << tile.key.y;
    }
    const auto ring = card->overlay();
    ASSERT_TRUE(ring);
    EXPECT_NEAR(ring->ring.width(), 2 * 100 * map.pointsPerMeter, 1e-6);
    EXPECT_EQ(searched, QStringList{u"dentist west"_s});
}

TEST_F(LocationPreviewOverTheNetworkTest, AnEarlierPlaceComesFirstAndAFailedSearchLeavesTheName) {
    model->typedLine().setQuery(u"check-up @clinic"_s);
    advance(400ms);
    ASSERT_TRUE(runMainLoopUntil([&] { return !model->placePreviews().locationPreviews().empty(); }));
    EXPECT_EQ(model->placePreviews().locationPreviews().at(u"clinic"_s).resolved->name, u"Clinic"_s);
    EXPECT_TRUE(searched.isEmpty()) << "an earlier place is not searched for";

    model->typedLine().setQuery(u"check-up @clinic oost"_s);
    advance(400ms);
    ASSERT_TRUE(
        runMainLoopUntil([&] { return model->placePreviews().locationPreviews().count(u"clinic oost"_s) > 0; }));
    EXPECT_TRUE(model->placePreviews().locationPreviews().at(u"clinic oost"_s).failed);
    EXPECT_EQ(searched, QStringList{u"clinic oost"_s});
}
