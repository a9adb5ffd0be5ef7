#include "platform/Geodesic.h"

#include <gtest/gtest.h>

using tavlin::platform::geodesicDistance;

namespace {

double degrees(double d, double m, double s) { return d < 0 ? d - m / 60 - s / 3600 : d + m / 60 + s / 3600; }

}  // namespace

// Lengths published for the WGS-84 ellipsoid.
TEST(Geodesic, MeasuresOnTheEllipsoid) {
    struct Case {
        const char* name;
        double latitude1, longitude1, latitude2, longitude2;
        double metres;
        double tolerance;
    };
    const Case cases[] = {
        {"the same point", 52.37, 4.89, 52.37, 4.89, 0, 0},
        {"one degree of the equator", 0, 0, 0, 1, 111319.491, 0.001},
        {"one degree north from the equator", 0, 0, 1, 0, 110574.389, 0.001},
        {"pole to pole", 90, 0, -90, 0, 20003931.4586, 0.001},
        {"Flinders Peak to Buninyong", degrees(-37, 57, 3.72030), degrees(144, 25, 29.52440),
         degrees(-37, 39, 10.15610), degrees(143, 55, 35.38390), 54972.271, 0.001},
        {"nearly antipodal, slow to settle", 0, 0, 0.5, 179.5, 19936288.579, 0.001},
        // Where the ellipsoid's solution does not settle the sphere stands in,
        // within a tenth of a percent.
        {"nearly antipodal, unsettled", 0, 0, 0.5, 179.7, 19944127.421, 19944.127},
        {"antipodal on the equator", 0, 0, 0, 180, 20003931.4586, 20003.931},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(geodesicDistance(c.latitude1, c.longitude1, c.latitude2, c.longitude2), c.metres, c.tolerance);
        EXPECT_NEAR(geodesicDistance(c.latitude2, c.longitude2, c.latitude1, c.longitude1), c.metres, c.tolerance)
            << "either way round";
    }
}

TEST(Geodesic, CrossesTheDateLineTheShortWay) {
    EXPECT_NEAR(geodesicDistance(0, 179.5, 0, -179.5), 111319.491, 0.001);
    EXPECT_NEAR(geodesicDistance(52.37, 4.89, 52.37, 4.89 + 360), 0, 1e-6);
}
