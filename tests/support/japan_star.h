// A star occultation whose central line crosses Japan: at t = 0 the shadow
// axis stands over 135° E, 35° N (d = 35°, mu chosen for that longitude with
// ΔT of the year 2000) and moves east at 0.55 Earth radii an hour.
#pragma once

#include "bessel/elements.h"

namespace vernier::testing {

// The ΔT (s) the record's hour angle was set for.
inline constexpr double kJapanDeltaT = 63.8272;

inline BesselianElements JapanStar() {
  BesselianElements e;
  e.year = 2000, e.month = 1, e.day = 1, e.type = 2, e.mag = 3.5, e.jd = 2451545, e.ma = 12.5;
  e.xz = 1234, e.t0 = 12, e.zc = 1234, e.sao = 98765, e.hip = 54321;
  e.x1 = 0.55;
  e.d0 = 35;
  e.mu0 = -135 + 0.00417807 * 63.8272;  // H = 0 at 135° E
  e.mu1 = 15.004;
  e.l10 = e.l20 = 0.2725076;
  return e;
}

}  // namespace vernier::testing
