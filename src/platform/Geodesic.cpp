#include "platform/Geodesic.h"

#include <cmath>
#include <numbers>

namespace tavlin::platform {

namespace {

constexpr double semiMajorAxis = 6378137.0;
constexpr double flattening = 1 / 298.257223563;
constexpr double semiMinorAxis = semiMajorAxis * (1 - flattening);
constexpr double meanRadius = (2 * semiMajorAxis + semiMinorAxis) / 3;
constexpr int iterationLimit = 1000;

double radians(double degrees) { return degrees * std::numbers::pi / 180; }

double greatCircleDistance(double latitude1, double latitude2, double longitudeDifference) {
    const double sinHalfLatitude = std::sin((latitude2 - latitude1) / 2);
    const double sinHalfLongitude = std::sin(longitudeDifference / 2);
    const double h = sinHalfLatitude * sinHalfLatitude +
                     std::cos(latitude1) * std::cos(latitude2) * sinHalfLongitude * sinHalfLongitude;
    return 2 * meanRadius * std::asin(std::sqrt(std::min(1.0, h)));
}

}  // namespace

double geodesicDistance(double latitude1Degrees, double longitude1Degrees, double latitude2Degrees,
                        double longitude2Degrees) {
    const double latitude1 = radians(latitude1Degrees);
    const double latitude2 = radians(latitude2Degrees);
    // -179° and 179° lie 2° apart, not 358°.
    const double longitudeDifference =
        std::remainder(radians(longitude2Degrees - longitude1Degrees), 2 * std::numbers::pi);

    // Latitudes on the auxiliary sphere.
    const double u1 = std::atan((1 - flattening) * std::tan(latitude1));
    const double u2 = std::atan((1 - flattening) * std::tan(latitude2));
    const double sinU1 = std::sin(u1), cosU1 = std::cos(u1);
    const double sinU2 = std::sin(u2), cosU2 = std::cos(u2);

    double lambda = longitudeDifference;
    double sinSigma = 0, cosSigma = 0, sigma = 0, cosSquaredAlpha = 0, cos2SigmaM = 0;
    bool settled = false;
    for (int iteration = 0; iteration < iterationLimit; ++iteration) {
        const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
        const double a = cosU2 * sinLambda;
        const double b = cosU1 * sinU2 - sinU1 * cosU2 * cosLambda;
        sinSigma = std::sqrt(a * a + b * b);
        if (sinSigma == 0) return 0;  // the same point
        cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
        sigma = std::atan2(sinSigma, cosSigma);
        const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
        cosSquaredAlpha = 1 - sinAlpha * sinAlpha;
        // On the equator the path never leaves it.
        cos2SigmaM = cosSquaredAlpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cosSquaredAlpha : 0;
        const double c = flattening / 16 * cosSquaredAlpha * (4 + flattening * (4 - 3 * cosSquaredAlpha));
        const double previous = lambda;
        lambda = longitudeDifference +
                 (1 - c) * flattening * sinAlpha *
                     (sigma + c * sinSigma * (cos2SigmaM + c * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
        if (std::abs(lambda) > std::numbers::pi) break;  // nearly antipodal: it will not settle
        if (std::abs(lambda - previous) < 1e-12) {
            settled = true;
            break;
        }
    }
    if (!settled) return greatCircleDistance(latitude1, latitude2, longitudeDifference);

    const double uSquared = cosSquaredAlpha * (semiMajorAxis * semiMajorAxis - semiMinorAxis * semiMinorAxis) /
                            (semiMinorAxis * semiMinorAxis);
    const double bigA = 1 + uSquared / 16384 * (4096 + uSquared * (-768 + uSquared * (320 - 175 * uSquared)));
    const double bigB = uSquared / 1024 * (256 + uSquared * (-128 + uSquared * (74 - 47 * uSquared)));
    const double deltaSigma = bigB * sinSigma *
                              (cos2SigmaM + bigB / 4 *
                                                (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                                                 bigB / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                                                     (-3 + 4 * cos2SigmaM * cos2SigmaM)));
    return semiMinorAxis * bigA * (sigma - deltaSigma);
}

}  // namespace tavlin::platform
