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

namespace vernier {

FoundPoint RiseSetLimitPoint(PathContext& ctx, double t, double deltaT, int side);
FoundPoint RiseSetMaximumPoint(PathContext& ctx, double t, double deltaT, int side);

}  // namespace vernier
