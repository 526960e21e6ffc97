// The sunrise/sunset curves: where the event begins or ends with the body on
// the horizon (RiseSetLimitPoint) and where it is greatest with the body on the
// horizon (RiseSetMaximumPoint). Both work on a sphere at zeta = 0, guard their
// divisors with small thresholds, and test the daylight at their points.
//
// A missing point writes one numbered diagnostic line per failing test:
// " no sunriseset point", "... point2", "... point3" and " no max sunriseset
// point1" ... "point5". A point that comes out non-finite past the guards
// counts as missing with the finder's first line.
#pragma once

#include "bessel/path_context.h"
#include "bessel/side.h"

namespace vernier {

// Each curve has two branches: on the limit the angle theta + k (Side::Plus)
// or theta - k (Side::Minus), cos k = f; on the greatest one the direction
// atan2(b, c1) or its opposite, taken half round when y < 0.
FoundPoint RiseSetLimitPoint(PathContext& ctx, double t, double deltaT, Side side);
FoundPoint RiseSetMaximumPoint(PathContext& ctx, double t, double deltaT, Side side);

}  // namespace vernier
