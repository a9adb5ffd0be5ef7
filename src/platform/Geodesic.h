#pragma once

namespace tavlin::platform {

// The length in metres of the shortest path over the WGS-84 ellipsoid
// between two points given in degrees (Vincenty's inverse solution, good
// to well under a millimetre). For nearly antipodal points, where that
// solution does not settle, the great circle of the mean earth radius
// stands in; it is off there by less than a tenth of a percent.
double geodesicDistance(double latitude1, double longitude1, double latitude2, double longitude2);

}  // namespace tavlin::platform
