// The instant of greatest occultation (the shadow axis closest to the Earth's
// centre) and the circumstances there.
#pragma once

#include "bessel/path_context.h"
#include "base/status.h"

namespace vernier {

struct GreatestOccultationResult {
  Status status = Status::Failed;       // Failed: the iteration did not settle
  Status pointStatus = Status::Failed;  // Ok when its point (lon, lat) was found too
  double t = 0;          // hours from t0
  double lon = 0, lat = 0, alt = 0;  // alt: the body's altitude there
  double magnitude = 0;
  double duration = 0;  // hours (0 for the non-central types)
  double width = 0;     // km (0 for the non-central types)
  double gamma = 0;     // signed for the central types, unsigned otherwise
};

// Newton steps from `t` until a step is at most 0.000001 hours. The central
// types (2, 3, 4) take the central point and its circumstances; the others
// the limb point toward the axis (pointStatus Ok when it is found). A shadow
// that does not move, or no settling within 50 steps, gives status Failed.
GreatestOccultationResult GreatestOccultation(PathContext& ctx, double t, double deltaT, int type);

}  // namespace vernier
