// First and last contact of the outer (penumbral) and inner (umbral) shadow
// with the Earth: three fixed correction steps from a start instant (the
// instant of greatest occultation), then the contact point on the Earth's limb
// is converted (the map marks it with a ring).
#pragma once

#include "bessel/path_context.h"
#include "base/status.h"
#include "bessel/side.h"

namespace vernier {

struct ContactResult {
  Status status = Status::Failed;  // Failed: no contact (the shadow misses the Earth, or no motion)
  double t = 0;     // hours from t0
  double lon = 0, lat = 0, alt = 0;  // alt: the body's altitude there
};

// kFirstContact or kLastContact. L = l1.
ContactResult PenumbralContact(PathContext& ctx, double t, double deltaT, Side side);
// The same with L = |l2|.
ContactResult UmbralContact(PathContext& ctx, double t, double deltaT, Side side);

}  // namespace vernier
