// The central line: the point where the shadow axis meets the Earth at one
// instant, and the circumstances there (magnitude, duration, path width and
// the signed distance of the axis from the Earth's centre).
#pragma once

#include "bessel/path_context.h"
#include "base/status.h"

namespace vernier {

// Evaluates at t, finds the central point with the daylight test and keeps
// L2' = l2 - zeta tan f2 there for CentralUmbraRadius. Status -1 and the
// line " no central point" when the axis misses the Earth.
FoundPoint CentralPoint(PathContext& ctx, double t, double deltaT);

// L2' of the last central point found (CentralPoint or CentralPointDetails).
double CentralUmbraRadius(const PathContext& ctx);

struct CentralDetails {
  Status status = Status::Failed;  // Failed: no central point
  double lon = 0, lat = 0, alt = 0;
  double magnitude = 0;
  double duration = 0;  // hours, 2 L2' / n (negative for a total shadow)
  double width = 0;     // km
  double gamma = 0;     // Earth radii, negative when the axis passes south (y < 0)
};

// The central point without the daylight test (a marker) and its
// circumstances. A point whose circumstances are not finite (no shadow motion)
// counts as no point.
CentralDetails CentralPointDetails(PathContext& ctx, double t, double deltaT);

}  // namespace vernier
