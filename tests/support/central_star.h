// A star whose shadow crosses the Earth's centre at t = 0 (x = 0.55 t, y = 0,
// d = 0, mu = 15 t): the observer at 0° 0° sees it centrally, magnitude 0.5.
#pragma once

#include "support/temp_data_dir.h"

namespace vernier::testing {

inline BesselianElements CentralStar(double year, double month, double day, double xz,
                                     double type) {
  BesselianElements e = DatedRecord(year, month, day, xz);
  e.type = type;
  e.jd = 2451545;
  e.t0 = 0;
  e.x0 = 0, e.x1 = 0.55, e.y0 = 0, e.y1 = 0;
  e.d0 = 0, e.mu0 = 0, e.mu1 = 15;
  e.l10 = e.l20 = 0.2725;
  return e;
}

}  // namespace vernier::testing
