// The place previews as the panel holds them: requests that stay the same
// look nothing up again, a name the line drops takes its preview and its
// chosen radius with it, and only a distance is taken as a radius.

#include "panel/PlacePreviews.h"

#include "panel/LocationPreviewLookup.h"

#include "store/ReminderStoreFixture.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;

namespace {

class PlacePreviewsTest : public ReminderStoreFixture {
protected:
    void SetUp() override { previews = made(); }

    std::unique_ptr<PlacePreviews> made() {
        if (!store) startedStore();
        return std::make_unique<PlacePreviews>(*store, clock, [] { return QSize(408, 130); });
    }
    // The lookups settle: each unscripted name is kept as failed.
    void settle() { advance(locationLookupPause); }

    std::unique_ptr<PlacePreviews> previews;
};

}  // namespace

TEST_F(PlacePreviewsTest, ANameTheLineDropsTakesItsPreviewAndRadiusAndTheSameRequestsLookNothingUp) {
    PlacePreviews& places = *previews;
    places.follow({{.name = u"gym"_s}, {.name = u"park"_s}});
    settle();
    ASSERT_EQ(places.locationPreviews().size(), 2u);
    EXPECT_TRUE(places.locationPreviews().at(u"gym"_s).failed);
    const qsizetype asked = geography.queries.size();

    places.setLocationRadiusOverride(u"gym"_s, 250);
    places.setLocationRadiusOverride(u"park"_s, 80);
    places.follow({{.name = u"gym"_s}, {.name = u"park"_s}});
    settle();
    EXPECT_EQ(geography.queries.size(), asked) << "nothing new to look up";

    places.follow({{.name = u"park"_s}});
    EXPECT_EQ(places.locationRadiusOverrides(), (std::map<QString, double>{{u"park"_s, 80}}));
    EXPECT_FALSE(places.locationPreviews().contains(u"gym"_s));
    EXPECT_TRUE(places.locationPreviews().contains(u"park"_s));

    places.follow({});
    EXPECT_TRUE(places.locationPreviews().empty());
    EXPECT_TRUE(places.locationRadiusOverrides().empty());
}

TEST_F(PlacePreviewsTest, OnlyADistanceIsTakenAsARadius) {
    PlacePreviews& places = *previews;
    for (const double radius :
         {0.0, -5.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(radius);
        places.setLocationRadiusOverride(u"gym"_s, radius);
        EXPECT_TRUE(places.locationRadiusOverrides().empty());
    }
    places.setLocationRadiusOverride(u"gym"_s, 0.5);
    EXPECT_EQ(places.locationRadiusOverrides(), (std::map<QString, double>{{u"gym"_s, 0.5}}));
}

TEST_F(PlacePreviewsTest, PreviewsGoneBeforeTheirLookupWriteNothing) {
    std::unique_ptr<PlacePreviews> gone = made();
    gone->follow({{.name = u"gym"_s}});
    gone.reset();
    settle();
    EXPECT_TRUE(geography.queries.isEmpty()) << "the pause ended with the previews";
}
