#include "store/LocationPreview.h"

#include "platform/MapSnapshotter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace tavlin::platform;
using namespace tavlin::store;

namespace {

// A map whose projection is linear around the picture's centre, with the
// same number of points per degree of latitude and of longitude.
class LinearSnapshotter final : public MapSnapshotter {
public:
    enum class Outcome { drawn, notDrawable, everythingAtOnePoint };

    Task<std::optional<Snapshot>> snapshot(MapRegion region, QSize size) override {
        requests.push_back({region, size});
        if (outcome == Outcome::notDrawable) co_return std::nullopt;
        const double scale = outcome == Outcome::drawn ? pointsPerDegree : 0;
        const QPointF middle(size.width() / 2.0, size.height() / 2.0);
        co_return Snapshot{.image = QImage(size, QImage::Format_RGB32), .point = [=](GeoCoordinate coordinate) {
                               return middle + QPointF(coordinate.longitude - region.center.longitude,
                                                       region.center.latitude - coordinate.latitude) *
                                                   scale;
                           }};
    }

    struct Request {
        MapRegion region;
        QSize size;
    };
    static constexpr double pointsPerDegree = 1000;
    Outcome outcome = Outcome::drawn;
    std::vector<Request> requests;
};

class LocationPreviewTest : public ::testing::Test {
protected:
    static std::optional<LocationPreview::MapSnapshot> snapshot(double latitude, double longitude, double radius,
                                                                int width = 320, int height = 180) {
        const Task<std::optional<LocationPreview::MapSnapshot>> task =
            LocationPreview::snapshot(latitude, longitude, radius, width, height);
        EXPECT_TRUE(task.isDone());
        return task.isDone() ? task.result() : std::nullopt;
    }

    LinearSnapshotter map;
    ScopedMapSnapshotter useMap{map};
};

TEST_F(LocationPreviewTest, ScaleComesFromThePointARadiusEast) {
    const auto picture = snapshot(60, 10, 200);
    ASSERT_TRUE(picture);
    // At 60° a degree of longitude is half as long as at the equator.
    EXPECT_NEAR(picture->pointsPerMeter, LinearSnapshotter::pointsPerDegree / (0.5 * 111'320), 1e-12);
    EXPECT_DOUBLE_EQ(picture->center.x(), 160);
    EXPECT_DOUBLE_EQ(picture->center.y(), 90);
    EXPECT_EQ(picture->image.size(), QSize(320, 180));

    ASSERT_EQ(map.requests.size(), 1u);
    const MapRegion& region = map.requests[0].region;
    EXPECT_EQ(region.center.latitude, 60);
    EXPECT_EQ(region.center.longitude, 10);
    EXPECT_EQ(region.latitudinalMetres, 1200);
    EXPECT_EQ(region.longitudinalMetres, 1200);
    EXPECT_EQ(map.requests[0].size, QSize(320, 180));
}

TEST_F(LocationPreviewTest, NoPictureForARadiusNotAboveZero) {
    for (const double radius : {0.0, -50.0, std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(radius);
        EXPECT_FALSE(snapshot(60, 10, radius));
    }
    EXPECT_TRUE(map.requests.empty()) << "nothing to draw, so no map asked for";
}

TEST_F(LocationPreviewTest, NoPictureWhenTheMapGivesNoScale) {
    struct Case {
        std::string name;
        LinearSnapshotter::Outcome outcome;
        double latitude;
    };
    const std::vector<Case> cases = {
        {"the map cannot be drawn", LinearSnapshotter::Outcome::notDrawable, 60},
        {"the map puts everything at one point", LinearSnapshotter::Outcome::everythingAtOnePoint, 60},
        {"a latitude that is no number", LinearSnapshotter::Outcome::drawn, std::numeric_limits<double>::quiet_NaN()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        map.outcome = c.outcome;
        EXPECT_FALSE(snapshot(c.latitude, 10, 200));
    }
}

TEST(LocationPreviewOnTheGridTest, ThePictureShowsTheRegionAtItsScale) {
    const Task<std::optional<LocationPreview::MapSnapshot>> task =
        LocationPreview::snapshot(48.85, 2.35, 150, 300, 200);
    ASSERT_TRUE(task.isDone());
    const std::optional<LocationPreview::MapSnapshot>& picture = task.result();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->image.size(), QSize(300, 200));
    EXPECT_NEAR(picture->center.x(), 150, 1e-6);
    EXPECT_NEAR(picture->center.y(), 100, 1e-6);
    // 900 m from north to south fill the 200 points of the height.
    EXPECT_NEAR(picture->pointsPerMeter, 200.0 / 900, 200.0 / 900 * 1e-3);
}

}  // namespace
