#include "bessel/evaluation.h"

#include <cmath>

#include "astro/constants.h"

namespace vernier {

void EvaluateElements(const BesselianElements& e, double t, BesselianState& s) {
  const double t2 = t * t, t3 = t2 * t;
  s.x = e.x0 + e.x1 * t + e.x2 * t2 + e.x3 * t3;
  s.y = e.y0 + e.y1 * t + e.y2 * t2 + e.y3 * t3;
  s.d = (e.d0 + e.d1 * t + e.d2 * t2) * kDegToRad;
  s.mu = e.mu0 + e.mu1 * t;
  s.l1 = e.l10 + e.l11 * t + e.l12 * t2;
  s.l2 = e.l20 + e.l21 * t + e.l22 * t2;

  s.xd = e.x1 + 2 * e.x2 * t + 3 * e.x3 * t2;
  s.yd = e.y1 + 2 * e.y2 * t + 3 * e.y3 * t2;
  s.dd = (e.d1 + 2 * e.d2 * t) * kDegToRad;
  s.mud = e.mu1 * kDegToRad;
  s.l1d = e.l11 + 2 * e.l12 * t;
  s.l2d = e.l21 + 2 * e.l22 * t;

  s.sind = std::sin(s.d);
  s.cosd = std::cos(s.d);
  s.rho1 = std::sqrt(1 - kEarthE2 * s.cosd * s.cosd);
  s.rho2 = std::sqrt(1 - kEarthE2 * s.sind * s.sind);
  const double sqrtOneMinusE2 = std::sqrt(kEarthOneMinusE2);
  s.sind1 = s.sind / s.rho1;
  s.cosd1 = sqrtOneMinusE2 * s.cosd / s.rho1;
  s.sind1d2 = kEarthE2 * s.sind * s.cosd / (s.rho1 * s.rho2);
  s.cosd1d2 = sqrtOneMinusE2 / (s.rho1 * s.rho2);

  s.a1 = -s.l1d - s.mud * s.x * e.tanf1 * s.cosd;
  s.a2 = -s.l2d - s.mud * s.x * e.tanf2 * s.cosd;
  s.b = -s.yd + s.mud * s.x * s.sind;
  s.c1 = s.xd + s.mud * s.y * s.sind + s.mud * s.l1 * e.tanf1 * s.cosd;
  s.c2 = s.xd + s.mud * s.y * s.sind + s.mud * s.l2 * e.tanf2 * s.cosd;
}

}  // namespace vernier
