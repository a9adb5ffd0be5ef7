#include "panel/LocationPreviewLookup.h"

#include "panel/widgets/LocationPreviewCards.h"
#include "platform/MapSnapshotter.h"

#include "PanelModelFixture.h"

#include <gtest/gtest.h>

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
// each was drawn for (a sixth of the region's height).
class CountingSnapshotter final : public MapSnapshotter {
public:
    Task<std::optional<Snapshot>> snapshot(MapRegion region, QSize size) override {
        sizes.push_back(size);
        radii.push_back(region.latitudinalMetres / 6);
        co_return co_await grid.snapshot(region, size);
    }

    tavlin::platform::GridMapSnapshotter grid;
    std::vector<QSize> sizes;
    std::vector<double> radii;
};

// The panel over a store whose map search (the resolver's last resort, and
// here its only one) knows a gym and a park, counting its lookups in
// `geography.queries`.
class LocationPreviewLookupTest : public PanelModelFixture {
protected:
    void SetUp() override {
        geography.answers[u"gym"_s] = {{.name = u"Gym"_s, .location = GeoLocation{52.3676, 4.9041}}};
        geography.answers[u"park"_s] = {{.name = u"Vondelpark"_s, .location = GeoLocation{52.358, 4.8686}}};
        makeModel();
    }

    static LocationRequest place(const char* name, std::optional<double> radius = std::nullopt) {
        return {.name = QString::fromUtf8(name), .radius = radius};
    }

    // A lookup for the line's places, in place of the one before (as each
    // change of the line does).
    void lookUp(std::vector<LocationRequest> requests) {
        task.cancel();
        task = resolveLocationPreviews(std::move(requests), model.get(), QSize(408, 130));
    }

    // What the panel holds for `name`: "none", "failed", or the place's name
    // and radius, "(map)" when its map is drawn.
    QString preview(const QString& name) const {
        const auto found = model->locationPreviews().find(name);
        if (found == model->locationPreviews().end()) return u"none"_s;
        const LocationPreviewEntry& entry = found->second;
        if (entry.failed) return u"failed"_s;
        if (!entry.resolved) return u"nothing"_s;
        return u"%1 %2%3"_s.arg(entry.resolved->name)
            .arg(entry.resolved->radius)
            .arg(entry.snapshot ? u" (map)"_s : QString());
    }

    CountingSnapshotter maps;
    tavlin::platform::ScopedMapSnapshotter useMaps{maps};
    Task<> task;
};

}  // namespace

TEST_F(LocationPreviewLookupTest, ANameIsLookedUpOnceTheLineHasRestedForAPause) {
    lookUp({place("gym")});
    advance(300ms);
    // Typing on: the pause starts again.
    lookUp({place("gym")});
    advance(300ms);
    EXPECT_TRUE(geography.queries.isEmpty());
    EXPECT_EQ(preview(u"gym"_s), u"none"_s);

    advance(100ms);
    EXPECT_EQ(geography.queries, QStringList{u"gym"_s});
    EXPECT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s);
    EXPECT_EQ(maps.sizes, std::vector<QSize>{QSize(408, 130)});
    EXPECT_TRUE(task.isDone());
}

TEST_F(LocationPreviewLookupTest, ARadiusWrittenLaterRedrawsTheMapAtOnceWithoutALookup) {
    lookUp({place("gym")});
    advance(400ms);
    ASSERT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s);

    lookUp({place("gym", 300)});
    EXPECT_EQ(preview(u"gym"_s), u"Gym 300 (map)"_s);
    EXPECT_EQ(maps.radii, (std::vector<double>{100, 300}));
    EXPECT_TRUE(task.isDone());  // no pause: nothing is new

    // Without a radius in the line the entry's own stands: nothing is drawn.
    lookUp({place("gym")});
    advance(1s);
    EXPECT_EQ(preview(u"gym"_s), u"Gym 300 (map)"_s);
    EXPECT_EQ(maps.radii.size(), 2u);
    EXPECT_EQ(geography.queries, QStringList{u"gym"_s});
}

TEST_F(LocationPreviewLookupTest, ANameThatMatchesNothingFailsAndIsNotLookedUpAgain) {
    lookUp({place("nowhere")});
    advance(400ms);
    EXPECT_EQ(preview(u"nowhere"_s), u"failed"_s);

    lookUp({place("nowhere"), place("gym", 250)});
    advance(1s);
    EXPECT_EQ(geography.queries, (QStringList{u"nowhere"_s, u"gym"_s}));
    EXPECT_EQ(preview(u"nowhere"_s), u"failed"_s);
    EXPECT_EQ(preview(u"gym"_s), u"Gym 250 (map)"_s);
}

TEST_F(LocationPreviewLookupTest, PlacesAreLookedUpOneAfterTheOtherInTheOrderWritten) {
    geography.delay = 100ms;
    lookUp({place("park"), place("gym")});
    advance(400ms);
    EXPECT_EQ(geography.queries, QStringList{u"park"_s});
    advance(100ms);
    EXPECT_EQ(preview(u"park"_s), u"Vondelpark 100 (map)"_s);
    EXPECT_EQ(preview(u"gym"_s), u"none"_s);
    EXPECT_EQ(geography.queries, (QStringList{u"park"_s, u"gym"_s}));
    advance(100ms);
    EXPECT_EQ(preview(u"gym"_s), u"Gym 100 (map)"_s);
}

TEST_F(LocationPreviewLookupTest, ALookupCancelledOrLeftByItsPanelWritesNothingMore) {
    geography.delay = 100ms;
    lookUp({place("gym")});
    advance(450ms);  // the lookup is under way
    task.cancel();
    advance(1s);
    EXPECT_EQ(preview(u"gym"_s), u"none"_s);

    lookUp({place("park")});
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
        EXPECT_EQ(model->locationSnapshotSize(), c.size) << c.stored.value_or(0) << " " << c.follows;
    }
}

TEST_F(LocationPreviewLookupTest, ARadiusSetOnACardIsTheNamesRadiusUnlessItIsNoDistance) {
    model->setLocationRadiusOverride(u"gym"_s, 300);
    model->setLocationRadiusOverride(u"park"_s, 1000);
    model->setLocationRadiusOverride(u"gym"_s, 675);
    for (const double noDistance :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 0.0, -100.0})
        model->setLocationRadiusOverride(u"gym"_s, noDistance);
    EXPECT_EQ(model->locationRadiusOverrides(), (std::map<QString, double>{{u"gym"_s, 675}, {u"park"_s, 1000}}));
}

TEST_F(LocationPreviewLookupTest, ACardFollowsThePreviewOfItsNameAndSetsItsRadius) {
    const std::unique_ptr<tavlin::rows::LocationPreviewCard> card(
        widgets::locationPreviewCard(*model, place("gym", 250)));
    // Nothing yet: the loading look.
    EXPECT_EQ(card->inputs().requestedName, u"gym"_s);
    EXPECT_FALSE(card->inputs().resolved || card->inputs().snapshot || card->inputs().failed);

    lookUp({place("gym", 250)});
    advance(400ms);
    EXPECT_EQ(card->inputs().resolved->radius, 250);
    EXPECT_TRUE(card->inputs().snapshot);

    card->onRadiusChange(500);
    EXPECT_EQ(model->locationRadiusOverrides(), (std::map<QString, double>{{u"gym"_s, 500}}));
}
